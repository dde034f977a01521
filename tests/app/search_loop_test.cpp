// The attempt loop on its own, as the command line runs it: a limit, pacing and cancelling.
#include "app/search_loop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QTimer>

#include "sys/tick_count.h"
#include "sys/worker.h"
#include "tests/support/raw_http_server.h"

namespace {

TEST(SearchLoop, StopsAtTheAttemptLimitWithEachEarlyFailurePacedToASecond) {
  nf_test::RefusingPort refusing;
  SearchPage slot;
  slot.Replace("an answer from before");
  SearchLoop loop(slot, "127.0.0.1:" + std::to_string(refusing.Port()), 2);
  int keywordReads = 0;
  std::vector<int> counted;
  const std::int64_t start = TickCount();
  const SearchOutcome outcome = loop.Run(
      [&] {
        ++keywordReads;
        return std::string("西游");
      },
      [&](int attempts) { counted.push_back(attempts); });
  const std::int64_t elapsed = TickCount() - start;
  EXPECT_EQ(outcome.attempts, 2);
  EXPECT_EQ(outcome.page, "");
  EXPECT_FALSE(outcome.cancelled);
  EXPECT_EQ(keywordReads, 2);
  EXPECT_EQ(counted, (std::vector<int>{1, 2}));
  EXPECT_GE(elapsed, kAttemptSpacingMs);      // the second attempt waited for its turn
  EXPECT_LT(elapsed, 2 * kAttemptSpacingMs);  // and nothing waits after the last one
  EXPECT_EQ(slot.Read(), "");                 // the search started from an empty page
}

TEST(SearchLoop, CancelEndsTheSearchAtOnceAndAbortsItsWorker) {
  nf_test::RawHttpServer silent(nf_test::CannedReply{"", {}, nf_test::CannedReply::Then::kHold});
  SearchPage slot;
  SearchLoop loop(slot, silent.HostPort());
  bool counted = false;
  QTimer::singleShot(200, [&] { loop.Cancel(); });
  const std::int64_t start = TickCount();
  const SearchOutcome outcome =
      loop.Run([] { return std::string("西游"); }, [&](int) { counted = true; });
  EXPECT_LT(TickCount() - start, kAttemptWaitMs);  // did not wait out the attempt
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_EQ(outcome.attempts, 0);
  EXPECT_EQ(outcome.page, "");
  EXPECT_FALSE(counted);
  EXPECT_EQ(silent.RequestCount(), 1u);
  EXPECT_EQ(RunningWorkerCount(), 0);  // the worker has ended before Run returned
}

}  // namespace
