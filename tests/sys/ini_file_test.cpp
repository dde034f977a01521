#include "sys/ini_file.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "tests/sys/test_folder.h"

namespace {

struct ReadCase {
  const char* name;
  std::string content;
  std::string section;
  std::string key;
  std::string expected;
};

void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.name; }

class IniRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, FindsValueLikeTheProfileFunctions) {
  const ReadCase& c = GetParam();
  TestFolder folder;
  folder.Write("a.ini", c.content);
  EXPECT_EQ(ReadIniValue(folder.Text() + "a.ini", c.section, c.key, "DEF"), c.expected);
}

const std::string kLong(kIniValueLimit + 20, 'x');
const std::string kCut = std::string(kIniValueLimit - 1, 'x') + "目录";  // 目 straddles the limit

INSTANTIATE_TEST_SUITE_P(
    Cases, IniRead,
    ::testing::Values(ReadCase{"plain", "[Catalog]\nCatalog=D:\\books\\\n", "Catalog", "Catalog",
                               "D:\\books\\"},
                      ReadCase{"crlf", "[Catalog]\r\nCatalog=x\r\n", "Catalog", "Catalog", "x"},
                      ReadCase{"section_case", "[catalog]\nCatalog=x\n", "CATALOG", "Catalog", "x"},
                      ReadCase{"key_case", "[Catalog]\ncatalog=x\n", "Catalog", "CATALOG", "x"},
                      ReadCase{"value_trimmed", "[S]\n  K  =  a b  \t\n", "S", "K", "a b"},
                      ReadCase{"section_spaces", "  [ S ]  \nK=v\n", "S", "K", "v"},
                      ReadCase{"empty_value", "[S]\nK=\n", "S", "K", ""},
                      ReadCase{"blank_value", "[S]\nK=   \n", "S", "K", ""},
                      ReadCase{"missing_key", "[S]\nOther=1\n", "S", "K", "DEF"},
                      ReadCase{"missing_section", "[T]\nK=1\n", "S", "K", "DEF"},
                      ReadCase{"key_in_other_section", "[S]\nA=1\n[T]\nK=2\n", "S", "K", "DEF"},
                      ReadCase{"key_before_any_section", "K=0\n[S]\nK=1\n", "S", "K", "1"},
                      ReadCase{"first_section_wins", "[S]\nK=1\n[S]\nK=2\n", "S", "K", "1"},
                      ReadCase{"first_key_wins", "[S]\nK=1\nK=2\n", "S", "K", "1"},
                      ReadCase{"equals_in_value", "[S]\nK=a=b\n", "S", "K", "a=b"},
                      ReadCase{"dot_names", "[.]\n.=1\n", ".", ".", "1"},
                      ReadCase{"no_final_newline", "[S]\nK=v", "S", "K", "v"},
                      ReadCase{"cp936_bytes", "[S]\nK=D:\\小说\\\n", "S", "K", "D:\\小说\\"},
                      ReadCase{"long_value_cut", "[S]\nK=" + kLong + "\n", "S", "K",
                               std::string(kIniValueLimit, 'x')},
                      ReadCase{"cut_never_splits_a_character", "[S]\nK=" + kCut + "\n", "S", "K",
                               std::string(kIniValueLimit - 1, 'x')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniReadFile, MissingFileGivesDefault) {
  TestFolder folder;
  EXPECT_EQ(ReadIniValue(folder.Text() + "none.ini", "S", "K", "默认"), "默认");
}

struct WriteCase {
  const char* name;
  std::string before;
  std::string section;
  std::string key;
  std::string value;
  std::string after;
};

void PrintTo(const WriteCase& c, std::ostream* out) { *out << c.name; }

class IniWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, ChangesOnlyWhatItMust) {
  const WriteCase& c = GetParam();
  TestFolder folder;
  const auto file = folder.Write("a.ini", c.before);
  ASSERT_TRUE(WriteIniValue(folder.Text() + "a.ini", c.section, c.key, c.value));
  EXPECT_EQ(TestFolder::Read(file), c.after);
  EXPECT_EQ(ReadIniValue(folder.Text() + "a.ini", c.section, c.key, "DEF"), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWrite,
    ::testing::Values(
        WriteCase{"replace_value", "; note\n[S]\nK=old\nL=keep\n", "S", "K", "new",
                  "; note\n[S]\nK=new\nL=keep\n"},
        WriteCase{"replace_keeps_crlf", "[S]\r\nK=old\r\n", "S", "K", "new", "[S]\r\nK=new\r\n"},
        WriteCase{"replace_case_insensitively", "[s]\n k =old\n", "S", "K", "n", "[s]\nk=n\n"},
        WriteCase{"add_key_before_blank_lines", "[S]\nA=1\n\n[T]\nB=2\n", "S", "K", "v",
                  "[S]\nA=1\nK=v\n\n[T]\nB=2\n"},
        WriteCase{"add_section", "[T]\nB=2\n", "S", "K", "v", "[T]\nB=2\n[S]\nK=v\n"},
        WriteCase{"add_after_unterminated_line", "[T]\nB=2", "S", "K", "v", "[T]\nB=2\n[S]\nK=v\n"},
        WriteCase{"add_section_crlf", "[T]\r\nB=2\r\n", "S", "K", "v",
                  "[T]\r\nB=2\r\n[S]\r\nK=v\r\n"},
        WriteCase{"empty_value", "[S]\nK=x\n", "S", "K", "", "[S]\nK=\n"},
        WriteCase{"cp936_bytes", "", "Catalog", "Catalog", "D:\\小说\\",
                  "[Catalog]\nCatalog=D:\\小说\\\n"},
        WriteCase{"keeps_odd_lines", "\xff\xfe junk\n[S]\n#x\nK=1\n", "S", "K", "2",
                  "\xff\xfe junk\n[S]\n#x\nK=2\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniWriteFile, CreatesTheFile) {
  TestFolder folder;
  ASSERT_TRUE(WriteIniValue(folder.Text() + "z.ini", ".", ".", "1"));
  EXPECT_EQ(TestFolder::Read(folder.Native() / "z.ini"), "[.]\n.=1\n");
}

TEST(IniWriteFile, FailsWithoutItsFolderAndSaysWhy) {
  TestFolder folder;
  std::string failure;
  EXPECT_FALSE(WriteIniValue(folder.Text() + "no/such/z.ini", ".", ".", "1", &failure));
  EXPECT_FALSE(failure.empty());
  EXPECT_TRUE(folder.Entries().empty());
}

TEST(IniWriteFile, RefusesLineBreaksThatWouldSplitTheFile) {
  TestFolder folder;
  const auto file = folder.Write("a.ini", "[S]\nK=1\n");
  EXPECT_FALSE(WriteIniValue(folder.Text() + "a.ini", "S", "K", "x\n[T]"));
  EXPECT_FALSE(WriteIniValue(folder.Text() + "a.ini", "S\r", "K", "x"));
  EXPECT_EQ(TestFolder::Read(file), "[S]\nK=1\n");
}

}  // namespace
