#include "web/header_scan.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct ScanRow {
  const char* name;
  std::string rawHeaders;
  std::string locationBefore;
  std::string location;  // "<raw>" stands for a copy of the raw headers
  std::string responseCookies;
};

void PrintTo(const ScanRow& row, std::ostream* out) { *out << row.name; }

const ScanRow kRows[] = {
    {"LocationLine", "HTTP/1.1 302 Found\r\nLocation:   http://a.example/x \r\n\r\n", "",
     "http://a.example/x", ""},
    {"LocationAnyCase", "HTTP/1.1 302 Found\r\nlocation: /next\r\n\r\n", "", "/next", ""},
    {"LaterLocationWins", "HTTP/1.1 302 Found\r\nLocation: /1\r\nLocation: /2\r\n\r\n", "", "/2",
     ""},
    {"ContentLocationIgnored", "HTTP/1.1 200 OK\r\nContent-Location: /elsewhere\r\n\r\n", "",
     "<raw>", ""},
    {"NoLocationKeepsEntryValue", "HTTP/1.1 200 OK\r\n\r\n", "kept", "kept", ""},
    {"EmptyBlockLeavesEmpty", "", "", "", ""},
    {"CookieWithAttributesAndCookieWithout",
     "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie:  b = 2 \r\n\r\n", "", "<raw>",
     "a=1; b = 2"},
    {"CookieNameAnyCaseAfterExactMarker", "HTTP/1.1 200 OK\r\nSet-Cookie: SID=x;HttpOnly\r\n\r\n",
     "", "<raw>", "SID=x"},
    {"LowerCaseSetCookieIsNotACookieLine", "HTTP/1.1 200 OK\r\nset-cookie: a=1\r\n\r\n", "",
     "<raw>", ""},
    // A line that names Set-Cookie without being one still adds an empty entry.
    {"OtherLineNamingSetCookie",
     "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nX-Set-Cookie-Note: z\r\n\r\n", "", "<raw>", "a=1; "},
    // A high byte at a line's end must not hide the next line.
    {"HighByteBeforeLineEnd",
     "HTTP/1.1 302 Found\r\nX-Name: \xE4\xB9\xA6\r\nLocation: /after\r\n\r\n", "", "/after", ""},
};

class ScanTable : public testing::TestWithParam<ScanRow> {};

TEST_P(ScanTable, FindsLocationAndCookies) {
  const ScanRow& row = GetParam();
  std::string location = row.locationBefore;
  std::string responseCookies = "stale";
  ScanResponseHeaders(row.rawHeaders, location, responseCookies);
  EXPECT_EQ(location, row.location == "<raw>" ? row.rawHeaders : row.location);
  EXPECT_EQ(responseCookies, row.responseCookies);
}

INSTANTIATE_TEST_SUITE_P(Lines, ScanTable, testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScanResponseHeaders, ReadsABlockFarBeyondFiveThousandBytes) {
  const std::string raw = "HTTP/1.1 302 Found\r\nX-Filler: " + std::string(20000, 'f') +
                          "\r\nLocation: /far\r\nSet-Cookie: k=v; path=/\r\n\r\n";
  std::string location;
  std::string responseCookies;
  ScanResponseHeaders(raw, location, responseCookies);
  EXPECT_EQ(location, "/far");
  EXPECT_EQ(responseCookies, "k=v");
}

TEST(RawHeaderBlock, EndsEveryLineWithCrLfAndKeepsOnlyTheFinalResponse) {
  RawHeaderBlock block;
  for (const char* line : {"HTTP/1.1 302 Found\r\n", "Location: /b\r\n", "\r\n",
                           "HTTP/1.1 200 OK\n", "A: 1", "B: 2\r\n", "\r\n", "Trailer: x\r\n"}) {
    ASSERT_TRUE(block.AddLine(line));
  }
  EXPECT_EQ(block.Text(), "HTTP/1.1 200 OK\r\nA: 1\r\nB: 2\r\n\r\n");
}

TEST(RawHeaderBlock, RefusesToGrowPastItsCap) {
  RawHeaderBlock block;
  ASSERT_TRUE(block.AddLine("HTTP/1.1 200 OK\r\n"));
  const std::string line = "X: " + std::string(1000, 'x') + "\r\n";
  size_t added = 0;
  while (block.AddLine(line)) ++added;
  EXPECT_LE(block.Text().size(), kMaxHeaderBlockBytes);
  EXPECT_GT(block.Text().size() + line.size(), kMaxHeaderBlockBytes);
  EXPECT_GT(added, 1000u);
}

}  // namespace
