#include "text/regex_object.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "text/code_page.h"
#include "text/text_find.h"
#include "web/site_patterns.h"

namespace {

RegexOptions CaseSensitive() {
  RegexOptions options;
  options.caseSensitive = true;
  return options;
}
RegexOptions SingleLine() {
  RegexOptions options;
  options.multiLine = false;
  return options;
}
RegexOptions FirstOnly() {
  RegexOptions options;
  options.global = false;
  return options;
}
RegexOptions WithQuoteToken() {
  RegexOptions options;
  options.quoteToken = true;
  return options;
}

// Every accessor answers as before any search.
void ExpectNoResults(const RegexObject& regex) {
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_EQ(regex.MatchText(1), "");
  EXPECT_EQ(regex.SubmatchText(1, 1), "");
  EXPECT_EQ(regex.SubmatchCount(), 0);
  EXPECT_EQ(regex.ReplaceMatches("x"), "");
}

std::vector<std::string> AllMatches(const RegexObject& regex) {
  std::vector<std::string> texts;
  for (int n = 1; n <= regex.MatchCount(); ++n) texts.push_back(regex.MatchText(n));
  return texts;
}

TEST(RegexObject, BeforeAnySearchEverythingIsEmpty) {
  RegexObject regex;
  ExpectNoResults(regex);
  EXPECT_EQ(regex.GetPattern(), "");
  regex.NoOp();
  EXPECT_EQ(regex.GetPattern(), "");
}

TEST(RegexObject, PatternMatchingNothingStillRuns) {
  RegexObject regex;
  EXPECT_TRUE(regex.Search("(x)y", "abc"));
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_EQ(regex.MatchText(1), "");
  EXPECT_EQ(regex.SubmatchCount(), 0);
  EXPECT_EQ(regex.ReplaceMatches("z"), "abc");
  EXPECT_EQ(regex.GetPattern(), "(x)y");
}

struct OptionCase {
  const char* name;
  std::string pattern;
  std::string subject;
  RegexOptions options;
  std::vector<std::string> matches;
};

// Failures name the case instead of dumping its bytes.
void PrintTo(const OptionCase& c, std::ostream* os) { *os << c.name; }

class RegexOptionTable : public testing::TestWithParam<OptionCase> {};

TEST_P(RegexOptionTable, FindsTheExpectedMatches) {
  const OptionCase& c = GetParam();
  RegexObject regex;
  ASSERT_TRUE(regex.Search(c.pattern, c.subject, c.options));
  EXPECT_EQ(AllMatches(regex), c.matches);
}

using Texts = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(
    Options, RegexOptionTable,
    testing::Values(
        OptionCase{"IgnoresCaseByDefault", "abc", "xABCx", {}, Texts{"ABC"}},
        OptionCase{"CaseSensitive", "abc", "xABCx", CaseSensitive(), Texts{}},
        OptionCase{"CaseSensitiveExact", "ABC", "xABCx", CaseSensitive(), Texts{"ABC"}},
        OptionCase{"MultiLineByDefault", "^b+$", "a\r\nbb\r\nc\nb", {}, Texts{"bb", "b"}},
        OptionCase{"SingleLineAnchorsWholeSubject", "^b+$", "a\r\nbb\r\nc", SingleLine(), Texts{}},
        OptionCase{"SingleLineStillAtStart", "^a", "a\na", SingleLine(), Texts{"a"}},
        OptionCase{"SingleLineDollarOnlyAtEnd", "a$", "a\n", SingleLine(), Texts{}},
        OptionCase{"GlobalByDefault", "a", "aXaXa", {}, Texts{"a", "a", "a"}},
        OptionCase{"GlobalOff", "a", "aXaXa", FirstOnly(), Texts{"a"}},
        OptionCase{"QuoteToken", "href=#引号(\\w+)#引号", "<a href=\"x1\">", WithQuoteToken(),
                   Texts{"href=\"x1\""}},
        OptionCase{
            "QuoteTokenOffLooksForToken", "href=#引号(\\w+)#引号", "<a href=\"x1\">", {}, Texts{}},
        OptionCase{"QuoteTokenOffMatchesWrittenToken",
                   "href=#引号x#引号",
                   "href=#引号x#引号",
                   {},
                   Texts{"href=#引号x#引号"}},
        OptionCase{"DotSkipsLineFeed", "a.b", "a\nb", {}, Texts{}},
        OptionCase{"DotSkipsCarriageReturn", "a.b", "a\rb", {}, Texts{}},
        OptionCase{"DotTakesTab", "a.b", "a\tb", {}, Texts{"a\tb"}},
        OptionCase{"DotTakesOneChineseCharacter", "a.b", "a搜b", {}, Texts{"a搜b"}},
        OptionCase{"AnyCharacterClassCrossesLines", "a[\\s\\S]b", "a\nb", {}, Texts{"a\nb"}},
        OptionCase{"UnescapedBracketInClass", "[[x]+", "a[[xb", {}, Texts{"[[x"}},
        OptionCase{"LazyGroups",
                   "<b>([\\s\\S]*?)</b>",
                   "<b>1</b><b>2</b>",
                   {},
                   Texts{"<b>1</b>", "<b>2</b>"}},
        OptionCase{"EmptyMatchesStepForward", "x*", "abc", {}, Texts{"", "", "", ""}},
        OptionCase{"EmptyMatchesStepOverChinese", "", "搜索", {}, Texts{"", "", ""}},
        OptionCase{"ChineseLiteral", "小说", "搜索小说", {}, Texts{"小说"}},
        // The second byte of "圓" (88 41) is no "A", with or without case.
        OptionCase{"SecondByteIsNoLetter", "a", "圓a", {}, Texts{"a"}},
        OptionCase{"SecondByteIsNoCapital", "A", "圓", CaseSensitive(), Texts{}}),
    [](const testing::TestParamInfo<OptionCase>& info) { return std::string(info.param.name); });

TEST(RegexObject, QuoteTokenGivesEffectivePattern) {
  RegexObject regex;
  regex.Search("href=#引号(\\w+)#引号", "", WithQuoteToken());
  EXPECT_EQ(regex.GetPattern(), "href=\"(\\w+)\"");
  regex.Search("href=#引号", "");
  EXPECT_EQ(regex.GetPattern(), "href=#引号");
}

TEST(RegexObject, SecondSearchReplacesTheFirstEntirely) {
  RegexObject regex;
  RegexOptions first;
  first.caseSensitive = true;
  first.global = false;
  ASSERT_TRUE(regex.Search("(A)(B)", "ab AB AB", first));
  EXPECT_EQ(regex.MatchCount(), 1);
  EXPECT_EQ(regex.SubmatchCount(), 2);

  // Defaults again: letter case ignored, every match; nothing of the first search lasts.
  ASSERT_TRUE(regex.Search("b", "b B b"));
  EXPECT_EQ(AllMatches(regex), (Texts{"b", "B", "b"}));
  EXPECT_EQ(regex.SubmatchCount(), 0);
  EXPECT_EQ(regex.SubmatchText(1, 1), "");
  EXPECT_EQ(regex.GetPattern(), "b");
  EXPECT_EQ(regex.ReplaceMatches("x"), "x x x");
}

TEST(RegexObject, RejectedPatternLeavesNoResults) {
  for (const char* pattern : {"(", "a)", "[a", "a{2,1}", "\\"}) {
    SCOPED_TRACE(pattern);
    RegexObject regex;
    ASSERT_TRUE(regex.Search("(a)", "a a"));
    ASSERT_EQ(regex.MatchCount(), 2);
    EXPECT_FALSE(regex.Search(pattern, "a a"));
    ExpectNoResults(regex);
    EXPECT_EQ(regex.GetPattern(), pattern);  // the pattern was set before it was refused
  }
}

TEST(RegexObject, NumbersOutsideTheCollectionsGiveEmptyTexts) {
  RegexObject regex;
  ASSERT_TRUE(regex.Search("(\\d)(x)?", "1 2"));
  ASSERT_EQ(regex.MatchCount(), 2);
  EXPECT_EQ(regex.SubmatchCount(), 2);
  EXPECT_EQ(regex.MatchText(1), "1");
  EXPECT_EQ(regex.MatchText(2), "2");
  EXPECT_EQ(regex.SubmatchText(2, 1), "2");
  EXPECT_EQ(regex.SubmatchText(1, 2), "");  // a group that took no part
  for (int n : {0, -1, 3, 1000}) {
    SCOPED_TRACE(n);
    EXPECT_EQ(regex.MatchText(n), "");
    EXPECT_EQ(regex.SubmatchText(n, 1), "");
  }
  for (int k : {0, -1, 3, 100}) {
    SCOPED_TRACE(k);
    EXPECT_EQ(regex.SubmatchText(1, k), "");  // 0 is no submatch: not the whole match
  }
}

TEST(RegexObject, SubmatchTwoOfOneGroupPatternIsEmpty) {
  RegexObject regex;
  ASSERT_TRUE(regex.Search("(a)", "a"));
  EXPECT_EQ(regex.SubmatchCount(), 1);
  EXPECT_EQ(regex.SubmatchText(1, 1), "a");
  EXPECT_EQ(regex.SubmatchText(1, 2), "");
}

struct PositionCase {
  const char* name;
  std::string pattern;
  std::string subject;
  int matchNumber;
  int submatchNumber;  // 0: MatchText
  std::string text;
  int position;
};

// Failures name the case instead of dumping its bytes.
void PrintTo(const PositionCase& c, std::ostream* os) { *os << c.name; }

class RegexPositionTable : public testing::TestWithParam<PositionCase> {};

TEST_P(RegexPositionTable, GivesZeroBasedByteOffsetInSubject) {
  const PositionCase& c = GetParam();
  RegexObject regex;
  ASSERT_TRUE(regex.Search(c.pattern, c.subject));
  int position = 12345;
  const std::string text = c.submatchNumber == 0
                               ? regex.MatchText(c.matchNumber, &position)
                               : regex.SubmatchText(c.matchNumber, c.submatchNumber, &position);
  EXPECT_EQ(text, c.text);
  EXPECT_EQ(position, c.position);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, RegexPositionTable,
    testing::Values(PositionCase{"AsciiMatch", "c", "abc", 1, 0, "c", 2},
                    PositionCase{"AfterChinese", "abc", "搜索abc搜索abc", 1, 0, "abc", 4},
                    PositionCase{"SecondMatch", "abc", "搜索abc搜索abc", 2, 0, "abc", 11},
                    PositionCase{"Submatch", "a(b)c", "搜索abc搜索abc", 2, 1, "b", 12},
                    PositionCase{"ChineseSubmatch", "作者：(\\S+)", "书名 作者：某人", 1, 1, "某人",
                                 11},
                    PositionCase{"GroupWithoutPartTakesMatch", "(x)?abc", "搜abc", 1, 1, "", 2},
                    PositionCase{"EmptyMatchAtEnd", "$", "搜索", 1, 0, "", 4},
                    PositionCase{"SecondByteSkipped", "a", "圓a", 1, 0, "a", 2},
                    PositionCase{"AfterStrayByte", "abc",
                                 "\xFF"
                                 "abc",
                                 1, 0, "abc", 1},
                    PositionCase{"MatchOutOfRange", "a", "a", 2, 0, "", -2},
                    PositionCase{"MatchZero", "a", "a", 0, 0, "", -2},
                    PositionCase{"MatchOfSubmatchOutOfRange", "(a)", "a", 3, 1, "", -2},
                    PositionCase{"SubmatchOutOfRange", "(a)", "a", 1, 2, "", -2}),
    [](const testing::TestParamInfo<PositionCase>& info) { return std::string(info.param.name); });

TEST(RegexObject, SubmatchZeroHasNoPosition) {
  RegexObject regex;
  ASSERT_TRUE(regex.Search("(a)", "xa"));
  int position = 0;
  EXPECT_EQ(regex.SubmatchText(1, 0, &position), "");
  EXPECT_EQ(position, -2);
}

TEST(RegexObject, SubjectEndsAtItsZeroByte) {
  RegexObject regex;
  ASSERT_TRUE(regex.Search("$", std::string("ab\0cd", 5), SingleLine()));
  int position = 0;
  EXPECT_EQ(regex.MatchText(1, &position), "");
  EXPECT_EQ(position, 2);
  EXPECT_EQ(regex.ReplaceMatches("!"), "ab!");
}

struct ReplaceCase {
  const char* name;
  std::string pattern;
  std::string subject;
  RegexOptions options;
  std::string replacement;
  std::string expected;
};

// Failures name the case instead of dumping its bytes.
void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }

class RegexReplaceTable : public testing::TestWithParam<ReplaceCase> {};

TEST_P(RegexReplaceTable, ReplacesTheLastSearchsMatches) {
  const ReplaceCase& c = GetParam();
  RegexObject regex;
  ASSERT_TRUE(regex.Search(c.pattern, c.subject, c.options));
  EXPECT_EQ(regex.ReplaceMatches(c.replacement), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Replace, RegexReplaceTable,
    testing::Values(
        ReplaceCase{"Groups", "(\\w+)@(\\w+)", "ann@x bob@y", {}, "$2:$1", "x:ann y:bob"},
        ReplaceCase{"WholeMatch", "\\d+", "a1b22", {}, "[$&]", "a[1]b[22]"},
        ReplaceCase{"Dollar", "a", "bab", {}, "$$", "b$b"},
        ReplaceCase{"BeforeAndAfter", "b", "abc", {}, "[$`|$']", "a[a|c]c"},
        ReplaceCase{"MissingGroupStaysWritten", "(a)", "a", {}, "$2$0", "$2$0"},
        ReplaceCase{"TwoDigitsFallBackToOne", "(a)", "a", {}, "$10", "a0"},
        ReplaceCase{
            "TwoDigitGroup", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", "abcdefghij", {}, "$10$1", "ja"},
        ReplaceCase{"UnsetGroupEmpty", "(x)?a", "a", {}, "[$1]", "[]"},
        ReplaceCase{"TrailingDollar", "a", "a", {}, "b$", "b$"},
        ReplaceCase{"DefaultDeletes", "<em>|</em>", "<em>星</em>辰", {}, "", "星辰"},
        ReplaceCase{"FirstOnlyWithoutGlobal", "a", "aaa", FirstOnly(), "b", "baa"},
        ReplaceCase{"ChineseReplacement", "(\\d+)", "第1章", {}, "$1卷", "第1卷章"}),
    [](const testing::TestParamInfo<ReplaceCase>& info) { return std::string(info.param.name); });

TEST(RegexObject, ReplaceMatchesDefaultsToEmptyReplacement) {
  RegexObject regex;
  ASSERT_TRUE(regex.Search("\\s", "a b\tc"));
  EXPECT_EQ(regex.ReplaceMatches(), "abc");
}

TEST(RegexObject, CopyIsIndependent) {
  RegexObject original;
  ASSERT_TRUE(original.Search("(\\d)", "1 2 3", FirstOnly()));
  const std::unique_ptr<RegexObject> copy = original.Copy();
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->MatchCount(), 1);
  EXPECT_EQ(copy->SubmatchText(1, 1), "1");
  EXPECT_EQ(copy->GetPattern(), "(\\d)");
  EXPECT_EQ(copy->ReplaceMatches("x"), "x 2 3");

  // A search on the copy leaves the original alone, and the other way round.
  ASSERT_TRUE(copy->Search("[a-z]", "x y"));
  EXPECT_EQ(original.MatchCount(), 1);
  EXPECT_EQ(original.MatchText(1), "1");
  EXPECT_EQ(original.GetPattern(), "(\\d)");
  original.Destroy();
  EXPECT_EQ(copy->MatchCount(), 2);
  EXPECT_EQ(copy->MatchText(2), "y");
  EXPECT_EQ(copy->ReplaceMatches("_"), "_ _");
}

TEST(RegexObject, CopyBeforeAnySearchIsEmpty) {
  RegexObject original;
  const std::unique_ptr<RegexObject> copy = original.Copy();
  ExpectNoResults(*copy);
  EXPECT_EQ(copy->GetPattern(), "");
}

TEST(RegexObject, DestroyReturnsToEmpty) {
  RegexObject regex;
  ASSERT_TRUE(regex.Search("(a)", "a"));
  regex.Destroy();
  ExpectNoResults(regex);
  EXPECT_EQ(regex.GetPattern(), "");
  EXPECT_TRUE(regex.Search("a", "aa"));  // usable again
  EXPECT_EQ(regex.MatchCount(), 2);
}

// --- the site's patterns -------------------------------------------------------------------

struct Book {
  std::string title;  // as the page writes it, keyword between <em> tags
  std::string name, author, intro, address, size, date;
};

const Book kBooks[] = {
    {"<em>星辰</em>之歌", "星辰之歌", "林木", "一个关于远方的故事。",
     "www.example.com/txt/3001.html", "1.2MB", "2016-05-25"},
    {"海上<em>星辰</em>", "海上星辰", "王小明", "渔村少年出海。\r\n第二行",
     "www.example.com/txt/42.html", "856KB", "2019-11-03"},
};

// One result block as the search page writes it; blocks are joined by CR LF and eight spaces.
std::string ResultBlock(const Book& book, const std::string& dateClass = "oldDate") {
  return "<div class=\"searchTopic\"><span>1</span><a href=\"/txt/x.html\" class=\"searchtitle\" "
         "target=\"_blank\">" +
         book.title + "</a>&nbsp;&nbsp;作者：" + book.author +
         "</div>\r\n        <div class=\"searchIntro\">" + book.intro +
         "</div>\r\n        <div class=\"searchInfo\"><a href=\"/txt/x.html\" class=\"g\">" +
         book.address + "</a> - <a href=/txt/Young/>都市小说</a>&nbsp;" + book.size +
         "&nbsp;日期：<span class=\"" + dateClass + "\">" + book.date + "</span></div>";
}

std::string ResultPage(int blocks, const std::string& dateClass = "oldDate") {
  std::string page = "<html><body>\r\n        ";
  for (int i = 0; i < blocks; ++i) page += ResultBlock(kBooks[i % 2], dateClass) + "\r\n        ";
  return page + "</body></html>";
}

TEST(ResultPattern, CutsEachResultIntoSixCells) {
  // The search command removes the <em> tags first, exactly, then runs the pattern.
  const std::string page = TextReplaceAll(TextReplaceAll(ResultPage(2), "<em>", ""), "</em>", "");
  RegexObject regex;
  ASSERT_TRUE(regex.Search(kResultPattern, page));
  ASSERT_EQ(regex.MatchCount(), 2);
  EXPECT_EQ(regex.SubmatchCount(), kResultColumns);
  for (int n = 1; n <= 2; ++n) {
    SCOPED_TRACE(n);
    const Book& book = kBooks[n - 1];
    EXPECT_EQ(regex.SubmatchText(n, kColumnName + 1), book.name);
    EXPECT_EQ(regex.SubmatchText(n, kColumnAuthor + 1), book.author);
    EXPECT_EQ(regex.SubmatchText(n, kColumnIntro + 1), book.intro);
    EXPECT_EQ(regex.SubmatchText(n, kColumnPageAddress + 1), book.address);
    EXPECT_EQ(regex.SubmatchText(n, kColumnSize + 1), book.size);
    EXPECT_EQ(regex.SubmatchText(n, kColumnDate + 1), book.date);
  }
}

TEST(ResultPattern, KeepsEmTagsWhenTheyAreNotRemoved) {
  RegexObject regex;
  ASSERT_TRUE(regex.Search(kResultPattern, ResultPage(2)));
  ASSERT_EQ(regex.MatchCount(), 2);
  EXPECT_EQ(regex.SubmatchText(1, 1), kBooks[0].title);
}

TEST(ResultPattern, NeedsCrLfAndEightSpacesBetweenBlocks) {
  std::string page = ResultPage(1);
  page = TextReplaceAll(page, "\r\n        <div", "\n        <div");
  RegexObject regex;
  ASSERT_TRUE(regex.Search(kResultPattern, page));
  EXPECT_EQ(regex.MatchCount(), 0);
}

TEST(ResultPattern, FindsEveryResultOfALargePage) {
  const int blocks = 3000;  // about 1 MB
  RegexObject regex;
  ASSERT_TRUE(regex.Search(kResultPattern, ResultPage(blocks)));
  ASSERT_EQ(regex.MatchCount(), blocks);
  EXPECT_EQ(regex.SubmatchText(blocks, kColumnDate + 1), kBooks[(blocks - 1) % 2].date);
}

TEST(DatePattern, GivesTheYear) {
  struct Case {
    std::string date;
    std::string year;
  };
  const Case cases[] = {
      {"2016-05-25", "2016"}, {"1999-1-2", "1999"},
      {"2016-05", ""},  // fewer than two hyphens: no match
      {"2016/05/25", ""},     {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.date);
    RegexObject regex;
    ASSERT_TRUE(regex.Search(kDatePattern, c.date));
    EXPECT_EQ(regex.SubmatchText(1, 1), c.year);
  }
}

TEST(PagePatterns, TakeTheDownloadPageAndLink) {
  RegexObject page;
  ASSERT_TRUE(page.Search(kDownloadPagePattern,
                          "<ul><li class=\"downAddress_li\"><a href=\"/txt/down3001.html\" "
                          "title=\"下载\">"));
  EXPECT_EQ(page.SubmatchText(1, 1), "down3001");

  RegexObject link;
  ASSERT_TRUE(link.Search(kDownloadLinkPattern,
                          "<img src=\"/skin/css/icons/bookdown.png\" height=\"18\" width=\"18\" "
                          "align=\"absmiddle\" /><a href=\"http://files.example.com/d/星辰.txt\" "
                          "class=\"strong green\">"));
  EXPECT_EQ(link.SubmatchText(1, 1), "files.example.com/d/星辰.txt");
}

// A runaway pattern must end as a failed search rather than hang the window. Only the outcome
// is checked; the time it takes is measured in bench/.
TEST(RegexObject, CatastrophicBacktrackingEndsWithNoMatches) {
  struct Case {
    const char* name;
    std::string pattern;
    std::string subject;
  };
  const Case cases[] = {
      {"NestedQuantifier", "(a+)+b", std::string(1 << 20, 'a') + "!b"},
      {"ResultPatternOnChangedMarkup", std::string(kResultPattern), ResultPage(3000, "newDate")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_GE(c.subject.size(), 1000000u);
    RegexObject regex;
    EXPECT_FALSE(regex.Search(c.pattern, c.subject));
    ExpectNoResults(regex);
  }
}

// Everything a search leaves behind, written out so two searches compare as one text.
std::string Results(const RegexObject& regex) {
  std::string all = std::to_string(regex.MatchCount()) + "/" +
                    std::to_string(regex.SubmatchCount()) + "\n" + regex.ReplaceMatches("<$&|$1>");
  for (int m = 0; m <= regex.MatchCount() + 1; ++m) {
    for (int g = 0; g <= regex.SubmatchCount() + 1; ++g) {
      int position = 0;
      const std::string text =
          g == 0 ? regex.MatchText(m, &position) : regex.SubmatchText(m, g, &position);
      all += "\n" + std::to_string(m) + "." + std::to_string(g) + "@" + std::to_string(position) +
             ":" + text;
    }
  }
  return all;
}

struct ConvertedCase {
  const char* name;
  std::string pattern;
  std::string subject;  // converts on its own (GbkToUtf8 gives true)
};

void PrintTo(const ConvertedCase& c, std::ostream* os) { *os << c.name; }

class RegexConvertedTable : public testing::TestWithParam<ConvertedCase> {};

// A caller's UTF-8 form stands in for the object's own conversion without changing a result;
// the string it hands over comes back as storage for the next one.
TEST_P(RegexConvertedTable, GivesWhatSearchGives) {
  const ConvertedCase& c = GetParam();
  RegexObject plain;
  ASSERT_TRUE(plain.Search(c.pattern, c.subject));
  RegexObject converted;
  std::string utf8 = "storage of an earlier page, longer than this subject's form";
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(GbkToUtf8(c.subject, utf8));
    ASSERT_TRUE(converted.SearchConverted(c.pattern, c.subject, utf8));
    EXPECT_EQ(Results(converted), Results(plain));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Converted, RegexConvertedTable,
    testing::Values(
        ConvertedCase{"Ascii", "(\\w+)@(\\w+)", "ann@x bob@y"},
        ConvertedCase{"ChineseAroundMatches", "作者：(\\S+)", "书名 作者：某人 作者：佚名"},
        ConvertedCase{"EuroSignAlone", "a(\\S)",
                      "\x80"
                      "a\x80"
                      "b搜a索"},
        ConvertedCase{"EmptyMatches", "x*", "搜x索"}, ConvertedCase{"NoMatch", "z", "搜索"},
        ConvertedCase{"EmptySubject", "(a)?", ""},
        ConvertedCase{"ResultPattern", std::string(kResultPattern),
                      "<div class=\"searchTopic\"><a href=\"/t\" class=\"searchtitle\" "
                      "target=\"_blank\">名</a>&nbsp;&nbsp;作者：某</div>\r\n        <div "
                      "class=\"searchIntro\">简介</div>\r\n        <div class=\"searchInfo\"><a "
                      "href=\"/t\" class=\"g\">http://h/t</a> - [<a href=/txt/x/>古典</a>]&nbsp;1 "
                      "KB&nbsp;日期：<span class=\"oldDate\">2016-05-25</span></div>"}),
    [](const testing::TestParamInfo<ConvertedCase>& info) { return std::string(info.param.name); });

}  // namespace
