#include "app/download_panel.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <QFontMetrics>
#include <QIcon>
#include <QProgressBar>
#include <QTimer>

#include "app/download_notice.h"
#include "app/progress_text.h"
#include "app/save_book.h"
#include "app/save_directory.h"
#include "app/window_download.h"
#include "app/window_names.h"
#include "sys/paths.h"
#include "sys/png_icon.h"
#include "sys/qt_text.h"
#include "sys/shell_services.h"
#include "sys/window_layer.h"

namespace {

// Outer size 300 x 490, a fixed frame with a close box only, no caption.
constexpr FormFrame kPanelFrame{kDownloadPanel, "", 300, 490, false};

const std::vector<ListColumn> kPanelColumns = {{"小说", 100}, {"地址", 180}};

// The page of 高级选择夹1 that holds the list.
constexpr int kListPage = 1;

QIcon FolderLockIcon() { return PngIcon(QStringLiteral(":/icons/folder-lock-%1.png"), {24, 48}); }

QProgressBar* ProgressBar() {
  return qobject_cast<QProgressBar*>(FindControl(kDownloadPanel, kPanelProgressBar));
}

QLabel* ProgressLabel() {
  return qobject_cast<QLabel*>(FindControl(kDownloadPanel, kPanelProgressLabel));
}

bool IsDirectory(const std::string& folder) {
  std::error_code error;
  return !folder.empty() && std::filesystem::is_directory(NativePath(folder), error);
}

}  // namespace

DownloadPanel::DownloadPanel(QWidget* parent) : FormWindow(kPanelFrame, parent) {
  AddControls();
  // Centred like every form; the one who opens it docks it right after.
  CentreOnScreen();
}

void DownloadPanel::AddControls() {
  QTabWidget* tabs = AddTabControl(kPanelTabs, {8, 8, 280, 152}, 2);
  AddListView(kPanelList, {0, 0, 280, 152}, kPanelColumns, /*singleSelection=*/true,
              tabs->widget(kListPage));
  tabs->setCurrentIndex(kListPage);
  // Siblings, so the two make one group: checking one unchecks the other.
  AddRadioButton(kPanelModePages, {8, 168, 104, 25}, "获取方式（1）", /*checked=*/true);
  AddRadioButton(kPanelModeComputed, {128, 168, 104, 25}, "获取方式（2）", /*checked=*/false);
  OnClicked(AddButton(kPanelDownloadButton, {232, 168, 56, 24}, "下载"),
            [this] { OnDownloadClicked(); });
  AddLabel(kPanelDirectoryLabel, {0, 432, 72, 24}, "保存路径：");
  AddEditBox(kPanelDirectoryBox, {64, 432, 192, 24});
  OnClicked(AddPictureButton(kPanelBrowseButton, {264, 432, 24, 24}, FolderLockIcon()),
            [this] { OnBrowseClicked(); });
  AddProgressControls();
}

// Not on the form: the space between the buttons and the directory box takes a bar and a
// line of text, both empty until a download runs.
void DownloadPanel::AddProgressControls() {
  auto* bar = new QProgressBar(this);
  bar->setObjectName(ToQString(kPanelProgressBar));
  bar->setGeometry(8, 200, 280, 20);
  bar->hide();
  AddLabel(kPanelProgressLabel, {8, 224, 280, 24}, "");
  savedShown_ = new QTimer(this);
  savedShown_->setSingleShot(true);
  connect(savedShown_, &QTimer::timeout, this, [] {
    ProgressLabel()->clear();
    ProgressLabel()->setToolTip({});
  });
}

void DownloadPanel::OnCreated() {
  SetControlText(kDownloadPanel, kPanelDirectoryBox, StoredSaveDirectory());
}

void DownloadPanel::OnPositionChanged() { DockDownloadPanel(); }

bool DownloadPanel::OnCanClose() {
  // During a download the notice waits: its box would take clicks while the handler runs.
  if (WindowDownload::PutOffClose(this)) return false;
  ShowDownloadNotice(kPanelCloseNotice, NativeHandle(kDownloadPanel));
  return false;
}

void DownloadPanel::OnBrowseClicked() {
  std::string folder = BrowseForFolder("");
  // A cancelled browser stores and shows the empty directory.
  if (IsDirectory(folder)) folder += kPathSeparator;
  std::string failure;
  if (!StoreSaveDirectory(folder, &failure)) ShowDownloadNotice("保存设置失败：" + failure);
  SetControlText(kDownloadPanel, kPanelDirectoryBox, folder);
}

void DownloadPanel::OnDownloadClicked() {
  const int row = SelectedRow(kDownloadPanel, kPanelList);
  if (row == -1) {
    ShowDownloadNotice(kPanelNoRowNotice);
    return;
  }
  WindowDownload download;
  savedShown_->stop();
  const SavedBook saved = download.Run(
      GetCell(kDownloadPanel, kPanelList, row, 1), ControlText(kDownloadPanel, kPanelDirectoryBox),
      GetCell(kDownloadPanel, kPanelList, row, 0),
      [this](const DownloadProgressShown& progress) { ShowProgress(progress); });
  ShowOutcome(saved);
  if (!saved.Saved()) ShowDownloadNotice(saved.notice);
}

void DownloadPanel::ShowProgress(const DownloadProgressShown& progress) {
  QProgressBar* bar = ProgressBar();
  const int percent = ProgressPercent(progress.received, progress.total);
  // Without a total the bar runs as a busy indicator.
  bar->setRange(0, percent < 0 ? 0 : 100);
  bar->setValue(std::max(percent, 0));
  bar->show();
  SetControlText(kDownloadPanel, kPanelProgressLabel,
                 ProgressText(progress.received, progress.total, progress.bytesPerSecond));
}

void DownloadPanel::ShowOutcome(const SavedBook& saved) {
  ProgressBar()->hide();
  QLabel* label = ProgressLabel();
  if (!saved.Saved()) {
    label->clear();
    return;
  }
  const QString line = ToQString(std::string(kPanelSavedPrefix) + saved.path);
  label->setText(label->fontMetrics().elidedText(line, Qt::ElideMiddle, label->width()));
  label->setToolTip(line);
  savedShown_->start(kPanelSavedShownMs);
}

void DockDownloadPanel() {
  if (!IsLoaded(kMainWindow) || !IsLoaded(kDownloadPanel)) return;
  const int left = WindowLeft(kMainWindow) + WindowWidth(kMainWindow);
  const int top = WindowTop(kMainWindow);
  // The move raises the position event again; the panel is in place then and it stops.
  if (WindowLeft(kDownloadPanel) != left || WindowTop(kDownloadPanel) != top) {
    MoveWindow(kDownloadPanel, left, top);
  }
}
