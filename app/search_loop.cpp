#include "app/search_loop.h"

#include <algorithm>
#include <utility>

#include "app/search_request.h"
#include "sys/tick_count.h"
#include "sys/wait_pumping.h"
#include "sys/window_layer.h"

SearchLoop::SearchLoop(SearchPage& slot, std::string novelHost, int attemptLimit)
    : slot_(slot), novelHost_(std::move(novelHost)), attemptLimit_(attemptLimit) {}

SearchOutcome SearchLoop::Run(const KeywordSource& keyword, const AttemptDone& attemptDone) {
  SearchOutcome outcome;
  searchNumber_ = slot_.BeginSearch();
  while (!cancelled_) {
    const std::int64_t attemptStart = TickCount();
    StartAttempt(keyword ? keyword() : std::string());
    WaitPumping(current_, kAttemptWaitMs);
    if (cancelled_) break;
    ++outcome.attempts;
    if (attemptDone) attemptDone(outcome.attempts);
    outcome.page = slot_.Read();
    if (!outcome.page.empty() || outcome.attempts == attemptLimit_) break;
    WaitUntil(attemptStart + kAttemptSpacingMs);
  }
  StopWorkers();
  // Checked after the workers' wait too: the window may have been closed during it.
  outcome.cancelled = cancelled_;
  if (cancelled_) outcome.page.clear();
  return outcome;
}

void SearchLoop::Cancel() {
  cancelled_ = true;
  for (const WorkerHandle& worker : workers_) worker->RequestStop();
}

void SearchLoop::StartAttempt(const std::string& keyword) {
  std::erase_if(workers_, [](const WorkerHandle& worker) { return worker->Finished(); });
  // The worker gets its own copy of what it needs: it never reads a control.
  SearchAttempt attempt{novelHost_, keyword, searchNumber_};
  SearchPage& slot = slot_;
  current_ = StartWorker([&slot, attempt = std::move(attempt)](int, const std::atomic<bool>& stop) {
    SearchRequest(slot, attempt, &stop);
    return 0;
  });
  // A worker that could not start leaves a null handle: the wait then runs its full time.
  if (current_) workers_.push_back(current_);
}

// Handles events until `deadline`; a Cancel() among them ends the wait at once.
void SearchLoop::WaitUntil(std::int64_t deadline) {
  while (!cancelled_) {
    const std::int64_t left = deadline - TickCount();
    if (left <= 0) return;
    WaitForEvents(static_cast<int>(left));
  }
}

// Answers that come now could no longer be used, and the slot must not be written once the
// run has returned.
void SearchLoop::StopWorkers() {
  for (const WorkerHandle& worker : workers_) worker->RequestStop();
  const std::int64_t deadline = TickCount() + kWorkerStopGraceMs;
  for (const WorkerHandle& worker : workers_) {
    const std::int64_t left = deadline - TickCount();
    if (left > 0 && !worker->Finished()) WaitPumping(worker, static_cast<int>(left));
  }
  workers_.clear();
  current_.reset();
}
