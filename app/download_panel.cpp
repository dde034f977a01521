#include "app/download_panel.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <QIcon>

#include "app/download_notice.h"
#include "app/save_book.h"
#include "app/save_directory.h"
#include "app/window_names.h"
#include "sys/paths.h"
#include "sys/shell_services.h"
#include "sys/window_layer.h"

namespace {

// Outer size 300 x 490, a fixed frame with a close box only, no caption.
constexpr FormFrame kPanelFrame{kDownloadPanel, "", 300, 490, false};

const std::vector<ListColumn> kPanelColumns = {{"小说", 100}, {"地址", 180}};

// The page of 高级选择夹1 that holds the list.
constexpr int kListPage = 1;

QIcon FolderLockIcon() {
  QIcon icon;
  for (const int size : {24, 48}) {
    icon.addFile(QStringLiteral(":/icons/folder-lock-%1.png").arg(size), QSize(size, size));
  }
  return icon;
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
}

void DownloadPanel::OnCreated() {
  SetControlText(kDownloadPanel, kPanelDirectoryBox, StoredSaveDirectory());
}

void DownloadPanel::OnPositionChanged() { DockDownloadPanel(); }

bool DownloadPanel::OnCanClose() {
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
  const SavedBook saved = DownloadAndSaveBook(GetCell(kDownloadPanel, kPanelList, row, 1),
                                              ControlText(kDownloadPanel, kPanelDirectoryBox),
                                              GetCell(kDownloadPanel, kPanelList, row, 0));
  if (!saved.Saved()) ShowDownloadNotice(saved.notice);
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
