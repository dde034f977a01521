#pragma once
// The narrow window docked against MainWindow's right edge: the choice between the two ways
// of getting a download address, the list of computed addresses, the save directory and the
// "下载" button. It refuses every close request; it goes when its owner, MainWindow, goes.
// Under the buttons it shows a running download's progress, then for a few seconds where the
// book was saved.

#include <string_view>

#include "sys/form_window.h"

class QTimer;
struct DownloadProgressShown;
struct SavedBook;

inline constexpr std::string_view kPanelCloseNotice = "点这个没效果的！！！纯用来看的";
inline constexpr std::string_view kPanelNoRowNotice = "请先在列表中选中要下载的小说！";
inline constexpr std::string_view kPanelSavedPrefix = "已保存到：";
// How long the panel says where a book was saved.
inline constexpr int kPanelSavedShownMs = 5000;

class DownloadPanel : public FormWindow {
  Q_OBJECT

 public:
  explicit DownloadPanel(QWidget* parent = nullptr);

 protected:
  // The save directory from "To configure.ini", or the desktop folder.
  void OnCreated() override;
  // Back against MainWindow's right edge, top edges aligned.
  void OnPositionChanged() override;
  // Says so for 3000 ms and stays open.
  bool OnCanClose() override;

 private:
  void AddControls();
  void AddProgressControls();
  void OnBrowseClicked();
  void OnDownloadClicked();
  void ShowProgress(const DownloadProgressShown& progress);
  // After a success: where the book went, for kPanelSavedShownMs. Otherwise nothing: a
  // failure's notice is the only message.
  void ShowOutcome(const SavedBook& saved);

  QTimer* savedShown_ = nullptr;
};

// Puts the panel against MainWindow's right edge, tops aligned; nothing unless both are loaded.
void DockDownloadPanel();
