#include "app/new_download_dialog.h"

#include <string>
#include <string_view>

#include "app/download_notice.h"
#include "app/progress_text.h"
#include "app/save_book.h"
#include "app/window_download.h"
#include "app/window_names.h"
#include "sys/qt_text.h"
#include "sys/window_layer.h"

namespace {

// Outer size 303 x 150, a fixed frame with a close box only.
constexpr std::string_view kDialogCaption = "新建下载";
constexpr FormFrame kDialogFrame{kNewDownloadDialog, kDialogCaption, 303, 150, false};

std::string BoxText(std::string_view box) { return ControlText(kNewDownloadDialog, box); }

}  // namespace

NewDownloadDialog::NewDownloadDialog(QWidget* parent) : FormWindow(kDialogFrame, parent) {
  AddLabel(kDialogAddressLabel, {8, 8, 56, 24}, "网  站：");
  AddEditBox(kDialogAddressBox, {64, 8, 224, 24});
  AddLabel(kDialogNameLabel, {8, 48, 56, 24}, "文件名：");
  AddEditBox(kDialogNameBox, {64, 48, 224, 24});
  AddLabel(kDialogDirectoryLabel, {8, 88, 56, 24}, "下载到：");
  AddEditBox(kDialogDirectoryBox, {64, 88, 160, 24});
  OnClicked(AddButton(kDialogDownloadButton, {232, 88, 56, 24}, "下载"),
            [this] { OnDownloadClicked(); });
  CentreOnScreen();
}

void NewDownloadDialog::OnDownloadClicked() {
  // Whole texts against "": a box of spaces passes.
  const std::string directory = BoxText(kDialogDirectoryBox);
  if (directory.empty()) return ShowDownloadNotice("请输入目录！");
  const std::string address = BoxText(kDialogAddressBox);
  if (address.empty()) return ShowDownloadNotice("请输入网站！");
  const std::string name = BoxText(kDialogNameBox);
  if (name.empty()) return ShowDownloadNotice("请输入文件名！");

  WindowDownload download;
  const SavedBook saved =
      download.Run(address, directory, name,
                   [this](const DownloadProgressShown& progress) { ShowProgress(progress); });
  setWindowTitle(ToQString(kDialogCaption));
  // After a failure the boxes stay for the user to correct and try again.
  if (!saved.Saved()) return ShowDownloadNotice(saved.notice);
  DestroyWindow(kNewDownloadDialog);
}

bool NewDownloadDialog::OnCanClose() { return !WindowDownload::PutOffClose(this); }

// "新建下载 45%（9.0 MB / 20.0 MB，1.2 MB/秒）": the percent first, in case the title bar cuts
// the rest.
void NewDownloadDialog::ShowProgress(const DownloadProgressShown& progress) {
  std::string caption(kDialogCaption);
  const int percent = ProgressPercent(progress.received, progress.total);
  if (percent >= 0) caption += " " + std::to_string(percent) + "%";
  caption += "（" + ProgressText(progress.received, progress.total, progress.bytesPerSecond) + "）";
  setWindowTitle(ToQString(caption));
}
