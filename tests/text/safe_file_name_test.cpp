#include "text/safe_file_name.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "text/code_page.h"

namespace {

struct NameCase {
  const char* name;
  std::string input;
  std::string safe;
};

// Failures name the case instead of dumping its bytes.
void PrintTo(const NameCase& c, std::ostream* os) { *os << c.name; }

class SafeFileNameTable : public testing::TestWithParam<NameCase> {};

TEST_P(SafeFileNameTable, GivesANameThatStaysInTheFolder) {
  const NameCase& c = GetParam();
  const std::string safe = SafeFileName(c.input);
  EXPECT_EQ(safe, c.safe);

  // What the file system sees is the UTF-8 form: no separator, no "." or "..", no dot or
  // space at either end, and room left for ".txt".
  const std::string native = GbkToUtf8(safe);
  EXPECT_EQ(native.find_first_of("/\\"), std::string::npos);
  EXPECT_NE(native, ".");
  EXPECT_NE(native, "..");
  if (!native.empty()) {
    EXPECT_NE(native.front(), '.');
    EXPECT_NE(native.back(), '.');
    EXPECT_NE(native.front(), ' ');
    EXPECT_NE(native.back(), ' ');
  }
  EXPECT_LE(native.size() + 4, 255u);
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, SafeFileNameTable,
    testing::Values(NameCase{"Plain", "星辰之歌", "星辰之歌"},
                    NameCase{"InnerDotsAndSpacesStay", "第1卷 上.下", "第1卷 上.下"},
                    NameCase{"ParentSlashes", "../../evil", "_.._evil"},
                    NameCase{"ParentBackslashes", "..\\..\\evil", "_.._evil"},
                    NameCase{"AbsolutePath", "/etc/passwd", "_etc_passwd"},
                    NameCase{"WindowsForbidden", "a:b*c?", "a_b_c_"},
                    NameCase{"MoreForbidden", "<a|\"b\">", "_a__b__"},
                    NameCase{"LineBreak", "one\r\ntwo", "one__two"},
                    NameCase{"ControlBytes", std::string("a\0b\x1F\x7F", 5), "a_b__"},
                    NameCase{"DotDot", "..", ""}, NameCase{"Dot", ".", ""},
                    NameCase{"SpacedDot", " . ", ""}, NameCase{"Empty", "", ""},
                    NameCase{"TrailingDots", "书名.txt..", "书名.txt"},
                    NameCase{"FullWidthSpaces", "　书名　", "书名"},
                    // "礬" is B5 5C and "祙" is B5 7C: their second bytes are no "\" or "|".
                    NameCase{"SecondByteBackslash", "礬", "礬"},
                    NameCase{"SecondBytePipe", "a祙b", "a祙b"},
                    // A lead byte followed by a byte that cannot end a double-byte character: both
                    // are separate bytes, and the slash is still a slash.
                    NameCase{"LeadByteBeforeSlash", "\x81/evil", "__evil"},
                    NameCase{"LeadByteBeforeDots", "x\xB0../y", "x_.._y"},
                    NameCase{"LeadByteAtEnd", "ab\xB0", "ab_"},
                    NameCase{"EuroSign",
                             "\x80"
                             "1",
                             "\x80"
                             "1"},
                    NameCase{"LongAscii", std::string(300, 'x'), std::string(240, 'x')},
                    NameCase{"OnlySpaces", std::string(150, ' '), ""}),
    [](const testing::TestParamInfo<NameCase>& info) { return std::string(info.param.name); });

TEST(SafeFileName, LongChineseNameKeepsWholeCharacters) {
  std::string name;
  for (int i = 0; i < 150; ++i) name += "搜";  // 300 bytes
  const std::string safe = SafeFileName(name);
  EXPECT_EQ(safe.size(), 160u);  // 80 characters, 240 bytes once written as UTF-8
  EXPECT_EQ(GbkToUtf8(safe).size(), 240u);
  EXPECT_EQ(safe.substr(158), "搜");
}

TEST(SafeFileName, CutNeverLeavesTrailingDotOrSpace) {
  const std::string name = std::string(239, 'x') + " .tail";
  EXPECT_EQ(SafeFileName(name), std::string(239, 'x'));
}

}  // namespace
