#pragma once
// Worker threads: a routine started on its own thread, and a registry of every worker still
// running so the program can ask them to stop and join them before it ends. Workers never
// touch the windows; what they need is read on the window thread and handed over.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

// What the caller holds of a started worker. Shared with the registry, so a handle stays
// valid after the thread has ended.
class WorkerThread {
 public:
  // True once the routine has returned.
  bool Finished() const { return finished_.load(std::memory_order_acquire); }
  // The routine's result, once Finished().
  int ExitCode() const { return exitCode_.load(std::memory_order_acquire); }
  // Asks the routine to end early; it sees this through its stop flag.
  void RequestStop() { stop_.store(true, std::memory_order_release); }
  // The flag a routine passes on, e.g. to FetchParams::abort.
  const std::atomic<bool>& StopFlag() const { return stop_; }

 private:
  friend class WorkerRegistry;
  std::atomic<bool> finished_{false};
  std::atomic<bool> stop_{false};
  std::atomic<int> exitCode_{0};
  bool orphaned_ = false;  // left running at shutdown: wakes no one (guarded by the registry)
};

// A null handle means that no worker was started.
using WorkerHandle = std::shared_ptr<WorkerThread>;

// The routine gets the worker argument and the worker's stop flag; its result is the
// worker's exit code.
using WorkerRoutine = std::function<int(int workerArgument, const std::atomic<bool>& stop)>;

// Starts `routine(workerArgument, stop)` on a new thread and returns at once; null when the
// thread could not be created. When the routine returns, the window thread is woken (see
// WaitPumping). Call on the window thread.
WorkerHandle StartWorker(WorkerRoutine routine, int workerArgument = 0);

// Number of started workers whose routine has not returned yet.
int RunningWorkerCount();

// At shutdown: asks every running worker to stop, joins those that end within `grace`, and
// lets any other run on detached (with a warning) so the program can end. Afterwards no
// worker wakes the window thread any more. Returns the number of workers left running.
int StopAllWorkers(std::chrono::milliseconds grace);
