#include "app/new_download_dialog.h"

#include <string>
#include <string_view>

#include "app/download_notice.h"
#include "app/save_book.h"
#include "app/window_names.h"
#include "sys/window_layer.h"

namespace {

// Outer size 303 x 150, a fixed frame with a close box only.
constexpr FormFrame kDialogFrame{kNewDownloadDialog, "新建下载", 303, 150, false};

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

  const SavedBook saved = DownloadAndSaveBook(address, directory, name);
  // After a failure the boxes stay for the user to correct and try again.
  if (!saved.Saved()) return ShowDownloadNotice(saved.notice);
  DestroyWindow(kNewDownloadDialog);
}
