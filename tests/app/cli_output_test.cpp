// What the command line prints for result rows: code page 936 cells as UTF-8, one line per
// row, or JSON.
#include "app/cli_output.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/app/cli_run.h"

namespace {

struct JsonCase {
  const char* name;
  std::string utf8;
  std::string json;
};

void PrintTo(const JsonCase& c, std::ostream* out) { *out << c.name; }

class CliJsonString : public ::testing::TestWithParam<JsonCase> {};

TEST_P(CliJsonString, AsJsonRequires) { EXPECT_EQ(JsonString(GetParam().utf8), GetParam().json); }

INSTANTIATE_TEST_SUITE_P(
    Cases, CliJsonString,
    ::testing::Values(JsonCase{"empty", "", "\"\""}, JsonCase{"plain", "abc 123", "\"abc 123\""},
                      JsonCase{"quote_and_backslash", "a\"b\\c", "\"a\\\"b\\\\c\""},
                      JsonCase{"short_escapes", "\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
                      JsonCase{"other_controls", std::string("\x01\x1F\x00", 3),
                               "\"\\u0001\\u001f\\u0000\""},
                      JsonCase{"slash_and_delete_stay", "/\x7F", "\"/\x7F\""},
                      JsonCase{"utf8_stays", U8(u8"红楼梦"), "\"" + U8(u8"红楼梦") + "\""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliResultOutput, CellsBecomeUtf8) {
  // Narrow literals here are code page 936, as the cells are.
  const std::vector<ResultRow> rows = {
      {"红楼梦", "曹雪芹", "a\tb", "c\r\nd", "1 KB", "2016-05-25"}};
  EXPECT_EQ(ResultLines(rows), U8(u8"红楼梦\t曹雪芹\ta b\tc  d\t1 KB\t2016-05-25\n"));
  EXPECT_EQ(ResultJson(rows), U8(u8"[\n  [\"红楼梦\", \"曹雪芹\", \"a\\tb\", \"c\\r\\nd\", "
                                 u8"\"1 KB\", \"2016-05-25\"]\n]\n"));
}

TEST(CliResultOutput, NoRowsPrintNothingOrAnEmptyArray) {
  EXPECT_EQ(ResultLines({}), "");
  EXPECT_EQ(ResultJson({}), "[]\n");
}

TEST(CliResultOutput, OneLineWritesTabsAndLineBreaksAsSpaces) {
  EXPECT_EQ(OneLine("a\tb\rc\nd\r\n"), "a b c d  ");
}

}  // namespace
