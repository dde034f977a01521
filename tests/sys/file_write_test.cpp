#include "sys/file_write.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "tests/sys/test_folder.h"

namespace {

TEST(WriteWholeFile, CreatesAFileWithExactlyTheBytes) {
  TestFolder folder;
  const std::string bytes("a\0b\r\n\xff", 6);
  std::string failure = "stale";
  ASSERT_TRUE(WriteWholeFile(folder.Text() + "book.txt", bytes, &failure));
  EXPECT_EQ(TestFolder::Read(folder.Native() / "book.txt"), bytes);
  EXPECT_EQ(failure, "");
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"book.txt"});
}

TEST(WriteWholeFile, ReplacesAnExistingFile) {
  TestFolder folder;
  folder.Write("book.txt", "an older and longer text");
  ASSERT_TRUE(WriteWholeFile(folder.Text() + "book.txt", Bytes{'n', 'e', 'w'}));
  EXPECT_EQ(TestFolder::Read(folder.Native() / "book.txt"), "new");
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"book.txt"});
}

TEST(WriteWholeFile, WritesAnEmptyFile) {
  TestFolder folder;
  folder.Write("book.txt", "old");
  ASSERT_TRUE(WriteWholeFile(folder.Text() + "book.txt", Bytes{}));
  EXPECT_EQ(TestFolder::Read(folder.Native() / "book.txt"), "");
}

TEST(WriteWholeFile, NamesTheFileInUtf8OnDisk) {
  TestFolder folder;
  ASSERT_TRUE(WriteWholeFile(folder.Text() + "小说.txt", std::string("x")));
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"\xE5\xB0\x8F\xE8\xAF\xB4.txt"});
}

// Each case leaves a file that must survive the failed write untouched, and nothing else.
struct FailureCase {
  const char* name;
  std::string target;  // relative to the test folder
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

class WriteWholeFileFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(WriteWholeFileFailure, KeepsTheOldFileAndLeavesNoTemporaryFile) {
  TestFolder folder;
  folder.Write("plain", "old");
  std::filesystem::create_directory(folder.Native() / "folder");
  std::string failure;
  EXPECT_FALSE(WriteWholeFile(folder.Text() + GetParam().target, std::string("new"), &failure));
  EXPECT_FALSE(failure.empty());
  EXPECT_EQ(TestFolder::Read(folder.Native() / "plain"), "old");
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"folder", "plain"}));
  EXPECT_TRUE(std::filesystem::is_empty(folder.Native() / "folder"));
}

// Tests run as root, which ignores read-only permissions: a folder that cannot be written
// is made by putting a regular file where a folder of the path should be.
INSTANTIATE_TEST_SUITE_P(Cases, WriteWholeFileFailure,
                         ::testing::Values(FailureCase{"missing_folder", "none/book.txt"},
                                           FailureCase{"file_in_place_of_folder", "plain/book.txt"},
                                           FailureCase{"target_is_a_folder", "folder"},
                                           FailureCase{"empty_name", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WriteWholeFile, FailsOnAnEmptyPath) {
  std::string failure;
  EXPECT_FALSE(WriteWholeFile("", std::string("x"), &failure));
  EXPECT_FALSE(failure.empty());
}

}  // namespace
