#include "web/cookies.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct MergeRow {
  const char* cookiesBefore;
  const char* responseBefore;
  const char* cookiesAfter;
  const char* responseAfter;
};

void PrintTo(const MergeRow& row, std::ostream* out) {
  *out << '"' << row.cookiesBefore << "\" + \"" << row.responseBefore << '"';
}

const MergeRow kRows[] = {
    {"a=1; b=2", "b=3; c=4", "b=3; c=4; a=1", "b=3;c=4"},
    {"a=1; b=2", "a=deleted", "b=2", "a=deleted"},
    {"", "", "", ""},
    {"a=1;a=2", "", "a=1", ""},
    {"a=1; x=deleted", "", "a=1", ""},
    {"a=1;;b=2", "", "a=1; ; b=2", ""},
    {"s=x y", "", "s=xy", ""},
    // Only exactly "=deleted" drops a piece.
    {"a=DELETED", "", "a=DELETED", ""},
    // A piece without "=" is its own name: carried over, and replaced by the same text.
    {"flag; a=1", "", "flag; a=1", ""},
    {"flag; a=1", "flag", "flag; a=1", "flag"},
    // A second empty piece is not carried over: the first already has the empty name.
    {"a=1;;b=2;;c=3", "", "a=1; ; b=2; c=3", ""},
    // Full-width spaces go too (A1 A1).
    {"a=\xA1\xA1x", "", "a=x", ""},
};

class MergeCookiesTable : public testing::TestWithParam<MergeRow> {};

TEST_P(MergeCookiesTable, MergesAndRewritesBothTexts) {
  const MergeRow& row = GetParam();
  std::string cookies = row.cookiesBefore;
  std::string responseCookies = row.responseBefore;
  const std::string copy = MergeCookies(cookies, responseCookies);
  EXPECT_EQ(cookies, row.cookiesAfter);
  EXPECT_EQ(responseCookies, row.responseAfter);
  EXPECT_EQ(copy, cookies);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, MergeCookiesTable, testing::ValuesIn(kRows));

TEST(CookieName, IsTheTrimmedTextBeforeTheFirstEquals) {
  EXPECT_EQ(CookieName(" sid =a=b"), "sid");
  EXPECT_EQ(CookieName(" flag "), "flag");
  EXPECT_EQ(CookieName(""), "");
}

TEST(HasCookieName, ComparesNamesByteForByte) {
  const std::vector<std::string> pieces = {"Sid=1", "x=2"};
  EXPECT_TRUE(HasCookieName(pieces, "Sid"));
  EXPECT_FALSE(HasCookieName(pieces, "sid"));
  EXPECT_FALSE(HasCookieName({}, ""));
}

}  // namespace
