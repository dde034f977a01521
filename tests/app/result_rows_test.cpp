// Cutting a search answer into rows.
#include "app/result_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "demo/demo_catalogue.h"
#include "demo/demo_pages.h"
#include "text/code_page.h"
#include "text/regex_object.h"
#include "web/site_patterns.h"

namespace {

// One result block in the site's markup, with `title` written as it stands.
std::string ResultBlock(const std::string& title) {
  return "<div class=\"searchTopic\"><a href=\"/txt/1.html\" class=\"searchtitle\" "
         "target=\"_blank\">" +
         title +
         "</a>&nbsp;&nbsp;作者：某人</div>\r\n        <div class=\"searchIntro\">简介</div>\r\n"
         "        <div class=\"searchInfo\"><a href=\"/txt/1.html\" class=\"g\">http://h/txt/"
         "1.html</a> - [<a href=/txt/gudian/>古典名著</a>]&nbsp;1.00 KB&nbsp;日期：<span "
         "class=\"oldDate\">2016-05-25</span></div>";
}

TEST(CutResultRows, OneRowOfSixCellsPerMatchInOrderWithoutTheEmphasis) {
  SearchPageOptions options;
  options.siteHost = "www.novel.test";
  options.resultCount = 3;
  const std::vector<DemoBook> books = DemoCatalogue();
  std::string page = Utf8ToGbk(MakeSearchPage(GbkToUtf8("红"), books, options));
  ASSERT_NE(page.find("<em>红</em>"), std::string::npos);
  RegexObject regex;
  const std::vector<ResultRow> rows = CutResultRows(regex, page);
  ASSERT_EQ(rows.size(), 3u);
  for (size_t i = 0; i < rows.size(); ++i) {
    const DemoBook& book = books[i];
    EXPECT_EQ(rows[i],
              (ResultRow{Utf8ToGbk(book.name), Utf8ToGbk(book.author), Utf8ToGbk(book.intro),
                         "http://www.novel.test/txt/" + book.pageId + ".html",
                         Utf8ToGbk(DemoSizeText(book.size)), book.date}));
  }
  EXPECT_EQ(rows[0][kColumnName], "红楼梦");
  EXPECT_EQ(page.find("<em>"), std::string::npos);  // the cleaned text stays with the caller
  EXPECT_EQ(page.find("</em>"), std::string::npos);
}

TEST(CutResultRows, OnlyTheExactLowerCaseTagsAreRemoved) {
  std::string page = ResultBlock("<em>A</em>b<EM>c</EM><em >d");
  RegexObject regex;
  const std::vector<ResultRow> rows = CutResultRows(regex, page);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][kColumnName], "Ab<EM>c</EM><em >d");
}

TEST(CutResultRows, APageWithoutResultsGivesNoRows) {
  std::string page = Utf8ToGbk(MakeSearchErrorPage());
  RegexObject regex;
  EXPECT_TRUE(CutResultRows(regex, page).empty());
  page.clear();
  EXPECT_TRUE(CutResultRows(regex, page).empty());
}

}  // namespace
