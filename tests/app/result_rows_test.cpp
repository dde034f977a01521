// Cutting a search answer into rows.
#include "app/result_rows.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "demo/demo_catalogue.h"
#include "demo/demo_pages.h"
#include "text/code_page.h"
#include "text/regex_object.h"
#include "text/text_find.h"
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

// Every row's cells with their positions in the cleaned page, and the matches replaced.
std::string Results(const RegexObject& regex) {
  std::string all = regex.ReplaceMatches("[$1|$4|$6]");
  for (int match = 1; match <= regex.MatchCount(); ++match) {
    for (int submatch = 0; submatch <= kResultColumns; ++submatch) {
      int position = 0;
      const std::string text = submatch == 0 ? regex.MatchText(match, &position)
                                             : regex.SubmatchText(match, submatch, &position);
      all += "\n" + std::to_string(position) + ":" + text;
    }
  }
  return all;
}

struct PageCase {
  const char* name;
  std::string page;  // code page 936
};

void PrintTo(const PageCase& c, std::ostream* os) { *os << c.name; }

class CutResultRowsTable : public testing::TestWithParam<PageCase> {};

// However the page is taken apart, the outcome is that of removing every "<em>", then every
// "</em>" (TextReplaceAll) and searching the cleaned text: the rows, the cleaned page, and the
// matches' texts, positions and replacements left in the regex object.
TEST_P(CutResultRowsTable, GivesWhatTheTwoRemovalsAndTheSearchGive) {
  const std::string& original = GetParam().page;
  std::string expectedPage = TextReplaceAll(TextReplaceAll(original, "<em>", ""), "</em>", "");
  RegexObject plain;
  plain.Search(kResultPattern, expectedPage);
  std::vector<ResultRow> expectedRows;
  for (int match = 1; match <= plain.MatchCount(); ++match) {
    ResultRow& row = expectedRows.emplace_back();
    for (int submatch = 1; submatch <= kResultColumns; ++submatch) {
      row.push_back(plain.SubmatchText(match, submatch));
    }
  }

  RegexObject regex;
  for (int round = 0; round < 2; ++round) {  // the second one on storage kept from the first
    std::string page = original;
    EXPECT_EQ(CutResultRows(regex, page), expectedRows);
    EXPECT_EQ(page, expectedPage);
    EXPECT_EQ(Results(regex), Results(plain));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pages, CutResultRowsTable,
    testing::Values(
        PageCase{"DemoPage", Utf8ToGbk(MakeSearchPage(GbkToUtf8("记"), 40))},
        PageCase{"TagsBetweenChinese", ResultBlock("西游<em>记</em>") + "\r\n        " +
                                           ResultBlock("<em>红</em>楼<em>梦</em>")},
        PageCase{"TagsAnywhere", "<em>" + ResultBlock("a</em>b") + "</em><em>"},
        // Removing "<em>" joins a new "</em>", which the second removal takes too.
        PageCase{"JoinedCloseTag", ResultBlock("甲</<em>em>乙<</em>/em>丙") + "<<em>/em>"},
        PageCase{"AdjacentOpenTags", ResultBlock("</e<em><em>m>名")},
        // A byte of 0x80 or more standing alone hides the tag after it from the removals.
        PageCase{"EuroSignBeforeTag", ResultBlock("\x80<em>名</em>") + "\x80</em>"},
        PageCase{"StrayByteBeforeTag", ResultBlock("\xFF<em>名</em>")},
        PageCase{"LeadByteBeforeTag", ResultBlock("\x81<em>名</em>") + "\xB0"},
        // Invalid UTF-8 and characters code page 936 lacks arrive as substitutes.
        PageCase{"FromInvalidUtf8AndMissingCharacters",
                 Utf8ToGbk("\xC0\xAF\xF0\x9F\x98\x80 " + MakeSearchPage("\xE7\xBA\xA2", 3))},
        PageCase{"ZeroByteInside",
                 ResultBlock("名<em>1</em>") + std::string(1, '\0') + ResultBlock("<em>2</em>")},
        PageCase{"NoTags", ResultBlock("名") + ResultBlock("书")}, PageCase{"Empty", ""}),
    [](const testing::TestParamInfo<PageCase>& info) { return std::string(info.param.name); });

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
