#include "sys/wait_pumping.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <QCoreApplication>
#include <QTimer>

#include "sys/tick_count.h"

namespace {

using std::chrono::milliseconds;

// A routine that ends after `ms`, or earlier when asked to stop.
WorkerRoutine EndsAfter(int ms) {
  return [ms](int, const std::atomic<bool>& stop) {
    const auto end = std::chrono::steady_clock::now() + milliseconds(ms);
    while (!stop && std::chrono::steady_clock::now() < end) {
      std::this_thread::sleep_for(milliseconds(2));
    }
    return 7;
  };
}

// Blocks until the worker has ended (bounded), so no test leaves one behind.
void AwaitEnd(const WorkerHandle& worker) {
  for (int i = 0; i < 500 && !worker->Finished(); ++i)
    std::this_thread::sleep_for(milliseconds(10));
  ASSERT_TRUE(worker->Finished());
}

struct Timed {
  int result;
  std::int64_t elapsedMs;
};

Timed TimedWait(const WorkerHandle& worker, int limitMs) {
  const std::int64_t start = TickCount();
  const int result = WaitPumping(worker, limitMs);
  return {result, TickCount() - start};
}

TEST(WaitPumping, ReturnsWhenTheWorkerEnds) {
  const WorkerHandle worker = StartWorker(EndsAfter(200));
  ASSERT_TRUE(worker);
  const Timed wait = TimedWait(worker, 1000);
  EXPECT_EQ(wait.result, kWaitSignalled);
  EXPECT_GE(wait.elapsedMs, 150);
  EXPECT_LT(wait.elapsedMs, 900);
  EXPECT_EQ(worker->ExitCode(), 7);
}

TEST(WaitPumping, GivesUpAtTheLimitAndTheWorkerRunsOn) {
  const WorkerHandle worker = StartWorker(EndsAfter(1500));
  ASSERT_TRUE(worker);
  const Timed wait = TimedWait(worker, 300);
  EXPECT_EQ(wait.result, kWaitTimeout);
  EXPECT_GE(wait.elapsedMs, 300);
  EXPECT_LT(wait.elapsedMs, 1200);
  EXPECT_FALSE(worker->Finished());
  worker->RequestStop();
  AwaitEnd(worker);
}

TEST(WaitPumping, AWorkerEndingInThePassThatReachesTheLimitIsATimeout) {
  // The first pass handles an event that keeps the window thread busy past the limit; the
  // worker ends meanwhile, in that same pass.
  QTimer::singleShot(0, [] { std::this_thread::sleep_for(milliseconds(400)); });
  const WorkerHandle worker = StartWorker(EndsAfter(50));
  ASSERT_TRUE(worker);
  const Timed wait = TimedWait(worker, 200);
  EXPECT_TRUE(worker->Finished());
  EXPECT_EQ(wait.result, kWaitTimeout);
}

TEST(WaitPumping, NullHandleHandlesEventsUntilTheLimit) {
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(10);  // events keep arriving, as mouse moves would
  const Timed wait = TimedWait(nullptr, 300);
  EXPECT_EQ(wait.result, kWaitTimeout);
  EXPECT_GE(wait.elapsedMs, 300);
  EXPECT_LT(wait.elapsedMs, 1200);
  EXPECT_GE(ticks, 5);
}

TEST(WaitPumping, HandlesEventsPostedDuringTheWait) {
  bool posted = false;
  bool handled = false;
  QTimer::singleShot(50, [&] {
    posted = true;
    QMetaObject::invokeMethod(
        qApp, [&] { handled = true; }, Qt::QueuedConnection);
  });
  const WorkerHandle worker = StartWorker(EndsAfter(300));
  ASSERT_TRUE(worker);
  EXPECT_EQ(WaitPumping(worker, 2000), kWaitSignalled);
  EXPECT_TRUE(posted);
  EXPECT_TRUE(handled);
}

TEST(WaitPumping, AnEndedWorkerReturnsAtOnce) {
  const WorkerHandle worker = StartWorker(EndsAfter(0));
  AwaitEnd(worker);
  const Timed wait = TimedWait(worker, 1000);
  EXPECT_EQ(wait.result, kWaitSignalled);
  EXPECT_LT(wait.elapsedMs, 500);
}

TEST(Workers, RunAtOnceWithTheirArgument) {
  std::atomic<int> seen{-1};
  const WorkerHandle worker = StartWorker(
      [&](int argument, const std::atomic<bool>&) {
        seen = argument;
        return argument + 1;
      },
      41);
  ASSERT_TRUE(worker);
  AwaitEnd(worker);
  EXPECT_EQ(seen, 41);
  EXPECT_EQ(worker->ExitCode(), 42);
  EXPECT_FALSE(StartWorker(nullptr));
}

TEST(Workers, StopAllAsksRunningWorkersToStopAndJoinsThem) {
  const WorkerHandle a = StartWorker(EndsAfter(60'000));
  const WorkerHandle b = StartWorker(EndsAfter(60'000));
  ASSERT_TRUE(a && b);
  EXPECT_EQ(RunningWorkerCount(), 2);
  const std::int64_t start = TickCount();
  EXPECT_EQ(StopAllWorkers(milliseconds(5000)), 0);
  EXPECT_LT(TickCount() - start, 2000);
  EXPECT_TRUE(a->Finished() && b->Finished());
  EXPECT_EQ(RunningWorkerCount(), 0);
}

TEST(Workers, StopAllLetsAWorkerThatIgnoresTheFlagRunOn) {
  const WorkerHandle stubborn = StartWorker([](int, const std::atomic<bool>&) {
    std::this_thread::sleep_for(milliseconds(300));
    return 0;
  });
  ASSERT_TRUE(stubborn);
  EXPECT_EQ(StopAllWorkers(milliseconds(20)), 1);
  EXPECT_TRUE(stubborn->StopFlag());
  AwaitEnd(stubborn);
  // A worker started afterwards still wakes the wait.
  const WorkerHandle next = StartWorker(EndsAfter(100));
  EXPECT_EQ(WaitPumping(next, 2000), kWaitSignalled);
}

}  // namespace
