#pragma once
// A book's download run from a window's "下载" handler. The handler still blocks until the
// book is saved and no click, key or close box reaches any handler meanwhile, as the windows
// were drawn; but the transfer runs on a worker while the window thread keeps handling every
// event that is not user input (paints, timers, the window system's own traffic), so the
// windows repaint, show the progress and never look hung. Window thread only.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include <QPointer>
#include <QWidget>

#include "app/save_book.h"

class WorkerThread;

// How often the windows hear of a running download's progress, in milliseconds.
inline constexpr int kProgressIntervalMs = 100;

// What the windows show of a running download.
struct DownloadProgressShown {
  std::uint64_t received = 0;
  std::uint64_t total = 0;  // 0 while the server has not said it
  double bytesPerSecond = 0;
};

class WindowDownload {
 public:
  using Show = std::function<void(const DownloadProgressShown&)>;

  WindowDownload() = default;
  // Carries out the close requests put off during the download; they run once the handler
  // has returned to the event loop, so no window goes while its handler is still running.
  ~WindowDownload();
  WindowDownload(const WindowDownload&) = delete;
  WindowDownload& operator=(const WindowDownload&) = delete;

  // DownloadAndSaveBook, returning when it has ended. `show` runs on the window thread when
  // the download starts, about every kProgressIntervalMs while it runs and once at its end.
  SavedBook Run(std::string_view address, std::string_view directory, std::string_view bookName,
                const Show& show);

  // For a window's close handling: while a download runs, puts the request off until the
  // download's handler has returned and gives true (the caller ignores the request now);
  // otherwise false. Closes from the window system wait with the user's input anyway; this
  // covers those the program itself makes.
  static bool PutOffClose(QWidget* window);

 private:
  struct Transfer;

  SavedBook Wait(const WorkerThread& worker, const Transfer& transfer, const Show& show);

  std::vector<QPointer<QWidget>> putOff_;
};
