#pragma once
// Runs the whole start-up (RunProgram) the way a user would: waits until MainWindow shows,
// lets the test look at the running program, then closes the window, which ends the run.

#include <functional>

#include <QTimer>

#include "app/program_main.h"
#include "app/window_names.h"
#include "sys/form_window.h"
#include "sys/window_layer.h"

// Returns RunProgram's exit status. `whileShown` runs once inside the message loop, as soon as
// MainWindow is visible. A run that has not ended after `giveUpMs` is ended by force, and
// `gaveUp` (when given) says so.
inline int RunProgramUntilClosed(const SiteConfig& site,
                                 const std::function<void()>& whileShown = {},
                                 int giveUpMs = 10'000, bool* gaveUp = nullptr) {
  bool closed = false;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    FormWindow* window = FindFormWindow(kMainWindow);
    if (closed || !window || !window->isVisible()) return;
    closed = true;
    poll.stop();
    if (whileShown) whileShown();
    window->close();
  });
  poll.start();
  QTimer giveUp;
  giveUp.setSingleShot(true);
  if (gaveUp) *gaveUp = false;
  QObject::connect(&giveUp, &QTimer::timeout, [&] {
    if (gaveUp) *gaveUp = true;
    QCoreApplication::exit(0);  // not quit(): a window that refuses to close would cancel it
  });
  giveUp.start(giveUpMs);
  return RunProgram(site);
}
