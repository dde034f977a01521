// A download from the panel or the dialog: the progress the windows show while it runs, the
// clicks that wait until it has ended, and close requests that arrive meanwhile.
#include "app/window_download.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <qpa/qwindowsysteminterface.h>

#include "app/download_panel.h"
#include "sys/qt_text.h"
#include "tests/app/download_fixture.h"

namespace {

// The demo's generated book, sent slowly enough to watch: about a second.
constexpr std::string_view kSlowBook = "演示长卷";
constexpr std::uint64_t kSlowBookBytes = 256 * 1024;
constexpr int kSlowBytesPerSecond = 256 * 1024;
constexpr int kWatchMs = 40;

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) : widget_(widget) { widget_->installEventFilter(this); }
  ~PaintCounter() override { widget_->removeEventFilter(this); }
  int Count() const { return count_; }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count_;
    return false;
  }

 private:
  QWidget* widget_;
  int count_ = 0;
};

// A click as the window system delivers it: queued, and handled only when the window thread
// takes user input again.
void PostClick(std::string_view window, std::string_view control) {
  QWidget* widget = FindControl(window, control);
  QWidget* top = widget->window();
  const QPointF local = widget->mapTo(top, widget->rect().center());
  const QPointF global = top->mapToGlobal(local);
  using Interface = QWindowSystemInterface;
  Interface::handleMouseEvent<Interface::AsynchronousDelivery>(
      top->windowHandle(), local, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress);
  Interface::handleMouseEvent<Interface::AsynchronousDelivery>(
      top->windowHandle(), local, global, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease);
}

// The close box pressed, as the window manager tells it.
void PostClose(std::string_view window) {
  QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::AsynchronousDelivery>(
      FindFormWindow(window)->windowHandle());
}

class SlowDownload : public DownloadSideOnDemo {
 protected:
  void SetUp() override {
    DownloadSideOnDemo::SetUp();
    DemoSiteOptions options;
    options.largeBookBytes = kSlowBookBytes;
    options.downloadBytesPerSecond = kSlowBytesPerSecond;
    ASSERT_TRUE(demo_.SetOptions(options));
  }

  // The slow book as the panel's selected row.
  void AddSlowRow() const {
    const int row = AddRow(kDownloadPanel, kPanelList);
    SetCell(kDownloadPanel, kPanelList, row, 0, kSlowBook);
    SetCell(kDownloadPanel, kPanelList, row, 1, FileAddress(kSlowBook));
    SetSelectedRow(kDownloadPanel, kPanelList, row);
  }

  // The dialog open and filled for the slow book.
  void OpenSlowDialog() const {
    LoadWindow(kNewDownloadDialog, kMainWindow);
    SetControlText(kNewDownloadDialog, kDialogAddressBox, FileAddress(kSlowBook));
    SetControlText(kNewDownloadDialog, kDialogNameBox, kSlowBook);
    SetControlText(kNewDownloadDialog, kDialogDirectoryBox, books_.Text());
  }

  // Runs `look` every kWatchMs whenever the window thread handles events; each run is counted.
  void Watch(std::function<void(int tick)> look) {
    watch_.callOnTimeout([this, look = std::move(look)] { look(++ticks_); });
    watch_.start(kWatchMs);
  }

  // Presses "下载" in `window`; returns once its handler has, with the watch stopped.
  void Download(std::string_view window) {
    Click(window, window == kDownloadPanel ? kPanelDownloadButton : kDialogDownloadButton);
    watch_.stop();
  }

  static std::string ProgressLine() { return ControlText(kDownloadPanel, kPanelProgressLabel); }
  static QProgressBar* Bar() {
    return qobject_cast<QProgressBar*>(FindControl(kDownloadPanel, kPanelProgressBar));
  }

  QTimer watch_;
  int ticks_ = 0;
};

TEST_F(SlowDownload, ThePanelShowsProgressAndRepaintsWhileAClickWaitsForTheEnd) {
  AddSlowRow();
  PaintCounter paints(FindControl(kDownloadPanel, kPanelProgressLabel));
  std::vector<std::string> lines;
  std::vector<int> percents;
  std::vector<bool> checkedMeanwhile;
  Watch([&](int tick) {
    lines.push_back(ProgressLine());
    percents.push_back(Bar()->isVisible() ? Bar()->value() : -1);
    if (tick == 3) PostClick(kDownloadPanel, kPanelModeComputed);
    if (tick > 3) checkedMeanwhile.push_back(IsChecked(kDownloadPanel, kPanelModeComputed));
  });
  Download(kDownloadPanel);

  EXPECT_EQ(SavedFile(kSlowBook), BookBytes(Book(kSlowBook)));
  EXPECT_TRUE(notices_.Seen().empty());
  // The window thread kept handling events: the watch ran all along, the line moved on and
  // was painted again and again.
  EXPECT_GE(ticks_, 8);
  const std::set<std::string> distinct(lines.begin(), lines.end());
  EXPECT_GE(distinct.size(), 4u);
  for (const std::string& line : distinct) {
    EXPECT_TRUE(line == "正在连接……" || line.find(" / 256.0 KB") != std::string::npos)
        << GbkToUtf8(line);
  }
  EXPECT_GE(paints.Count(), 4);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_GT(*std::max_element(percents.begin(), percents.end()), 0);
  // The click waited in the queue for as long as the download ran.
  ASSERT_FALSE(checkedMeanwhile.empty());
  EXPECT_EQ(std::count(checkedMeanwhile.begin(), checkedMeanwhile.end(), true), 0);
  EXPECT_FALSE(IsChecked(kDownloadPanel, kPanelModeComputed));
  ProcessPendingEvents();
  EXPECT_TRUE(IsChecked(kDownloadPanel, kPanelModeComputed));
  // Afterwards: where the book went, and no bar.
  EXPECT_FALSE(Bar()->isVisible());
  const std::string saved =
      std::string(kPanelSavedPrefix) + books_.Text() + std::string(kSlowBook) + ".txt";
  EXPECT_EQ(FromQString(FindControl(kDownloadPanel, kPanelProgressLabel)->toolTip()), saved);
  EXPECT_TRUE(ProgressLine().starts_with(kPanelSavedPrefix)) << GbkToUtf8(ProgressLine());
}

TEST_F(SlowDownload, ThePanelRepaintsWhileTheServerHasNotAnsweredYet) {
  DemoSiteOptions options;
  options.delayMs = 800;
  options.delayEveryRequest = true;
  ASSERT_TRUE(demo_.SetOptions(options));
  AddSlowRow();
  std::vector<std::string> lines;
  Watch([&](int) { lines.push_back(ProgressLine()); });
  Download(kDownloadPanel);
  EXPECT_EQ(SavedFile(kSlowBook), BookBytes(Book(kSlowBook)));
  EXPECT_GE(ticks_, 8);
  EXPECT_GE(std::count(lines.begin(), lines.end(), std::string("正在连接……")), 5);
}

TEST_F(SlowDownload, AfterAFailureTheNoticeIsTheOnlyMessage) {
  AddSlowRow();
  DemoSiteOptions options;
  options.downloadStatus = 500;
  ASSERT_TRUE(demo_.SetOptions(options));
  Download(kDownloadPanel);
  EXPECT_EQ(NoticeTexts(), std::vector<std::string>{"下载失败：HTTP 500"});
  EXPECT_EQ(ProgressLine(), "");
  EXPECT_FALSE(Bar()->isVisible());
}

TEST_F(SlowDownload, TheDialogsCaptionShowsProgressUntilItCloses) {
  OpenSlowDialog();
  std::vector<std::string> captions;
  Watch([&](int) {
    captions.push_back(FromQString(FindFormWindow(kNewDownloadDialog)->windowTitle()));
  });
  Download(kNewDownloadDialog);
  EXPECT_EQ(SavedFile(kSlowBook), BookBytes(Book(kSlowBook)));
  EXPECT_FALSE(IsLoaded(kNewDownloadDialog));
  const auto withPercent =
      std::count_if(captions.begin(), captions.end(), [](const std::string& c) {
        return c.starts_with("新建下载 ") && c.find("%（") != std::string::npos &&
               c.find(" / 256.0 KB") != std::string::npos;
      });
  EXPECT_GE(withPercent, 3);
}

TEST_F(SlowDownload, AFailedDialogDownloadGivesItsCaptionBack) {
  OpenSlowDialog();
  DemoSiteOptions options;
  options.downloadStatus = 404;
  ASSERT_TRUE(demo_.SetOptions(options));
  Download(kNewDownloadDialog);
  EXPECT_EQ(NoticeTexts(), std::vector<std::string>{"下载失败：HTTP 404"});
  ASSERT_TRUE(IsLoaded(kNewDownloadDialog));
  EXPECT_EQ(FromQString(FindFormWindow(kNewDownloadDialog)->windowTitle()), "新建下载");
}

// --- a close request during the download ---

enum class CloseFrom {
  kWindowManager,  // the close box: queued by the window system like a click
  kProgram,        // QWidget::close() from a timer, which no queue holds back
};

struct CloseCase {
  const char* label;
  std::string_view downloader;  // the window whose "下载" runs
  std::string_view closed;      // the window asked to close
  CloseFrom from;
  std::vector<std::string> notices;
  std::vector<std::string_view> loadedAfter;
  std::vector<std::string_view> goneAfter;
};

void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.label; }

class CloseDuringDownload : public SlowDownload, public ::testing::WithParamInterface<CloseCase> {};

// The close is carried out only once the handler has returned, so no window goes under it
// (AddressSanitizer would see one that did), and the download runs to its end.
TEST_P(CloseDuringDownload, WaitsForTheHandler) {
  const CloseCase& c = GetParam();
  AddSlowRow();
  OpenSlowDialog();
  bool loadedWhileRunning = true;
  Watch([&](int tick) {
    if (tick == 3 && c.from == CloseFrom::kWindowManager) PostClose(c.closed);
    if (tick == 3 && c.from == CloseFrom::kProgram) FindFormWindow(c.closed)->close();
    if (tick > 3) loadedWhileRunning = loadedWhileRunning && IsLoaded(c.closed);
  });
  Download(c.downloader);
  EXPECT_TRUE(loadedWhileRunning);
  EXPECT_EQ(SavedFile(kSlowBook), BookBytes(Book(kSlowBook)));
  ProcessPendingEvents();
  EXPECT_EQ(NoticeTexts(), c.notices);
  for (const std::string_view window : c.loadedAfter) EXPECT_TRUE(IsLoaded(window)) << window;
  for (const std::string_view window : c.goneAfter) EXPECT_FALSE(IsLoaded(window)) << window;
}

const CloseCase kCloseCases[] = {
    {"DialogByWindowManagerDuringItsDownload",
     kNewDownloadDialog,
     kNewDownloadDialog,
     CloseFrom::kWindowManager,
     {},
     {kMainWindow, kDownloadPanel},
     {kNewDownloadDialog}},
    {"DialogByProgramDuringItsDownload",
     kNewDownloadDialog,
     kNewDownloadDialog,
     CloseFrom::kProgram,
     {},
     {kMainWindow, kDownloadPanel},
     {kNewDownloadDialog}},
    {"DialogByProgramDuringThePanelsDownload",
     kDownloadPanel,
     kNewDownloadDialog,
     CloseFrom::kProgram,
     {},
     {kMainWindow, kDownloadPanel},
     {kNewDownloadDialog}},
    {"PanelByWindowManagerDuringItsDownload",
     kDownloadPanel,
     kDownloadPanel,
     CloseFrom::kWindowManager,
     {std::string(kPanelCloseNotice)},
     {kMainWindow, kDownloadPanel, kNewDownloadDialog},
     {}},
    {"PanelByProgramDuringItsDownload",
     kDownloadPanel,
     kDownloadPanel,
     CloseFrom::kProgram,
     {std::string(kPanelCloseNotice)},
     {kMainWindow, kDownloadPanel, kNewDownloadDialog},
     {}},
    {"MainWindowByWindowManagerDuringThePanelsDownload",
     kDownloadPanel,
     kMainWindow,
     CloseFrom::kWindowManager,
     {},
     {},
     {kMainWindow}},
    {"MainWindowByProgramDuringTheDialogsDownload",
     kNewDownloadDialog,
     kMainWindow,
     CloseFrom::kProgram,
     {},
     {},
     {kMainWindow}},
};

INSTANTIATE_TEST_SUITE_P(Windows, CloseDuringDownload, ::testing::ValuesIn(kCloseCases),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
