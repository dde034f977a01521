#include "text/extract_between.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct BetweenCase {
  const char* name;
  std::string text;
  std::string startMarker;
  std::string endMarker;
  int startPosition;
  bool caseSensitive;
  std::string expected;
};

// Failures name the case instead of dumping its bytes.
void PrintTo(const BetweenCase& c, std::ostream* os) { *os << c.name; }

class ExtractBetweenTable : public testing::TestWithParam<BetweenCase> {};

TEST_P(ExtractBetweenTable, CutsBetweenFirstStartAndNextEnd) {
  const BetweenCase& c = GetParam();
  EXPECT_EQ(ExtractBetween(c.text, c.startMarker, c.endMarker, c.startPosition, c.caseSensitive),
            c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtractBetweenTable,
    testing::Values(
        BetweenCase{"Host", "http://www.example.com/a/b", "http://", "/", 0, false,
                    "www.example.com"},
        BetweenCase{"Cookie", "Set-Cookie: id=42; path=/", "Set-Cookie:", ";", 0, false, " id=42"},
        BetweenCase{"StartMissing", "abc", "x", "c", 0, false, ""},
        BetweenCase{"EndMissing", "Set-Cookie: id=42", "Set-Cookie:", ";", 0, false, ""},
        BetweenCase{"EndOnlyBeforeStart", "b]a[", "[", "]", 0, false, ""},
        BetweenCase{"EndRightAfterStart", "a[]b", "[", "]", 0, false, ""},
        BetweenCase{"FirstMatchesOnly", "[1][2]", "[", "]", 0, false, "1"},
        BetweenCase{"FromStartPosition", "[1][2]", "[", "]", 2, false, "2"},
        BetweenCase{"IgnoresCaseByDefault", "USER-AGENT: x\r\n", "user-agent:", "\r\n", 0, false,
                    " x"},
        BetweenCase{"IgnoresCaseInEndMarker", "<B>x</B>", "<b>", "</b>", 0, false, "x"},
        BetweenCase{"CaseSensitive", "USER-AGENT: x\r\n", "user-agent:", "\r\n", 0, true, ""},
        BetweenCase{"QuoteTokenInStart", "<a href=\"x.html\">", "href=#引号", "#引号", 0, false,
                    "x.html"},
        BetweenCase{"QuoteTokenWrittenOutNotMatched", "href=#引号x#引号", "href=#引号", "#引号", 0,
                    false, ""},
        BetweenCase{"EmptyStartBeginsAtFirstByte", "abc;def", "", ";", 3, false, "abc"},
        BetweenCase{"EmptyStartNothingLeft", "abc;", "", ";", 5, false, ""},
        BetweenCase{"EmptyEnd", "abc", "a", "", 0, false, ""},
        BetweenCase{"ChineseMarkers", "作者：某人</div>", "作者：", "</div>", 0, false, "某人"},
        // "圓" is 88 41: its second byte is no "A" marker, in either search.
        BetweenCase{"StartNotOnSecondByte", "圓xA1B", "A", "B", 0, false, "1"},
        BetweenCase{"EndNotOnSecondByte", "[圓A]", "[", "A", 0, false, "圓"},
        BetweenCase{"CaseFoldLeavesSecondBytes", "[圓]a]", "[", "A", 0, false, "圓]"}),
    [](const testing::TestParamInfo<BetweenCase>& info) { return std::string(info.param.name); });

TEST(ExtractBetween, DefaultsIgnoreCaseFromFirstByte) {
  EXPECT_EQ(ExtractBetween("Host: A\r\nhost: B\r\n", "HOST:", "\r\n"), " A");
}

struct ColonCase {
  std::string line;
  std::string value;
};

TEST(TextAfterColon, TrimmedRestAfterFirstColon) {
  const ColonCase cases[] = {
      {"Content-Type:    text/html   ", "text/html"},
      {"Location: http://example.com/x", "http://example.com/x"},
      {"no colon here", ""},
      {"Key:\tvalue", "\tvalue"},
      {"Key:　值　", "值"},
      {"Key:", ""},
      {":", ""},
      {"", ""},
  };
  for (const ColonCase& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(TextAfterColon(c.line), c.value);
  }
}

}  // namespace
