#include "text/text_find.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

// Double-byte characters whose second byte looks like ASCII: "圓" is 88 41 ("A" as second
// byte), "乤" is 81 61 ("a"), "園" is 88 40 ("@").

struct FindCase {
  const char* name;
  std::string text;
  std::string needle;
  int startPosition;
  bool ignoreCase;
  int expected;
};

// Failures name the case instead of dumping its bytes.
void PrintTo(const FindCase& c, std::ostream* os) { *os << c.name; }

class TextFindTable : public testing::TestWithParam<FindCase> {};

TEST_P(TextFindTable, FindsFirstMatchAsOneBasedBytePosition) {
  const FindCase& c = GetParam();
  EXPECT_EQ(TextFind(c.text, c.needle, c.startPosition, c.ignoreCase), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextFindTable,
    testing::Values(
        FindCase{"AtStart", "abcabc", "abc", 1, false, 1},
        FindCase{"FromStartPosition", "abcabc", "abc", 2, false, 4},
        FindCase{"StartBelowOneIsFirstByte", "abc", "a", -7, false, 1},
        FindCase{"StartBeyondEnd", "abc", "c", 4, false, -1},
        FindCase{"Missing", "abc", "d", 1, false, -1},
        FindCase{"NeedleLongerThanText", "ab", "abc", 1, false, -1},
        FindCase{"ExactCaseByDefault", "ABC", "abc", 1, false, -1},
        FindCase{"IgnoreCaseFoldsAscii", "xxABC", "abc", 1, true, 3},
        FindCase{"IgnoreCaseUpperNeedle", "xxabc", "ABC", 1, true, 3},
        FindCase{"EmptyNeedleAtStartPosition", "abc", "", 2, false, 2},
        FindCase{"EmptyNeedleAtLastByte", "abc", "", 3, false, 3},
        FindCase{"EmptyNeedleNoByteLeft", "abc", "", 4, false, -1},
        FindCase{"EmptyNeedleEmptyText", "", "", 1, false, -1},
        FindCase{"ChineseCountsTwoBytes", "搜索abc", "abc", 1, false, 5},
        FindCase{"ChineseNeedle", "ab搜索", "索", 1, false, 5},
        // A single-byte needle is never found on the second byte of a double-byte character.
        FindCase{"NotOnSecondByte", "圓", "A", 1, false, -1},
        FindCase{"NotOnSecondByteIgnoringCase", "乤", "A", 1, true, -1},
        FindCase{"AfterDoubleByteOnly", "圓A", "A", 1, false, 3},
        FindCase{"NotOnSecondByteAt", "園", "@", 1, false, -1},
        // Nor straddling two characters: "说" + "小" is D8 B5 D0 A1; "B5D0" is inside.
        FindCase{"NotStraddling", "说小", "\xB5\xD0", 1, false, -1},
        // Ignoring case folds only ASCII letters: "圓" (88 41) and "坅" (88 61) differ only
        // in the case their second bytes would have as letters, and stay different.
        FindCase{"TrailByteNotFolded", "坅", "圓", 1, true, -1},
        FindCase{"TrailByteExact", "x圓", "圓", 1, true, 2},
        FindCase{"LoneLeadByteAtEnd", "ab\xB0", "b", 1, false, 2}),
    [](const testing::TestParamInfo<FindCase>& info) { return std::string(info.param.name); });

struct ReplaceCase {
  const char* name;
  std::string text;
  std::string from;
  std::string to;
  bool ignoreCase;
  std::string expected;
};

// Failures name the case instead of dumping its bytes.
void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }

class TextReplaceAllTable : public testing::TestWithParam<ReplaceCase> {};

TEST_P(TextReplaceAllTable, ReplacesEveryMatchLeftToRight) {
  const ReplaceCase& c = GetParam();
  EXPECT_EQ(TextReplaceAll(c.text, c.from, c.to, c.ignoreCase), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextReplaceAllTable,
    testing::Values(ReplaceCase{"EmTags", "<em>小说</em>名<em>x</em>", "<em>", "", false,
                                "小说</em>名x</em>"},
                    ReplaceCase{"ExactCaseByDefault", "<EM>a<em>", "<em>", "", false, "<EM>a"},
                    ReplaceCase{"IgnoringCase", "<EM>a<em>", "<em>", "", true, "a"},
                    ReplaceCase{"NonOverlapping", "aaaaa", "aa", "b", false, "bba"},
                    ReplaceCase{"ReplacementHoldsPattern", "aa", "a", "aa", false, "aaaa"},
                    ReplaceCase{"EmptyFromUnchanged", "abc", "", "x", false, "abc"},
                    ReplaceCase{"EmptyText", "", "a", "b", false, ""},
                    ReplaceCase{"SecondByteUntouched", "圓A圓", "A", "B", false, "圓B圓"},
                    ReplaceCase{"QuoteToken", "a#引号b#引号", "#引号", "\"", false, "a\"b\""}),
    [](const testing::TestParamInfo<ReplaceCase>& info) { return std::string(info.param.name); });

}  // namespace
