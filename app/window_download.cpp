#include "app/window_download.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <utility>

#include <QApplication>
#include <QTimer>

#include "app/transfer_rate.h"
#include "sys/tick_count.h"
#include "sys/worker.h"

namespace {

WindowDownload* running = nullptr;  // the download whose handler is waiting, if any

// The wait cursor over every window while the download runs: clicks wait meanwhile.
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::BusyCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

struct WindowDownload::Transfer {
  std::atomic<std::uint64_t> received{0};
  std::atomic<std::uint64_t> total{0};
  SavedBook saved;  // the worker's, read once it has finished
};

WindowDownload::~WindowDownload() {
  for (const QPointer<QWidget>& window : putOff_) {
    if (!window) continue;
    QMetaObject::invokeMethod(
        window, [window] { window->close(); }, Qt::QueuedConnection);
  }
}

SavedBook WindowDownload::Run(std::string_view address, std::string_view directory,
                              std::string_view bookName, const Show& show) {
  auto transfer = std::make_shared<Transfer>();
  WorkerHandle worker =
      StartWorker([transfer, address = std::string(address), directory = std::string(directory),
                   name = std::string(bookName)](int, const std::atomic<bool>& stop) {
        transfer->saved = DownloadAndSaveBook(
            address, directory, name, [&](std::uint64_t received, std::uint64_t total) {
              transfer->received.store(received, std::memory_order_relaxed);
              transfer->total.store(total, std::memory_order_relaxed);
              return !stop.load();
            });
        return 0;
      });
  // Without a thread to spare, the download blocks the window thread outright.
  if (!worker) return DownloadAndSaveBook(address, directory, bookName);

  const BusyCursor busy;
  WindowDownload* outer = std::exchange(running, this);
  SavedBook saved = Wait(*worker, *transfer, show);
  running = outer;
  return saved;
}

SavedBook WindowDownload::Wait(const WorkerThread& worker, const Transfer& transfer,
                               const Show& show) {
  // Wakes the wait below at least this often; a worker that ends wakes it too.
  QTimer tick;
  tick.start(kProgressIntervalMs);
  TransferRate rate;
  auto showNow = [&](std::int64_t now) {
    const std::uint64_t received = transfer.received.load(std::memory_order_relaxed);
    rate.Add(now, received);
    show({received, transfer.total.load(std::memory_order_relaxed), rate.BytesPerSecond()});
  };
  std::int64_t shownAt = TickCount();
  showNow(shownAt);
  while (!worker.Finished()) {
    // Paints, timers and the window system's own traffic, but no click and no key: those
    // wait in the queue until the download has ended.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    const std::int64_t now = TickCount();
    if (now - shownAt >= kProgressIntervalMs) {
      shownAt = now;
      showNow(now);
    }
  }
  showNow(TickCount());
  return transfer.saved;
}

bool WindowDownload::PutOffClose(QWidget* window) {
  if (!running || !window) return false;
  std::vector<QPointer<QWidget>>& putOff = running->putOff_;
  if (std::find(putOff.begin(), putOff.end(), window) == putOff.end()) putOff.emplace_back(window);
  return true;
}
