#include "sys/shell_services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QUrl>

#include "sys/qt_text.h"
#include "text/text_find.h"

std::string BrowseForFolder(std::string_view title) {
  // Modal to the whole program: every window is disabled while the browser is up.
  const QString folder = QFileDialog::getExistingDirectory(
      QApplication::activeWindow(), ToQString(title), QString(), QFileDialog::ShowDirsOnly);
  return folder.isEmpty() ? std::string() : FromQString(QDir::toNativeSeparators(folder));
}

bool OpenWebPage(std::string_view address) {
  if (address.empty()) return false;
  std::string url(address);
  if (TextFind(url, "://") == -1) url = "http://" + url;
  return QDesktopServices::openUrl(QUrl(ToQString(url), QUrl::TolerantMode));
}
