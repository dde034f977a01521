#include "app/program_main.h"

#include <chrono>
#include <filesystem>
#include <system_error>

#include <QApplication>

#include "app/globals.h"
#include "app/main_window.h"
#include "sys/paths.h"
#include "sys/shutdown_routines.h"
#include "sys/worker.h"
#include "web/web_settings.h"

namespace {

// How long the end of the program waits for workers it has asked to stop.
constexpr std::chrono::milliseconds kWorkerGrace{3000};

}  // namespace

int ProgramMain(const SiteConfig& site) {
  InitGlobals();
  RegisterShutdownRoutine(ReleaseGlobals);
  MainWindow mainWindow(site);
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
  WebGlobalInit();
  ApplySiteConfig(site);
  // A relative save directory resolves in the program's folder.
  std::error_code error;
  std::filesystem::current_path(NativePath(ProgramDirectory()), error);
  const int status = ProgramMain(site);
  StopAllWorkers(kWorkerGrace);
  RunShutdownRoutines();
  return status;
}
