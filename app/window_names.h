#pragma once
// The program's windows, by the names the window layer knows them by.

#include <string_view>

inline constexpr std::string_view kMainWindow = "MainWindow";
inline constexpr std::string_view kDownloadPanel = "DownloadPanel";
inline constexpr std::string_view kNewDownloadDialog = "NewDownloadDialog";
