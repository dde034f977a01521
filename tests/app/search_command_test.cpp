// The search command of MainWindow, driven through its button against the demo site.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "app/search_request.h"
#include "demo/demo_catalogue.h"
#include "tests/app/main_window_fixture.h"
#include "text/code_page.h"

namespace {

using SearchCommand = MainWindowOnDemo;

// The row the window shows for a book of the demo catalogue (the site speaks UTF-8).
ResultRow ShownRow(const DemoBook& book, const std::string& hostPort) {
  return {Utf8ToGbk(book.name),
          Utf8ToGbk(book.author),
          Utf8ToGbk(book.intro),
          "http://" + hostPort + "/txt/" + book.pageId + ".html",
          Utf8ToGbk(DemoSizeText(book.size)),
          book.date};
}

TEST_F(SearchCommand, ASiteAnsweringIn300MsTakesOneAttempt) {
  demo_.SetDelay(300);
  Search("红楼");
  EXPECT_EQ(Attempts(), "次数：1");
  const long long elapsed = ElapsedShown();
  EXPECT_GT(elapsed, 300);
  EXPECT_LT(elapsed, 1000);  // no second attempt
  EXPECT_EQ(Names(), std::vector<std::string>{"红楼梦"});
  EXPECT_TRUE(Button()->isEnabled());
}

TEST_F(SearchCommand, ASiteAnsweringAfter2500MsEndsAtTheThirdAttempt) {
  demo_.SetDelay(2500);
  Search("西游");
  // Attempts start at about 0, 1000 and 2000 ms; the first answer is there at the next test.
  EXPECT_EQ(Attempts(), "次数：3");
  EXPECT_GE(ElapsedShown(), 2500);
  EXPECT_EQ(Names(), std::vector<std::string>{"西游记"});
}

TEST_F(SearchCommand, EmptyAnswersAreRetriedAboutOnceASecond) {
  demo_.SetEmptySearchAnswers(2);
  Search("水浒");
  EXPECT_EQ(Attempts(), "次数：3");
  EXPECT_EQ(demo_.SearchPostCount(), 3);
  EXPECT_GE(ElapsedShown(), 2000);  // each early failure waits out its second
  EXPECT_EQ(Names(), std::vector<std::string>{"水浒传"});
}

TEST_F(SearchCommand, ARefusingSiteIsTriedAboutOnceASecond) {
  ASSERT_TRUE(demo_.SetRefusing(true));
  std::string afterThreeSeconds;
  After(3000, [&] {
    afterThreeSeconds = Attempts();
    ASSERT_TRUE(demo_.SetRefusing(false));  // the next attempt gets its answer
  });
  Search("三国");
  EXPECT_TRUE(afterThreeSeconds == "次数：3" || afterThreeSeconds == "次数：4")
      << afterThreeSeconds;
  EXPECT_EQ(demo_.SearchPostCount(), 1);
  EXPECT_EQ(Names(), std::vector<std::string>{"三国演义"});
}

struct BodyCase {
  const char* name;
  std::string keyword;
  std::string body;
};

void PrintTo(const BodyCase& c, std::ostream* out) { *out << c.name; }

class SearchFormBody : public MainWindowOnDemo, public ::testing::WithParamInterface<BodyCase> {};

TEST_P(SearchFormBody, ReachesTheSiteExactly) {
  Search(GetParam().keyword);
  EXPECT_EQ(demo_.SearchBodies(), std::vector<std::string>{GetParam().body});
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, SearchFormBody,
    ::testing::Values(
        BodyCase{"ascii_letters_encoded_too", "ab",
                 "classid=0&show=title&keyboard=%61%62&Submit22=%E6%90%9C%E7%B4%A2"},
        BodyCase{"chinese_as_utf8", "小说",
                 "classid=0&show=title&keyboard=%E5%B0%8F%E8%AF%B4&Submit22=%E6%90%9C%E7%B4%A2"},
        BodyCase{"empty", "", "classid=0&show=title&keyboard=&Submit22=%E6%90%9C%E7%B4%A2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SearchCommand, ThreeMatchesGiveThreeRowsOfSixCellsInOrder) {
  DemoSiteOptions options = demo_.Options();
  options.searchResultCount = 3;
  ASSERT_TRUE(demo_.SetOptions(options));
  Search("红楼");  // the site writes the first title as <em>红楼</em>梦
  const std::vector<DemoBook> books = demo_.Catalogue();
  ASSERT_GE(books.size(), 3u);
  EXPECT_EQ(Rows(), (std::vector<ResultRow>{ShownRow(books[0], demo_.HostPort()),
                                            ShownRow(books[1], demo_.HostPort()),
                                            ShownRow(books[2], demo_.HostPort())}));
  EXPECT_EQ(Rows()[0][kColumnName], "红楼梦");
  EXPECT_EQ(g_searchPage.Read().find("<em>"), std::string::npos);  // cleaned in place
}

TEST_F(SearchCommand, ALargePageFillsEveryRow) {
  DemoSiteOptions options = demo_.Options();
  options.searchResultCount = 10'000;
  ASSERT_TRUE(demo_.SetOptions(options));
  Search("红楼");
  ASSERT_EQ(RowCount(kMainWindow, kMainResultList), 10'000);
  const std::vector<DemoBook> books = demo_.Catalogue();
  const DemoBook& last = books[9'999 % books.size()];
  for (int column = 0; column < kResultColumns; ++column) {
    EXPECT_EQ(GetCell(kMainWindow, kMainResultList, 9'999, column),
              ShownRow(last, demo_.HostPort())[column]);
  }
}

TEST_F(SearchCommand, AKeywordEditedDuringASearchIsUsedFromTheNextAttemptOn) {
  demo_.SetEmptySearchAnswers(2);
  After(300, [] { SetControlText(kMainWindow, kMainKeywordBox, "水浒"); });
  Search("西游");
  EXPECT_EQ(demo_.SearchBodies(),
            (std::vector<std::string>{SearchBody("西游"), SearchBody("水浒"), SearchBody("水浒")}));
  EXPECT_EQ(Names(), std::vector<std::string>{"水浒传"});
}

TEST_F(SearchCommand, TheButtonIsDisabledAndTheListEmptiedWhileASearchRuns) {
  Search("演义");
  ASSERT_EQ(RowCount(kMainWindow, kMainResultList), 2);
  demo_.ClearRecords();
  demo_.SetDelay(500);
  bool enabledDuring = true;
  int rowsDuring = -1;
  After(200, [&] {
    enabledDuring = Button()->isEnabled();
    rowsDuring = RowCount(kMainWindow, kMainResultList);
    QTest::mouseClick(Button(), Qt::LeftButton);  // refused while the search runs
  });
  Search("红楼");
  EXPECT_FALSE(enabledDuring);
  EXPECT_EQ(rowsDuring, 0);
  EXPECT_EQ(demo_.SearchPostCount(), 1);
  EXPECT_TRUE(Button()->isEnabled());
  EXPECT_EQ(Names(), std::vector<std::string>{"红楼梦"});
}

TEST_F(SearchCommand, ALatePageOfAnEarlierSearchIsDropped) {
  // A worker of an earlier search whose answer arrives while the next search runs.
  DemoSite earlierSite;
  ASSERT_TRUE(earlierSite.Start());
  earlierSite.SetDelay(400);
  const SearchAttempt late{earlierSite.HostPort(), "西游", g_searchPage.BeginSearch()};
  std::string latePage;
  std::thread lateWorker([&] { latePage = SearchRequest(g_searchPage, late); });
  demo_.SetEmptySearchAnswers(2);  // the new search is still waiting when the late page comes
  Search("水浒");
  lateWorker.join();
  EXPECT_NE(latePage, "");
  EXPECT_EQ(Attempts(), "次数：3");
  EXPECT_EQ(Names(), std::vector<std::string>{"水浒传"});
}

}  // namespace
