// One attempt's post against the demo site, and which answers reach the shared page.
#include "app/search_request.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "demo/demo_site.h"
#include "tests/support/raw_http_server.h"

namespace {

class SearchRequestOnDemo : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(demo_.Start()); }

  DemoSite demo_;
  SearchPage slot_;
};

TEST_F(SearchRequestOnDemo, PostsTheFormAndHandsTheAnswerToItsSearch) {
  const std::uint64_t search = slot_.BeginSearch();
  const std::string page = SearchRequest(slot_, {demo_.HostPort(), "西游", search});
  EXPECT_NE(page.find("西游"), std::string::npos);
  EXPECT_EQ(slot_.Read(), page);
  EXPECT_EQ(demo_.SearchBodies(), std::vector<std::string>{SearchBody("西游")});
}

TEST_F(SearchRequestOnDemo, AnAnswerArrivingAfterTheNextSearchBeganIsDropped) {
  demo_.SetDelay(300);
  const SearchAttempt earlier{demo_.HostPort(), "西游", slot_.BeginSearch()};
  std::string page;
  std::thread worker([&] { page = SearchRequest(slot_, earlier); });
  slot_.BeginSearch();
  worker.join();
  EXPECT_NE(page, "");          // the site did answer
  EXPECT_EQ(slot_.Read(), "");  // but not to the search that runs now
}

TEST_F(SearchRequestOnDemo, AFailedAttemptLeavesTheAnswerOfAnotherAttempt) {
  const std::uint64_t search = slot_.BeginSearch();
  const std::string page = SearchRequest(slot_, {demo_.HostPort(), "西游", search});
  nf_test::RefusingPort refusing;
  const std::string host = "127.0.0.1:" + std::to_string(refusing.Port());
  EXPECT_EQ(SearchRequest(slot_, {host, "西游", search}), "");
  EXPECT_EQ(slot_.Read(), page);
}

}  // namespace
