#include "text/url_encode.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct EncodeCase {
  const char* name;
  std::string text;
  bool keepPlain;
  bool toUtf8;
  std::string encoded;
};

// Failures name the case instead of dumping its bytes.
void PrintTo(const EncodeCase& c, std::ostream* os) { *os << c.name; }

class UrlEncodeTable : public testing::TestWithParam<EncodeCase> {};

TEST_P(UrlEncodeTable, WritesEachByteAsPercentAndTwoCapitalDigits) {
  const EncodeCase& c = GetParam();
  EXPECT_EQ(UrlEncode(c.text, c.keepPlain, c.toUtf8), c.encoded);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UrlEncodeTable,
    testing::Values(EncodeCase{"SearchUtf8", "搜索", false, true, "%E6%90%9C%E7%B4%A2"},
                    EncodeCase{"SearchUtf8KeepPlain", "搜索", true, true, "%E6%90%9C%E7%B4%A2"},
                    EncodeCase{"NovelUtf8", "小说", false, true, "%E5%B0%8F%E8%AF%B4"},
                    EncodeCase{"SearchCodePage936", "搜索", false, false, "%CB%D1%CB%F7"},
                    EncodeCase{"LettersToo", "ab", false, true, "%61%62"},
                    EncodeCase{"LettersWithoutUtf8", "ab", false, false, "%61%62"},
                    EncodeCase{"LineFeedLeadingZero", "\n", false, false, "%0A"},
                    EncodeCase{"SpaceNeverPlus", "a b", true, false, "a%20b"},
                    EncodeCase{"KeepPlainKeepsUnreserved", "Az-09.txt", true, false, "Az-09.txt"},
                    EncodeCase{"KeepPlainEncodesOthers", "a/b_c~d", true, false, "a%2Fb%5Fc%7Ed"},
                    EncodeCase{"KeepPlainMixed", "第1卷.txt", true, true,
                               "%E7%AC%AC1%E5%8D%B7.txt"},
                    EncodeCase{"HighAndLowBytes", "\x01\x7F\xFF", false, false, "%01%7F%FF"},
                    EncodeCase{"Empty", "", false, true, ""},
                    EncodeCase{"EmptyKeepPlain", "", true, false, ""}),
    [](const testing::TestParamInfo<EncodeCase>& info) { return std::string(info.param.name); });

TEST(UrlEncode, DefaultsEncodeEveryCodePage936Byte) {
  EXPECT_EQ(UrlEncode("ab"), "%61%62");
  EXPECT_EQ(UrlEncode("搜"), "%CB%D1");
}

TEST(UrlEncode, TextEndsAtItsZeroByte) {
  EXPECT_EQ(UrlEncode(std::string("a\0b", 3)), "%61");
  EXPECT_EQ(UrlEncode(std::string("a\0b", 3), false, true), "%61");
}

}  // namespace
