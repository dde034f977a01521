#pragma once
// The program's windows, and the controls the handlers address, by the names the window
// layer knows them by.

#include <string_view>

inline constexpr std::string_view kMainWindow = "MainWindow";
inline constexpr std::string_view kDownloadPanel = "DownloadPanel";
inline constexpr std::string_view kNewDownloadDialog = "NewDownloadDialog";

// MainWindow's controls.
inline constexpr std::string_view kMainKeywordBox = "编辑框1";
inline constexpr std::string_view kMainSearchButton = "按钮1";
inline constexpr std::string_view kMainTimeLabel = "透明标签1";
inline constexpr std::string_view kMainResultList = "超级列表框1";
inline constexpr std::string_view kMainStatusBar = "状态条1";
