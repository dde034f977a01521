#pragma once
// The state the windows share, created by InitGlobals at start and released once by
// ReleaseGlobals after the message loop.

#include <memory>
#include <string_view>

#include "app/search_page.h"
#include "text/regex_object.h"

// Address computation of mode (2) runs its date search on it (window thread only).
extern std::unique_ptr<RegexObject> g_yearRegex;
// Cuts the search answer into result rows (window thread only).
extern std::unique_ptr<RegexObject> g_resultRegex;
// The last search answer; written by search workers, so only through its lock.
extern SearchPage g_searchPage;
// Index of the row last added to the download panel's list.
extern int g_panelRow;

// Creates g_yearRegex, then g_resultRegex.
void InitGlobals();

// The shutdown routine: releases g_yearRegex, then takes g_searchPage out under its lock,
// then releases g_resultRegex. An empty or never-created variable is skipped.
void ReleaseGlobals();

// For tests: called with a short note at each creation and release step above.
using GlobalsTrace = void (*)(std::string_view step);
void SetGlobalsTrace(GlobalsTrace trace);
