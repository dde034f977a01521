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
  QApplication::setQuitOnLastWindowClosed(true);
  QApplication::exec();
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
