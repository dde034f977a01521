#include "app/search_page.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(SearchPage, ReplaceReadAndTake) {
  SearchPage page;
  EXPECT_EQ(page.Read(), "");
  page.Replace("第一页");
  page.Replace("第二页");
  EXPECT_EQ(page.Read(), "第二页");
  EXPECT_EQ(page.Take(), "第二页");
  EXPECT_EQ(page.Read(), "");
  EXPECT_EQ(page.Take(), "");
}

TEST(SearchPage, EachSearchStartsEmptyWithANewNumber) {
  SearchPage page;
  page.Replace("上一次的结果");
  const std::uint64_t first = page.BeginSearch();
  EXPECT_EQ(page.Read(), "");
  EXPECT_GT(page.BeginSearch(), first);
}

TEST(SearchPage, DeliverTakesOnlyNonEmptyAnswersOfTheLatestSearch) {
  SearchPage page;
  const std::uint64_t earlier = page.BeginSearch();
  const std::uint64_t latest = page.BeginSearch();
  EXPECT_FALSE(page.Deliver(earlier, "旧的"));
  EXPECT_EQ(page.Read(), "");
  EXPECT_TRUE(page.Deliver(latest, "新的"));
  EXPECT_FALSE(page.Deliver(latest, ""));  // a failed attempt keeps what another one brought
  EXPECT_EQ(page.Read(), "新的");
  EXPECT_TRUE(page.Deliver(latest, "更新的"));
  EXPECT_EQ(page.Read(), "更新的");
}

// Workers replace the page while the window thread reads it: every read sees one whole page.
TEST(SearchPage, ReadersNeverSeeAHalfReplacedPage) {
  SearchPage page;
  std::atomic<bool> done{false};
  std::vector<std::thread> workers;
  for (char c : {'a', 'b', 'c'}) {
    workers.emplace_back([&, c] {
      for (int i = 0; i < 2000; ++i) page.Replace(std::string(1000 + i % 7, c));
    });
  }
  std::thread stopper([&] {
    for (auto& worker : workers) worker.join();
    done = true;
  });
  int reads = 0;
  while (!done || reads == 0) {
    const std::string text = page.Read();
    ++reads;
    if (text.empty()) continue;
    ASSERT_EQ(text.find_first_not_of(text[0]), std::string::npos);
  }
  stopper.join();
  EXPECT_GE(page.Take().size(), 1000u);
}

}  // namespace
