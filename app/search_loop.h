#pragma once
// The search command's attempts, shared by the windows and the command line. Each attempt
// reads the keyword, starts a worker that posts the form (SearchRequest) and waits for it
// while the caller's events go on being handled; attempts follow one another until the site
// answers with a page. Runs on the thread of the Qt application object (the window thread).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/search_page.h"
#include "sys/worker.h"

// Longest wait for one attempt's worker.
inline constexpr int kAttemptWaitMs = 1000;
// An attempt that ended early without a page is followed by the next one no sooner than this
// after its own start, so a site that refuses at once is not flooded.
inline constexpr int kAttemptSpacingMs = 1000;
// How long the end of a search waits for its workers once they have been told to stop.
inline constexpr int kWorkerStopGraceMs = 1500;

struct SearchOutcome {
  std::string page;        // the first non-empty answer; "" when none came
  int attempts = 0;        // attempts counted (a cancelled one is not)
  bool cancelled = false;  // Cancel() came during the run; any page is then dropped
};

class SearchLoop {
 public:
  // Called on the caller's thread at each attempt's start: the keyword to post.
  using KeywordSource = std::function<std::string()>;
  // Called after each attempt's wait, with the number of attempts so far.
  using AttemptDone = std::function<void(int attempts)>;

  // Answers go to `slot`, which must outlive every worker of the run (the program's
  // g_searchPage does). `attemptLimit` 0 lets attempts go on until a page arrives.
  SearchLoop(SearchPage& slot, std::string novelHost, int attemptLimit = 0);
  SearchLoop(const SearchLoop&) = delete;
  SearchLoop& operator=(const SearchLoop&) = delete;

  // Runs one search: starts it in `slot` (emptying the page), then attempts until a page
  // arrives, the limit is reached or Cancel() is called. Its workers still running at the end
  // are told to stop and waited for (at most kWorkerStopGraceMs, events handled meanwhile).
  SearchOutcome Run(const KeywordSource& keyword, const AttemptDone& attemptDone = {});

  // From a handler that runs inside Run's waits (the workers' final wait included): the search
  // ends at once, without another callback, and its workers' transfers are aborted.
  void Cancel();
  bool Cancelled() const { return cancelled_; }

 private:
  void StartAttempt(const std::string& keyword);
  void WaitUntil(std::int64_t deadline);
  void StopWorkers();

  SearchPage& slot_;
  std::string novelHost_;
  int attemptLimit_ = 0;
  std::uint64_t searchNumber_ = 0;
  bool cancelled_ = false;
  WorkerHandle current_;
  std::vector<WorkerHandle> workers_;  // started by this run and perhaps still running
};
