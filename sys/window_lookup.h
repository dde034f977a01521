#pragma once
// Finding a visible window of the program, and what a window says about itself.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sys/window_handle.h"

// Search limit used when none (or -1) is given: 8 h 45 min 36 s.
inline constexpr int kDefaultWindowSearchMs = 31'536'000;

// Longest class name that takes part in the class test (the platform's 50-byte buffer).
inline constexpr size_t kClassNameLimit = 49;

// This process's identifier.
std::int64_t CurrentProcessId();

// Cycles through the program's top-level windows (the active one first, then Qt's order),
// one window per pass, dispatching events between passes, until it finds a visible window of
// `processId` whose title contains `titleFilter`, or else whose class name contains
// `classFilter`, or else any visible one when either filter is omitted. Containment is a
// case-sensitive byte search over whole characters; an omitted filter counts as "", which any
// non-empty text contains. Null when nothing is found within `timeLimitMs` (omitted or -1:
// kDefaultWindowSearchMs; 0: no window is examined).
WindowHandle FindProcessWindow(std::int64_t processId,
                               std::optional<std::string_view> titleFilter = std::nullopt,
                               std::optional<std::string_view> classFilter = std::nullopt,
                               std::optional<int> timeLimitMs = std::nullopt);

// The identifier of the process that made the window; 0 for no window.
std::int64_t WindowProcessId(const WindowHandle& window);

// The window's title, code page 936; "" for no window.
std::string WindowTitle(const WindowHandle& window);

// The window's class (its C++ class name), at most kClassNameLimit bytes; "" for no window.
std::string WindowClassName(const WindowHandle& window);
