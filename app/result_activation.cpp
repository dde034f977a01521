#include "app/result_activation.h"

#include <string>

#include "app/book_address.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "app/window_names.h"
#include "sys/window_layer.h"
#include "web/site_patterns.h"

namespace {

std::string ResultCell(int row, int column) {
  return GetCell(kMainWindow, kMainResultList, row, column);
}

void AddComputedAddress(int row, const SiteConfig& site) {
  const std::string name = ResultCell(row, kColumnName);
  const std::string address =
      ComputedAddress(*g_yearRegex, site.fileHost, name, ResultCell(row, kColumnDate));
  g_panelRow = AddRow(kDownloadPanel, kPanelList);
  SetCell(kDownloadPanel, kPanelList, g_panelRow, 0, name);
  SetCell(kDownloadPanel, kPanelList, g_panelRow, 1, address);
}

void FillNewDownload(int row, const SiteConfig& site) {
  const std::string name = ResultCell(row, kColumnName);
  LoadWindow(kNewDownloadDialog, kMainWindow);
  // Blocks the window thread for the two page requests.
  const std::string address =
      ResolveDownloadAddress(ResultCell(row, kColumnPageAddress), name, site.novelHost);
  SetControlText(kNewDownloadDialog, kDialogAddressBox, address);
  SetControlText(kNewDownloadDialog, kDialogNameBox, name);
  SetControlText(kNewDownloadDialog, kDialogDirectoryBox,
                 ControlText(kDownloadPanel, kPanelDirectoryBox));
}

}  // namespace

void OnResultRowChanged() {
  if (!IsLoaded(kDownloadPanel)) return;
  const auto* mainWindow = qobject_cast<const MainWindow*>(FindFormWindow(kMainWindow));
  const int row = SelectedRow(kMainWindow, kMainResultList);
  // A row change that leaves nothing selected has no book to work on.
  if (!mainWindow || row == -1) return;
  const SiteConfig& site = mainWindow->Site();
  if (IsChecked(kDownloadPanel, kPanelModeComputed)) AddComputedAddress(row, site);
  if (IsChecked(kDownloadPanel, kPanelModePages)) FillNewDownload(row, site);
}
