#include "text/text_helpers.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

TEST(TextLower, ChangesOnlyAsciiCapitals) {
  EXPECT_EQ(TextLower("ABC xyz 09"), "abc xyz 09");
  EXPECT_EQ(TextLower(""), "");
  // "圓" is 88 41: its second byte is an "A" that must stay.
  EXPECT_EQ(TextLower("圓AB"), "圓ab");
  EXPECT_EQ(TextLower("搜索Ｂ"), "搜索Ｂ");  // full-width letters are not ASCII
}

struct TrimCase {
  std::string text;
  std::string trimmed;
  std::string withoutSpaces;
};

TEST(TextTrim, RemovesAsciiAndFullWidthSpacesAtBothEndsOnly) {
  const TrimCase cases[] = {
      {"  ab  ", "ab", "ab"},
      {"　ab　", "ab", "ab"},
      {" 　 a b　c 　", "a b　c", "abc"},
      {"\tab\r\n", "\tab\r\n", "\tab\r\n"},
      {" \t ", "\t", "\t"},
      {"   ", "", ""},
      {"", "", ""},
      // "啊" is B0 A1: followed by a full-width space the bytes read B0 A1 A1 A1; only the
      // last two are a space.
      {"啊　", "啊", "啊"},
      // A1 A1 then a lone A1: the lone byte is no space, so nothing is trimmed.
      {"X\xA1\xA1\xA1", "X\xA1\xA1\xA1", "X\xA1"},
  };
  for (const TrimCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TextTrim(c.text), c.trimmed);
    EXPECT_EQ(TextRemoveSpaces(c.text), c.withoutSpaces);
  }
}

TEST(TextSplit, KeepsEmptyPiecesButNoneAfterFinalSeparator) {
  using Pieces = std::vector<std::string>;
  EXPECT_EQ(TextSplit("a,b,c", ","), (Pieces{"a", "b", "c"}));
  EXPECT_EQ(TextSplit("a,,b", ","), (Pieces{"a", "", "b"}));
  EXPECT_EQ(TextSplit(",a", ","), (Pieces{"", "a"}));
  EXPECT_EQ(TextSplit("a,b,", ","), (Pieces{"a", "b"}));
  EXPECT_EQ(TextSplit(",", ","), (Pieces{""}));
  EXPECT_EQ(TextSplit(",,", ","), (Pieces{"", ""}));
  EXPECT_EQ(TextSplit("abc", ","), (Pieces{"abc"}));
  EXPECT_EQ(TextSplit("", ","), Pieces{});
  EXPECT_EQ(TextSplit("abc", ""), (Pieces{"abc"}));
  EXPECT_EQ(TextSplit("a\r\nb\r\n", "\r\n"), (Pieces{"a", "b"}));
  EXPECT_EQ(TextSplit("小说，搜索", "，"), (Pieces{"小说", "搜索"}));
  // "圓" ends in 41 ("A"): it is no separator.
  EXPECT_EQ(TextSplit("圓A圓", "A"), (Pieces{"圓", "圓"}));
}

TEST(TextToInt, ReadsSignAndDigitsIncludingFullWidth) {
  struct Case {
    std::string text;
    long long value;
  };
  const Case cases[] = {
      {"123", 123},
      {"  -45x", -45},
      {"+7", 7},
      {"\t\r\n 9", 9},
      {"１２３", 123},
      {"-４２", -42},
      {"1２3", 123},
      {"12 34", 12},
      {"abc", 0},
      {"", 0},
      {"-", 0},
      {"- 5", 0},
      {"0x1A", 0},
      {"007", 7},
      {"99999999999999999999", std::numeric_limits<long long>::max()},
      {"-99999999999999999999", -std::numeric_limits<long long>::max()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TextToInt(c.text), c.value);
  }
}

TEST(IsLeadByte, HighBytesStartDoubleByteCharacters) {
  EXPECT_FALSE(IsLeadByte('A'));
  EXPECT_FALSE(IsLeadByte('\x7F'));
  EXPECT_TRUE(IsLeadByte('\x80'));
  EXPECT_TRUE(IsLeadByte("搜"[0]));
}

}  // namespace
