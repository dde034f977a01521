#pragma once
// The commands of the command line: the windows' job on the terminal, through the routines
// the windows use (the search attempts and result cutting, both ways of working out a
// download address, the download and safe write).

#include "app/command_line.h"
#include "app/site_config.h"

// Runs `commandLine`'s command (not the windows) against `site`. On success prints its
// result on stdout (UTF-8) and returns kExitSuccess; otherwise prints one line saying why on
// stderr and returns kExitJobFailed. Needs a QCoreApplication (no display); every search
// worker has ended or been let go when it returns.
int RunCommand(const CommandLine& commandLine, const SiteConfig& site);

// Where --dir points when it is not given: the save directory kept in "To configure.ini" in
// the settings folder, else the current folder (with a trailing separator, or "" when its
// name does not fit code page 936, which also means the current folder).
std::string DefaultSaveDirectory();
