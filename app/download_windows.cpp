#include "app/download_windows.h"

#include "app/download_panel.h"
#include "app/new_download_dialog.h"
#include "app/window_names.h"
#include "sys/window_layer.h"

void RegisterDownloadWindows() {
  RegisterWindowFactory(kDownloadPanel, [](QWidget* parent) { return new DownloadPanel(parent); });
  RegisterWindowFactory(kNewDownloadDialog,
                        [](QWidget* parent) { return new NewDownloadDialog(parent); });
}

void OpenDownloadPanel() {
  LoadWindow(kDownloadPanel, kMainWindow);
  DockDownloadPanel();
}
