// The demo site's content without a server: the catalogue, the generated book, the search
// page generator and the form reader, as benchmarks and the server use them.
#include "demo/demo_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "demo/demo_pages.h"
#include "demo/generated_book.h"
#include "demo/percent_decode.h"
#include "demo/search_form.h"
#include "text/code_page.h"
#include "text/regex_object.h"
#include "text/text_find.h"
#include "web/site_patterns.h"

namespace {

// The tests' literals are code page 936; the catalogue speaks UTF-8.
std::string Gbk(const std::string& utf8) { return Utf8ToGbk(utf8); }
std::string Utf8(std::string_view gbk) { return GbkToUtf8(gbk); }

size_t CountOf(std::string_view text, std::string_view piece) {
  size_t count = 0;
  for (size_t at = text.find(piece); at != text.npos; at = text.find(piece, at + piece.size())) {
    ++count;
  }
  return count;
}

const DemoBook& BookNamed(const std::vector<DemoBook>& books, std::string_view nameUtf8) {
  auto found = std::find_if(books.begin(), books.end(),
                            [&](const DemoBook& book) { return book.name == nameUtf8; });
  EXPECT_NE(found, books.end()) << nameUtf8;
  return *found;
}

// Rows as the tool cuts them: tags removed, then the result pattern over the decoded page.
std::vector<std::vector<std::string>> ResultRows(const std::string& utf8Page) {
  const std::string page = TextReplaceAll(TextReplaceAll(Gbk(utf8Page), "<em>", ""), "</em>", "");
  RegexObject regex;
  regex.Search(kResultPattern, page);
  std::vector<std::vector<std::string>> rows;
  for (int match = 1; match <= regex.MatchCount(); ++match) {
    std::vector<std::string> row;
    for (int group = 1; group <= kResultColumns; ++group) {
      row.push_back(regex.SubmatchText(match, group));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

TEST(DemoCatalogue, HoldsAboutADozenBooksWithTheNamesTheToolMustCopeWith) {
  const std::vector<DemoBook> books = DemoCatalogue();
  EXPECT_GE(books.size(), 10u);
  EXPECT_LE(books.size(), 15u);
  auto ascii = [](const DemoBook& b) {
    return std::none_of(b.name.begin(), b.name.end(), [](char c) { return c & 0x80; });
  };
  EXPECT_EQ(std::count_if(books.begin(), books.end(), ascii), 1);
  // A name code page 936 cannot hold comes out with the code page's "?".
  EXPECT_EQ(
      std::count_if(books.begin(), books.end(),
                    [](const DemoBook& b) { return Gbk(b.name).find('?') != std::string::npos; }),
      1);
  EXPECT_EQ(
      std::count_if(books.begin(), books.end(), [](const DemoBook& b) { return b.generated; }), 1);
  // One link spells its name in other letter case, but is the same name ignoring it.
  const auto differs = std::find_if(books.begin(), books.end(),
                                    [](const DemoBook& b) { return b.linkName != b.name; });
  ASSERT_NE(differs, books.end());
  EXPECT_EQ(TextFind(differs->linkName, differs->name, 1, true), 1);
  EXPECT_EQ(differs->linkName.size(), differs->name.size());
}

TEST(DemoCatalogue, IdsAreUniqueAndEveryFileIsCodePage936WithCrLf) {
  std::set<std::string> ids;
  for (const DemoBook& book : DemoCatalogue()) {
    EXPECT_TRUE(ids.insert(book.pageId).second) << book.pageId;
    EXPECT_TRUE(ids.insert(book.downloadId).second) << book.downloadId;
    EXPECT_EQ(DemoBookYear(book).size(), 4u) << book.date;
    if (book.generated) continue;
    EXPECT_EQ(book.size, book.content.size());
    EXPECT_EQ(CountOf(book.content, "\n"), CountOf(book.content, "\r\n")) << book.name;
    EXPECT_GT(book.content.size(), 400u) << book.name;  // a few hundred characters
  }
  const std::string head = "《红楼梦》\r\n作者：曹雪芹\r\n\r\n\xA1\xA1";  // then "　"
  const Bytes file = DemoBookBytes(BookNamed(DemoCatalogue(), Utf8("红楼梦")));
  EXPECT_EQ(std::string(BytesView(file)).substr(0, head.size()), head);
}

TEST(DemoCatalogue, HostileNamesOnlyWhenAskedFor) {
  DemoSiteOptions options;
  options.hostileNames = true;
  const std::vector<DemoBook> books = DemoCatalogue(options);
  ASSERT_GT(books.size(), DemoCatalogue().size());
  std::string longName;
  for (int i = 0; i < 100; ++i) longName += "\xE9\x95\xBF";  // "长" in UTF-8
  for (const std::string& name :
       {std::string("../../evil"), std::string("..\\..\\evil"), std::string("/etc/passwd"),
        std::string("a:b*c?"), std::string("evil\r\nname"), longName, std::string("..")}) {
    const DemoBook& book = BookNamed(books, name);
    EXPECT_EQ(DemoBookBytes(book).size(), book.size);
  }
  EXPECT_EQ(longName.size(), 300u);
}

TEST(DemoCatalogue, FilePathIsTheYearAndTheEncodedUtf8Name) {
  const std::vector<DemoBook> books = DemoCatalogue();
  const DemoBook& book = BookNamed(books, Utf8("红楼梦"));
  EXPECT_EQ(DemoBookFilePath(book), "/d/file/p/txt/2016/%E7%BA%A2%E6%A5%BC%E6%A2%A6.txt");
}

TEST(DemoCatalogue, SizeTextInKilobytesOrMegabytes) {
  EXPECT_EQ(DemoSizeText(512), "0.50 KB");
  EXPECT_EQ(DemoSizeText(1024 * 1024 - 1), "1024.00 KB");
  EXPECT_EQ(DemoSizeText(20ull * 1024 * 1024), "20.00 MB");
}

TEST(GeneratedBook, SameBytesForAnyRangeInWholeGbkLines) {
  constexpr std::uint64_t kTotal = 64 * kGeneratedLineBytes;
  std::string whole;
  AppendGeneratedBytes(0, kTotal, kTotal, whole);
  ASSERT_EQ(whole.size(), kTotal);
  std::string pieces;
  for (std::uint64_t at = 0; at < kTotal; at += 37) AppendGeneratedBytes(at, 37, kTotal, pieces);
  EXPECT_EQ(pieces, whole);
  for (std::uint64_t line = 0; line < 64; ++line) {
    EXPECT_EQ(whole.substr(line * kGeneratedLineBytes + kGeneratedLineBytes - 2, 2), "\r\n");
  }
  // Every character is one code page 936 holds: the round trip gives the same bytes.
  EXPECT_EQ(Utf8ToGbk(GbkToUtf8(whole)), whole);
  EXPECT_EQ(GbkToUtf8(whole).find('?'), std::string::npos);
  std::string past;
  AppendGeneratedBytes(kTotal - 3, 100, kTotal, past);
  EXPECT_EQ(past, whole.substr(kTotal - 3));
}

TEST(GeneratedBook, SizeFollowsTheOptionExactly) {
  // A size off a line's end gets a shorter last line that still ends in a whole character.
  for (std::uint64_t total : {80u, 81u, 82u, 83u, 84u, 1000u}) {
    DemoSiteOptions options;
    options.largeBookBytes = total;
    const auto books = DemoCatalogue(options);
    const auto large =
        std::find_if(books.begin(), books.end(), [](auto& b) { return b.generated; });
    ASSERT_NE(large, books.end());
    EXPECT_EQ(large->size, total);
    const std::string bytes(BytesView(DemoBookBytes(*large)));
    EXPECT_EQ(bytes.size(), total);
    EXPECT_EQ(bytes.back(), '\n') << total;
    EXPECT_EQ(Utf8ToGbk(GbkToUtf8(bytes)), bytes) << total;
  }
  EXPECT_EQ(Bounded({}).largeBookBytes, 20ull * 1024 * 1024);
}

TEST(DemoSiteOptions, BoundedKeepsEverySwitchInRange) {
  DemoSiteOptions wild;
  wild.largeBookBytes = 1ull << 40;
  wild.emptySearchAnswers = -5;
  wild.delayMs = 1 << 30;
  wild.downloadStatus = 302;
  wild.searchResultCount = 1 << 30;
  wild.downloadBytesPerSecond = -1;
  const DemoSiteOptions bounded = Bounded(wild);
  EXPECT_EQ(bounded.largeBookBytes, kMaxLargeBookBytes);
  EXPECT_EQ(bounded.emptySearchAnswers, 0);
  EXPECT_EQ(bounded.delayMs, kMaxDelayMs);
  EXPECT_EQ(bounded.downloadStatus, 0);
  EXPECT_EQ(bounded.searchResultCount, kMaxSearchResults);
  EXPECT_EQ(bounded.downloadBytesPerSecond, 0);
  wild.downloadStatus = 500;
  wild.largeBookBytes = 0;
  EXPECT_EQ(Bounded(wild).downloadStatus, 500);
  EXPECT_EQ(Bounded(wild).largeBookBytes, kGeneratedLineBytes);
}

TEST(SearchPage, RowsReadThroughTheResultPattern) {
  const std::vector<DemoBook> books = DemoCatalogue();
  SearchPageOptions page;
  page.siteHost = "books.example:81";
  const auto rows = ResultRows(MakeSearchPage("\xE6\xA2\xA6", books, page));  // "梦"
  ASSERT_EQ(rows.size(), 1u);
  const DemoBook& book = BookNamed(books, Utf8("红楼梦"));
  EXPECT_EQ(rows[0], (std::vector<std::string>{"红楼梦", "曹雪芹", Gbk(book.intro),
                                               "http://books.example:81/txt/1001.html",
                                               DemoSizeText(book.size), "2016-05-25"}));
}

TEST(SearchPage, EveryOccurrenceOfTheKeywordIsWrappedInItsOwnCase) {
  const std::vector<DemoBook> books = DemoCatalogue();
  struct Case {
    std::string keyword;
    std::string title;
  };
  for (const Case& c : std::vector<Case>{
           {"PEACH", "<em>Peach</em> Blossom Spring"},
           {"s", "Peach Blo<em>s</em><em>s</em>om <em>S</em>pring"},
           {"\xE6\xA5\xBC\xE6\xA2\xA6", "\xE7\xBA\xA2<em>\xE6\xA5\xBC\xE6\xA2\xA6</em>"},  // 楼梦
       }) {
    const std::string page = MakeSearchPage(c.keyword, books, {});
    EXPECT_NE(page.find("class=\"searchtitle\" target=\"_blank\">" + c.title + "</a>"),
              std::string::npos)
        << c.keyword;
  }
}

TEST(SearchPage, BlocksAreJoinedByCrLfAndEightSpacesInsideAWholePage) {
  const std::string page = MakeSearchPage("", DemoCatalogue(), {});
  EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(page.find("class=\"nav\""), std::string::npos);
  EXPECT_NE(page.find("class=\"footer\""), std::string::npos);
  EXPECT_EQ(CountOf(page, "</div>\r\n        <div class=\"searchIntro\">"), DemoCatalogue().size());
  EXPECT_EQ(CountOf(page, "</div>\r\n        <div class=\"searchInfo\">"), DemoCatalogue().size());
}

TEST(SearchPage, EmptyKeywordListsEveryBookAndNoMatchListsNone) {
  EXPECT_EQ(ResultRows(MakeSearchPage("")).size(), DemoCatalogue().size());
  EXPECT_EQ(ResultRows(MakeSearchPage("no such book")).size(), 0u);
  EXPECT_EQ(ResultRows(MakeSearchErrorPage()).size(), 0u);
}

TEST(SearchPage, AChosenNumberOfRowsWhateverTheKeyword) {
  for (int count : {0, 1, 30}) {
    EXPECT_EQ(ResultRows(MakeSearchPage("no such book", count)).size(), static_cast<size_t>(count));
  }
  const std::string largest = MakeSearchPage("", kMaxSearchResults + 5);
  EXPECT_EQ(CountOf(largest, "<div class=\"searchTopic\">"),
            static_cast<size_t>(kMaxSearchResults));
}

TEST(SearchPage, InvalidUtf8OnlyWhenAskedFor) {
  SearchPageOptions page;
  const std::vector<DemoBook> books = DemoCatalogue();
  EXPECT_EQ(MakeSearchPage("", books, page).find("\xFF"), std::string::npos);
  page.invalidUtf8 = true;
  const std::string broken = MakeSearchPage("", books, page);
  EXPECT_NE(broken.find("\xFF"), std::string::npos);
  // The rows still come through, their intros carrying the decoder's substitutes.
  const auto rows = ResultRows(broken);
  ASSERT_EQ(rows.size(), books.size());
  EXPECT_NE(rows[0][kColumnIntro], Gbk(books[0].intro));
  EXPECT_EQ(rows[0][kColumnIntro].rfind(Gbk(books[0].intro), 0), 0u);
}

TEST(SearchForm, ReadsTheKeywordOfAWellFormedFormOnly) {
  struct Case {
    std::string body;
    std::optional<std::string> keyword;
  };
  const std::string prefix(kSearchBodyPrefix);
  const std::string suffix(kSearchBodySuffix);
  for (const Case& c : std::vector<Case>{
           {prefix + "%E6%A2%A6" + suffix, "\xE6\xA2\xA6"},
           {prefix + suffix, ""},
           {prefix + "%61%62" + suffix, "ab"},
           {prefix + "a+b%2B" + suffix, "a b+"},
           {"Submit22=x&keyboard=%41&show=title&classid=0", "A"},  // any order
           {"", std::nullopt},
           {"garbage", std::nullopt},
           {"classid=0&show=title&Submit22=%E6%90%9C%E7%B4%A2", std::nullopt},  // no keyword
           {prefix + "%E6%A2" + "%G1" + suffix, std::nullopt},                  // bad escape
           {prefix + "%E" + suffix, std::nullopt},
           {prefix + "a&keyboard=b" + suffix, std::nullopt},  // keyword twice
           {prefix + "\xC3\xA9" + suffix, std::nullopt},      // raw bytes, not a form
           {prefix + "a&=b" + suffix, std::nullopt},
       }) {
    EXPECT_EQ(ParseSearchForm(c.body), c.keyword) << c.body;
  }
}

TEST(PercentDecode, EscapesAndPlusSigns) {
  EXPECT_EQ(PercentDecode("%2Fetc%2fpasswd"), "/etc/passwd");
  EXPECT_EQ(PercentDecode("a+b"), "a+b");
  EXPECT_EQ(PercentDecode("a+b", true), "a b");
  EXPECT_EQ(PercentDecode("%0D%0A"), "\r\n");
  EXPECT_EQ(PercentDecode("100%"), std::nullopt);
  EXPECT_EQ(PercentDecode("%4"), std::nullopt);
}

}  // namespace
