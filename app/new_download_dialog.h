#pragma once
// "新建下载": the download address, the book's name and the save directory, each open to
// correction, and "下载", which saves the book and closes the dialog. At most one exists;
// MainWindow owns it. While it downloads, its caption shows the progress: the fixed form has
// no room for more.

#include "sys/form_window.h"

struct DownloadProgressShown;

class NewDownloadDialog : public FormWindow {
  Q_OBJECT

 public:
  explicit NewDownloadDialog(QWidget* parent = nullptr);

 protected:
  // A close during a download is carried out once the download's handler has returned.
  bool OnCanClose() override;

 private:
  // Checks the directory, the address and the name in that order (an empty one is named in a
  // notice), then downloads and saves; closes after a success, stays open after a failure.
  void OnDownloadClicked();
  void ShowProgress(const DownloadProgressShown& progress);
};
