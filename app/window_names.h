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

// DownloadPanel's controls. The mode buttons keep their form names: 单选框2 is mode (1)
// (read the site's pages), 单选框1 mode (2) (compute the address).
inline constexpr std::string_view kPanelTabs = "高级选择夹1";
inline constexpr std::string_view kPanelList = "超级列表框1";
inline constexpr std::string_view kPanelModePages = "单选框2";
inline constexpr std::string_view kPanelModeComputed = "单选框1";
inline constexpr std::string_view kPanelDownloadButton = "按钮1";
inline constexpr std::string_view kPanelDirectoryLabel = "透明标签1";
inline constexpr std::string_view kPanelDirectoryBox = "目录框";
inline constexpr std::string_view kPanelBrowseButton = "图形按钮1";
// Not on the form: a running download's progress, under the buttons.
inline constexpr std::string_view kPanelProgressBar = "进度条1";
inline constexpr std::string_view kPanelProgressLabel = "透明标签2";

// NewDownloadDialog's controls.
inline constexpr std::string_view kDialogAddressLabel = "透明标签1";
inline constexpr std::string_view kDialogAddressBox = "网站1";
inline constexpr std::string_view kDialogNameLabel = "透明标签2";
inline constexpr std::string_view kDialogNameBox = "文件名1";
inline constexpr std::string_view kDialogDirectoryLabel = "透明标签3";
inline constexpr std::string_view kDialogDirectoryBox = "目录1";
inline constexpr std::string_view kDialogDownloadButton = "按钮1";
