// Download addresses both ways: computed on the file server, and read from the site's pages.
#include "app/book_address.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "demo/demo_site.h"
#include "tests/support/raw_http_server.h"
#include "text/code_page.h"
#include "text/regex_object.h"

namespace {

struct ComputedCase {
  const char* label;
  std::string name;
  std::string date;
  std::string expected;
};

// Cases print as their label.
void PrintTo(const ComputedCase& c, std::ostream* os) { *os << c.label; }

class ComputedAddresses : public ::testing::TestWithParam<ComputedCase> {};

TEST_P(ComputedAddresses, AreTheFileServerPathOfYearAndEncodedName) {
  RegexObject yearRegex;
  const ComputedCase& c = GetParam();
  EXPECT_EQ(ComputedAddress(yearRegex, "files.example.com:8080", c.name, c.date), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComputedAddresses,
    ::testing::Values(
        ComputedCase{
            "ChineseName", "红楼梦", "2016-05-25",
            "http://files.example.com:8080/d/file/p/txt/2016/%E7%BA%A2%E6%A5%BC%E6%A2%A6.txt"},
        // Letters and the space are escaped too, one byte at a time.
        ComputedCase{"AsciiName", "Ab c", "2013-09-21",
                     "http://files.example.com:8080/d/file/p/txt/2013/%41%62%20%63.txt"},
        // Fewer than two hyphens: no year, two slashes in a row.
        ComputedCase{"DateWithoutHyphens", "Ab", "20160525",
                     "http://files.example.com:8080/d/file/p/txt//%41%62.txt"},
        ComputedCase{"NothingKnown", "", "", "http://files.example.com:8080/d/file/p/txt//.txt"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ComputedAddress, LeavesTheDateSearchInTheGivenObject) {
  RegexObject yearRegex;
  ComputedAddress(yearRegex, "h", "x", "1999-01-02");
  EXPECT_EQ(yearRegex.SubmatchText(1, 1), "1999");
}

class ResolvedOnDemo : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(demo_.Start()); }

  std::string PageAddress(const DemoBook& book) const {
    return demo_.Url("/txt/" + book.pageId + ".html");
  }

  DemoSite demo_;
};

// Every book whose name code page 936 can hold resolves to the address its file is served at,
// the one whose link spells the name in other letter case included.
TEST_F(ResolvedOnDemo, GivesTheFileServersAddressOfEveryBook) {
  int resolved = 0;
  for (const DemoBook& book : demo_.Catalogue()) {
    const std::string name = Utf8ToGbk(book.name);
    if (GbkToUtf8(name) != book.name) continue;  // the name does not survive code page 936
    SCOPED_TRACE(book.name);
    EXPECT_EQ(ResolveDownloadAddress(PageAddress(book), name, demo_.HostPort()),
              demo_.Url(DemoBookFilePath(book)));
    ++resolved;
  }
  EXPECT_GE(resolved, 10);
}

TEST_F(ResolvedOnDemo, ReplacesTheNameWhateverItsAsciiLetterCase) {
  for (const DemoBook& book : demo_.Catalogue()) {
    if (book.linkName == book.name) continue;
    EXPECT_EQ(ResolveDownloadAddress(PageAddress(book), Utf8ToGbk(book.name), demo_.HostPort()),
              demo_.Url(DemoBookFilePath(book)));
    return;
  }
  FAIL() << "the demo catalogue has no book whose link spells its name differently";
}

TEST(ResolveDownloadAddress, ASiteThatAnswersNeitherPageGivesTheBareScheme) {
  nf_test::RefusingPort refusing;
  const std::string host = "127.0.0.1:" + std::to_string(refusing.Port());
  EXPECT_EQ(ResolveDownloadAddress(refusing.Url("/txt/1.html"), "红楼梦", host), "http://");
}

// The second page is asked of the configured novel host, named by the first page's link.
TEST(ResolveDownloadAddress, AsksTheNovelHostForTheDownloadPageTheBookPageNames) {
  nf_test::RawHttpServer bookPage(nf_test::HttpResponse(
      200, "<ul><li class=\"downAddress_li\"><a href=\"/txt/d42.html\" title=\"x\">"));
  nf_test::RawHttpServer novelHost(
      nf_test::HttpResponse(200,
                            "<img src=\"/skin/css/icons/bookdown.png\" height=\"18\" width=\"18\" "
                            "align=\"absmiddle\" /><a href=\"http://f.example/x/no-name-here.txt\" "
                            "class=\"strong green\">"));
  EXPECT_EQ(ResolveDownloadAddress(bookPage.Url("/txt/7.html"), "abc", novelHost.HostPort()),
            "http://f.example/x/no-name-here.txt");
  ASSERT_EQ(novelHost.RequestCount(), 1u);
  EXPECT_EQ(novelHost.Requests()[0].RequestLine(), "GET /txt/d42.html HTTP/1.1");
}

TEST(ResolveDownloadAddress, ABookPageWithoutTheLinkAsksForAnUnnamedDownloadPage) {
  nf_test::RawHttpServer site(nf_test::HttpResponse(200, "<html>nothing here</html>"));
  EXPECT_EQ(ResolveDownloadAddress(site.Url("/txt/7.html"), "abc", site.HostPort()), "http://");
  ASSERT_EQ(site.RequestCount(), 2u);
  EXPECT_EQ(site.Requests()[1].RequestLine(), "GET /txt/.html HTTP/1.1");
}

}  // namespace
