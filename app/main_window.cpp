#include "app/main_window.h"

#include <string>
#include <vector>

#include <QCloseEvent>
#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QTreeWidget>

#include "app/download_panel.h"
#include "app/download_windows.h"
#include "app/globals.h"
#include "app/result_activation.h"
#include "app/result_list.h"
#include "app/search_loop.h"
#include "app/window_download.h"
#include "app/window_names.h"
#include "sys/font_warm_up.h"
#include "sys/ini_file.h"
#include "sys/paths.h"
#include "sys/png_icon.h"
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
  return PngIcon(QStringLiteral(":/icons/novelfetch-%1.png"), {16, 24, 32, 48, 64, 128, 256});
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
  // The controls lay out their texts at once: with the font configuration read, not twice.
  WaitFontWarmUp();
  AddControls();
  // The form's position (50, 50) is not used: the window starts in the middle of the screen.
  CentreOnScreen();
}

void MainWindow::AddControls() {
  QLineEdit* keyword = AddEditBox(kMainKeywordBox, {8, 8, 104, 24});
  QPushButton* search = AddButton(kMainSearchButton, {120, 8, 56, 24}, "搜索");
  OnClicked(search, [this] { OnSearchClicked(); });
  // Enter presses the button, which does nothing while it is disabled by a running search.
  connect(keyword, &QLineEdit::returnPressed, search, &QPushButton::click);
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
  // The panel was docked when both windows first showed, before a window manager had framed
  // them; with their frames known now, it goes against the edge again.
  DockDownloadPanel();
  const std::string marker = FirstRunMarker();
  if (ReadIniValue(marker, ".", ".", "0") != "0") return;
  NoticeOptions options;
  options.timeoutMs = kFirstRunNoticeMs;
  ShowTimedNotice(kFirstRunNotice, options);
  WriteIniValue(marker, ".", ".", "1");
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (WindowDownload::PutOffClose(this)) {
    event->ignore();
    return;
  }
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

// Qt's focus chain runs on from the last control into the windows this one owns (the panel,
// the dialog); the stops here are this window's controls, in the chain's order.
bool MainWindow::focusNextPrevChild(bool next) {
  QWidget* start = focusWidget() ? focusWidget() : this;
  auto step = [next](QWidget* at) {
    return next ? at->nextInFocusChain() : at->previousInFocusChain();
  };
  for (QWidget* at = step(start); at != start; at = step(at)) {
    if (at->window() == this && (at->focusPolicy() & Qt::TabFocus) && !at->focusProxy() &&
        at->isVisible() && at->isEnabled()) {
      at->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return true;
    }
  }
  return false;
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

  ShowResultRows(std::move(outcome.page));
  const std::int64_t elapsed = TickCount() - start;
  SetControlText(kMainWindow, kMainTimeLabel, "共用了" + std::to_string(elapsed) + "毫秒");
  SetEnabled(kMainWindow, kMainSearchButton, true);
}
