#pragma once
// The program's start and end on the window thread.

#include "app/site_config.h"

// Creates the shared state, registers ReleaseGlobals as the shutdown routine, shows
// MainWindow, sets libcurl up on a thread once MainWindow has painted (WebGlobalInit) and runs
// the message loop until the program's last window has gone; returns 0, the exit status.
// Needs a QApplication.
int ProgramMain(const SiteConfig& site);

// The whole run around ProgramMain, as the window layer does it: hands the site
// configuration to the web layer, makes the program's folder the working directory, runs
// ProgramMain, asks any worker still running to stop and joins it (a worker that does not
// end within a short grace is left to the end of the process), then runs the shutdown
// routines. Returns ProgramMain's status.
int RunProgram(const SiteConfig& site);
