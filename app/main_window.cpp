#include "app/main_window.h"

#include <string>
#include <vector>

#include <QCloseEvent>
#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QTreeWidget>

#include "app/download_windows.h"
#include "app/globals.h"
#include "app/result_activation.h"
#include "app/result_rows.h"
#include "app/search_loop.h"
#include "app/window_names.h"
#include "sys/ini_file.h"
#include "sys/paths.h"
#include "sys/qt_text.h"
#include "sys/shell_services.h"
#include "sys/tick_count.h"
#include "sys/timed_notice.h"
#include "sys/window_layer.h"

namespace {

// Outer size 698 x 490, a fixed frame with a minimise box, no caption.
constexpr FormFrame kMainWindowFrame{kMainWindow, "", 698, 490, true};

const std::vector<ListColumn> kResultColumnsShown = {{"名称", 150}, {"作者", 125}, {"简介", 100},
                                                     {"地址", 100}, {"日期", 100}, {"大小", 101}};

QIcon ApplicationIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/novelfetch-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

// "新宋体", 14 px, normal weight; black on white. Where the face is missing, Qt takes an
// installed CJK face instead.
void StyleResultList(QTreeWidget* list) {
  QFont font(ToQString("新宋体"));
  font.setPixelSize(14);
  font.setWeight(QFont::Normal);
  list->setFont(font);
  QPalette palette = list->palette();
  palette.setColor(QPalette::Text, Qt::black);
  palette.setColor(QPalette::Base, Qt::white);
  list->setPalette(palette);
}

std::string FirstRunMarker() {
  return SpecialFolder(kFolderTemporary) + std::string(kFirstRunMarkerFile);
}

void ShowAttempts(int attempts) {
  SetStatusText(kMainWindow, kMainStatusBar, "次数：" + std::to_string(attempts));
}

}  // namespace

MainWindow::MainWindow(SiteConfig site, QWidget* parent)
    : FormWindow(kMainWindowFrame, parent), site_(std::move(site)) {
  setWindowIcon(ApplicationIcon());
  RegisterDownloadWindows();
  AddControls();
  // The form's position (50, 50) is not used: the window starts in the middle of the screen.
  CentreOnScreen();
}

void MainWindow::AddControls() {
  AddEditBox(kMainKeywordBox, {8, 8, 104, 24});
  OnClicked(AddButton(kMainSearchButton, {120, 8, 56, 24}, "搜索"), [this] { OnSearchClicked(); });
  AddLabel(kMainTimeLabel, {184, 8, 96, 24}, "");
  QTreeWidget* list = AddListView(kMainResultList, {8, 40, 676, 400}, kResultColumnsShown,
                                  /*singleSelection=*/false);
  StyleResultList(list);
  OnCurrentRowChanged(list, [] { OnResultRowChanged(); });
  AddStatusBar(kMainStatusBar, {8, 441, 694, 20}, {694});
  ShowAttempts(0);
}

void MainWindow::OnCreated() {
  // Nothing is opened when the configuration names no page; the outcome is not looked at.
  if (!site_.startPage.empty()) OpenWebPage(site_.startPage);
}

void MainWindow::OnFirstActivated() {
  const std::string marker = FirstRunMarker();
  if (ReadIniValue(marker, ".", ".", "0") != "0") return;
  NoticeOptions options;
  options.timeoutMs = kFirstRunNoticeMs;
  ShowTimedNotice(kFirstRunNotice, options);
  WriteIniValue(marker, ".", ".", "1");
}

void MainWindow::closeEvent(QCloseEvent* event) {
  FormWindow::closeEvent(event);
  // The search ends at once: its controls go with the window.
  if (event->isAccepted() && search_) search_->Cancel();
}

void MainWindow::showEvent(QShowEvent* event) {
  FormWindow::showEvent(event);
  if (panelOpened_) return;
  panelOpened_ = true;
  OpenDownloadPanel();
  // The panel took the focus as it opened; the search box is where the user starts.
  activateWindow();
}

void MainWindow::OnSearchClicked() {
  if (search_) return;  // one search at a time; the button is disabled meanwhile anyway
  SetEnabled(kMainWindow, kMainSearchButton, false);
  ClearList(kMainWindow, kMainResultList);
  const std::int64_t start = TickCount();
  SearchLoop search(g_searchPage, site_.novelHost);
  search_ = &search;
  SearchOutcome outcome =
      search.Run([] { return ControlText(kMainWindow, kMainKeywordBox); }, ShowAttempts);
  search_ = nullptr;
  if (outcome.cancelled) return;

  std::string page = std::move(outcome.page);
  const std::vector<ResultRow> rows = CutResultRows(*g_resultRegex, page);
  g_searchPage.Replace(std::move(page));
  AddRows(kMainWindow, kMainResultList, rows);
  const std::int64_t elapsed = TickCount() - start;
  SetControlText(kMainWindow, kMainTimeLabel, "共用了" + std::to_string(elapsed) + "毫秒");
  SetEnabled(kMainWindow, kMainSearchButton, true);
}
