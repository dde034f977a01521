#include "sys/worker.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QEvent>

// Shared with every thread it starts, so a worker left running at exit never outlives it.
class WorkerRegistry : public std::enable_shared_from_this<WorkerRegistry> {
 public:
  static WorkerRegistry& Instance() {
    static const auto registry = std::make_shared<WorkerRegistry>();
    return *registry;
  }

  WorkerHandle Start(WorkerRoutine routine, int argument) {
    auto handle = std::make_shared<WorkerThread>();
    std::lock_guard lock(mutex_);
    ReapFinishedLocked();
    try {
      std::thread thread(
          [self = shared_from_this(), handle, routine = std::move(routine), argument] {
            self->Finish(*handle, routine(argument, handle->StopFlag()));
          });
      entries_.push_back({handle, std::move(thread)});
    } catch (const std::system_error&) {
      return nullptr;
    }
    return handle;
  }

  int Running() {
    std::lock_guard lock(mutex_);
    int running = 0;
    for (const Entry& entry : entries_) running += entry.handle->Finished() ? 0 : 1;
    return running;
  }

  int StopAll(std::chrono::milliseconds grace) {
    std::unique_lock lock(mutex_);
    for (Entry& entry : entries_) entry.handle->RequestStop();
    cv_.wait_for(lock, grace, [this] { return AllFinishedLocked(); });
    int left = 0;
    for (Entry& entry : entries_) {
      if (entry.handle->Finished()) {
        entry.thread.join();
      } else {
        entry.handle->orphaned_ = true;
        entry.thread.detach();
        ++left;
      }
    }
    entries_.clear();
    if (left > 0) qWarning("novelfetch: %d worker(s) still running at exit, left to the end", left);
    return left;
  }

 private:
  struct Entry {
    WorkerHandle handle;
    std::thread thread;
  };

  void Finish(WorkerThread& worker, int exitCode) {
    std::lock_guard lock(mutex_);
    worker.exitCode_.store(exitCode, std::memory_order_release);
    worker.finished_.store(true, std::memory_order_release);
    // Any posted event wakes a pumping wait on the window thread; the event itself is ignored.
    if (!worker.orphaned_) {
      if (QCoreApplication* app = QCoreApplication::instance()) {
        QCoreApplication::postEvent(app, new QEvent(WakeEventType()));
      }
    }
    cv_.notify_all();
  }

  static QEvent::Type WakeEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
  }

  bool AllFinishedLocked() const {
    for (const Entry& entry : entries_) {
      if (!entry.handle->Finished()) return false;
    }
    return true;
  }

  // Joins threads whose routine has returned, so the list holds only live workers.
  void ReapFinishedLocked() {
    std::vector<Entry> live;
    for (Entry& entry : entries_) {
      if (entry.handle->Finished()) {
        entry.thread.join();
      } else {
        live.push_back(std::move(entry));
      }
    }
    entries_ = std::move(live);
  }

  std::mutex mutex_;
  std::condition_variable cv_;
  std::vector<Entry> entries_;
};

WorkerHandle StartWorker(WorkerRoutine routine, int workerArgument) {
  if (!routine) return nullptr;
  return WorkerRegistry::Instance().Start(std::move(routine), workerArgument);
}

int RunningWorkerCount() { return WorkerRegistry::Instance().Running(); }

int StopAllWorkers(std::chrono::milliseconds grace) {
  return WorkerRegistry::Instance().StopAll(grace);
}
