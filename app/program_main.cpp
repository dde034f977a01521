#include "app/program_main.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <system_error>
#include <utility>

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include "app/globals.h"
#include "app/main_window.h"
#include "sys/paths.h"
#include "sys/shutdown_routines.h"
#include "sys/worker.h"
#include "web/web_settings.h"

namespace {

// How long the end of the program waits for workers it has asked to stop.
constexpr std::chrono::milliseconds kWorkerGrace{3000};

// Calls `then` once the window's first paint is done, from the event loop. Goes with the
// window.
class AfterFirstPaint : public QObject {
 public:
  AfterFirstPaint(QWidget& window, std::function<void()> then)
      : QObject(&window), then_(std::move(then)) {
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && then_) {
      watched->removeEventFilter(this);
      QTimer::singleShot(0, this, std::exchange(then_, nullptr));
    }
    return false;
  }

 private:
  std::function<void()> then_;
};

}  // namespace

int ProgramMain(const SiteConfig& site) {
  InitGlobals();
  RegisterShutdownRoutine(ReleaseGlobals);
  MainWindow mainWindow(site);
  // libcurl (and the many libraries it needs) loads and sets up on a thread once the window
  // is on the screen; the first transfer waits for it in WebGlobalInit. Loaded sooner, it
  // would hold up the window's own plugins, which wait for the dynamic loader it keeps busy.
  std::future<void> webSetUp;
  new AfterFirstPaint(mainWindow,
                      [&webSetUp] { webSetUp = std::async(std::launch::async, WebGlobalInit); });
  mainWindow.Load();
  // The loop ends when the last primary window has closed. Not through Qt's own quit on
  // last window: that asks every remaining window to close first, and a window that refuses
  // (the download panel, owned by MainWindow) would keep the program running for ever.
  QApplication::setQuitOnLastWindowClosed(false);
  const QMetaObject::Connection ending = QObject::connect(qApp, &QGuiApplication::lastWindowClosed,
                                                          qApp, [] { QCoreApplication::exit(0); });
  QApplication::exec();
  QObject::disconnect(ending);
  return 0;
}

int RunProgram(const SiteConfig& site) {
  // libcurl is set up by the first transfer at the latest (WebGlobalInit), not here: the
  // window shows without waiting for the library to load.
  ApplySiteConfig(site);
  // A relative save directory resolves in the program's folder.
  std::error_code error;
  std::filesystem::current_path(NativePath(ProgramDirectory()), error);
  const int status = ProgramMain(site);
  StopAllWorkers(kWorkerGrace);
  RunShutdownRoutines();
  return status;
}
