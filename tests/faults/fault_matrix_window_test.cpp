// The fault matrix through the windows: the real MainWindow, DownloadPanel and
// NewDownloadDialog offscreen, driven as a user would, against the demo site's fault switches.
// Each row checks that nothing crashes or hangs, that the window goes on handling events,
// what the user is told, and that nothing on disk is lost, changed or left half-written.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include <QTimer>

#include "app/program_main.h"
#include "sys/tick_count.h"
#include "sys/worker.h"
#include "tests/app/download_fixture.h"
#include "tests/app/run_program.h"
#include "tests/faults/fault_rows.h"
#include "web/web_settings.h"

namespace {

using namespace faults;

constexpr int kBeatMs = 50;
// Far above what any row needs, far below the limits a hang would run into.
constexpr long kConnectTimeoutMs = 5000;
constexpr long kStallTimeoutMs = 5000;
constexpr std::int64_t kHangBoundMs = 30'000;

// The transfer limits shortened, so that a row which waited for a time-out would still end
// quickly (and stand out against kHangBoundMs); put back afterwards.
class ShortLimits {
 public:
  ShortLimits() {
    WebSettings settings = saved_;
    settings.connectTimeoutMs = kConnectTimeoutMs;
    settings.stallTimeoutMs = kStallTimeoutMs;
    SetWebSettings(settings);
  }
  ~ShortLimits() { SetWebSettings(saved_); }

 private:
  WebSettings saved_ = CurrentWebSettings();
};

// Counts the turns of a timer on the window thread: while it counts, the window handles its
// events (paints, timers, input).
class Heartbeat {
 public:
  Heartbeat() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { ++beats_; });
    timer_.start(kBeatMs);
  }
  int Beats() const { return beats_; }

 private:
  QTimer timer_;
  int beats_ = 0;
};

// True when an event posted now is handled by the window thread's next pass.
bool HandlesAPostedEvent() {
  bool handled = false;
  QTimer::singleShot(0, [&handled] { handled = true; });
  for (int i = 0; i < 100 && !handled; ++i) WaitForEvents(10);
  return handled;
}

std::string Gbk(const std::string& utf8) { return Utf8ToGbk(utf8); }

// --- the search: faults the site never gets over ---

// The whole program, as started from the desktop: the window is closed while its search
// still tries, and the run must end promptly.
class WindowFaultEndlessSearch : public ::testing::TestWithParam<EndlessSearchFault> {
 protected:
  void SetUp() override {
    temporary_.Folder().Write("z.ini", "[.]\r\n.=1\r\n");
    SetSaveDirectorySettingsFile(PathText(settings_.Native() / "To configure.ini"));
    ASSERT_TRUE(demo_.Start());
    ASSERT_TRUE(Apply(demo_, GetParam().apply));
    site_.novelHost = demo_.HostPort();
    site_.fileHost = demo_.HostPort();
  }
  void TearDown() override {
    SetSaveDirectorySettingsFile("");
    std::filesystem::current_path(savedDirectory_);
  }

  ShortLimits limits_;
  TemporaryFolderSwap temporary_;
  TestFolder settings_;
  NoticeWatcher notices_;
  OpenedPages pages_;
  DemoSite demo_;
  SiteConfig site_;
  std::filesystem::path savedDirectory_ = std::filesystem::current_path();
};

TEST_P(WindowFaultEndlessSearch, KeepsTryingPacedAndClosingTheWindowEndsTheRunPromptly) {
  constexpr int kLookAtMs = 3300;  // attempts start at about 0, 1000, 2000 and 3000 ms
  std::string attempts;
  bool enabledDuring = true;
  int beatsDuring = 0;
  int posts = -1;
  std::int64_t closedAt = 0;
  bool searchReturned = false;
  bool gaveUp = true;
  const int status = RunProgramUntilClosed(
      site_,
      [&] {
        Heartbeat heartbeat;
        QTimer::singleShot(kLookAtMs, [&] {
          attempts = StatusText(kMainWindow, kMainStatusBar);
          enabledDuring = IsEnabled(kMainWindow, kMainSearchButton);
          beatsDuring = heartbeat.Beats();
          posts = demo_.SearchPostCount();
          closedAt = TickCount();
          FindFormWindow(kMainWindow)->close();
        });
        SetControlText(kMainWindow, kMainKeywordBox, "西游");
        QTest::mouseClick(FindControl(kMainWindow, kMainSearchButton), Qt::LeftButton);
        searchReturned = true;
      },
      20'000, &gaveUp);
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(gaveUp);
  EXPECT_TRUE(searchReturned);
  ASSERT_GT(closedAt, 0);
  EXPECT_LT(TickCount() - closedAt, 2500);  // workers aborted, not waited out
  EXPECT_EQ(RunningWorkerCount(), 0);

  // Still trying, about once a second, with the button held down and the window alive.
  EXPECT_TRUE(attempts == "次数：3" || attempts == "次数：4") << GbkToUtf8(attempts);
  EXPECT_FALSE(enabledDuring);
  EXPECT_GE(beatsDuring, kLookAtMs / kBeatMs / 2);
  const int shown = static_cast<int>(TextToInt(attempts.substr(std::string("次数：").size())));
  if (GetParam().postsReachTheSite) {
    EXPECT_GE(posts, shown);
    EXPECT_LE(posts, shown + 1);
  } else {
    EXPECT_EQ(posts, 0);
  }
  EXPECT_TRUE(notices_.Seen().empty());  // the attempt count is all the search shows
}

INSTANTIATE_TEST_SUITE_P(Rows, WindowFaultEndlessSearch, ::testing::ValuesIn(EndlessSearchFaults()),
                         [](const auto& info) { return std::string(info.param.label); });

// --- the search: faults after which a page still comes ---

class WindowFaultPage : public MainWindowOnDemo, public ::testing::WithParamInterface<PageFault> {
 protected:
  void SetUp() override {
    MainWindowOnDemo::SetUp();
    ASSERT_TRUE(Apply(demo_, GetParam().apply));
  }

  ShortLimits limits_;
};

TEST_P(WindowFaultPage, ShowsTheRowsOfThePage) {
  const PageFault& row = GetParam();
  if (TooSlowHere(row)) GTEST_SKIP() << kTooSlowHere;
  constexpr int kProbeMs = 2000;
  Heartbeat heartbeat;
  bool running = false;
  int beats = 0;
  After(kProbeMs, [&] {
    running = !Button()->isEnabled();
    beats = heartbeat.Beats();
  });
  Search(Gbk(row.keyword));
  if (running) {  // the waits handle events
    EXPECT_GE(beats, kProbeMs / kBeatMs / 2);
  }
  if (row.attempts > 0) {
    EXPECT_EQ(Attempts(), "次数：" + std::to_string(row.attempts));
  }
  ASSERT_EQ(RowCount(kMainWindow, kMainResultList), row.rows);
  EXPECT_EQ(GetCell(kMainWindow, kMainResultList, 0, kColumnName), Gbk(row.firstName));
  EXPECT_TRUE(Button()->isEnabled());
  EXPECT_GE(ElapsedShown(), 0);
  EXPECT_TRUE(HandlesAPostedEvent());
  EXPECT_TRUE(notices_.Seen().empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, WindowFaultPage, ::testing::ValuesIn(PageFaults()),
                         [](const auto& info) { return std::string(info.param.label); });

class WindowFaultInvalidUtf8 : public MainWindowOnDemo {};

TEST_F(WindowFaultInvalidUtf8, ShowsWhatIsNotUtf8AsQuestionMarks) {
  ASSERT_TRUE(Apply(demo_, [](DemoSiteOptions& o) { o.invalidUtf8 = true; }));
  Search("红楼");
  DemoBook book;
  for (const DemoBook& candidate : demo_.Catalogue()) {
    if (candidate.name == Utf8(u8"红楼梦")) book = candidate;
  }
  // Converted as the page was: the intro, the bytes that are no UTF-8, the tag after them.
  std::string intro = Utf8ToGbk(book.intro + std::string(kNotUtf8) + "<");
  intro.pop_back();
  ASSERT_GT(intro.size(), Utf8ToGbk(book.intro).size());
  EXPECT_EQ(intro.substr(Utf8ToGbk(book.intro).size()).find_first_not_of('?'), std::string::npos);
  EXPECT_EQ(GetCell(kMainWindow, kMainResultList, 0, kColumnIntro), intro);
}

// --- the download side ---

enum class Front { kPanel, kDialog };

// Every row of a table through both fronts.
template <typename Row>
auto OnBothFronts(const std::vector<Row>& rows) {
  return ::testing::Combine(::testing::ValuesIn(rows),
                            ::testing::Values(Front::kPanel, Front::kDialog));
}

// Names such a case after its row and its front, e.g. "Status404Dialog".
struct RowAndFrontName {
  template <typename Row>
  std::string operator()(const ::testing::TestParamInfo<std::tuple<Row, Front>>& info) const {
    const auto& [row, front] = info.param;
    return std::string(row.label) + (front == Front::kPanel ? "Panel" : "Dialog");
  }
};

// The download side on the demo site with shortened limits; the save folder is books_.
class DownloadFaultFixture : public DownloadSideOnDemo {
 protected:
  // Mode (2): the row's computed address joins the panel's list and is selected there.
  void QueueOnPanel(int resultRow) {
    ChooseComputedAddresses();
    ClickRow(ResultList(), resultRow);
    ASSERT_GT(RowCount(kDownloadPanel, kPanelList), 0);
    ClickRow(PanelList(), RowCount(kDownloadPanel, kPanelList) - 1);
  }

  // Mode (1): the dialog opens, filled with the address the site's pages give.
  void OpenDialogFor(int resultRow) {
    Click(kDownloadPanel, kPanelModePages);
    ClickRow(ResultList(), resultRow);
    ASSERT_TRUE(IsLoaded(kNewDownloadDialog));
  }

  // Presses the front's "下载"; returns how long the handler took.
  static std::int64_t PressDownload(Front front) {
    const std::int64_t start = TickCount();
    if (front == Front::kPanel) {
      Click(kDownloadPanel, kPanelDownloadButton);
    } else {
      Click(kNewDownloadDialog, kDialogDownloadButton);
    }
    return TickCount() - start;
  }

  // The result row of the book of that (UTF-8) name, -1 when it is not shown.
  static int ResultRowOf(const std::string& name) {
    const std::vector<std::string> names = Names();
    for (size_t row = 0; row < names.size(); ++row) {
      if (names[row] == Gbk(name)) return static_cast<int>(row);
    }
    return -1;
  }

  // After a failure: one notice that starts with `start`, the buttons usable again, the
  // dialog (when it was used) still open for another try, and the window alive.
  void ExpectFailureShown(Front front, const std::string& start, std::int64_t tookMs) {
    ASSERT_EQ(notices_.Seen().size(), 1u);
    const std::string& notice = notices_.Seen()[0].text;
    EXPECT_TRUE(notice.starts_with(start)) << GbkToUtf8(notice);
    EXPECT_GT(notice.size(), start.size()) << "a reason follows";
    EXPECT_LT(tookMs, kHangBoundMs);
    EXPECT_TRUE(IsEnabled(kDownloadPanel, kPanelDownloadButton));
    EXPECT_TRUE(Button()->isEnabled());
    if (front == Front::kDialog) {
      EXPECT_TRUE(IsLoaded(kNewDownloadDialog));
      EXPECT_TRUE(IsEnabled(kNewDownloadDialog, kDialogDownloadButton));
    }
    EXPECT_TRUE(HandlesAPostedEvent());
  }

  ShortLimits limits_;
};

// Faults of the file server, through the panel (mode (2)) and the dialog (mode (1)). For the
// dialog the fault is on before the row is picked, so the pages it reads meet it too.
class WindowFaultDownload : public DownloadFaultFixture,
                            public ::testing::WithParamInterface<std::tuple<DownloadFault, Front>> {
};

TEST_P(WindowFaultDownload, SaysWhyAndLeavesTheEarlierCopyAlone) {
  const auto& [row, front] = GetParam();
  SizeLargeBook(demo_);
  Search(Gbk(row.book));
  const int resultRow = ResultRowOf(row.book);
  ASSERT_NE(resultRow, -1);
  books_.Write(row.book + ".txt", "the reader's own copy");
  const FolderSnapshot before = Snapshot(books_.Native());
  if (front == Front::kPanel) {
    QueueOnPanel(resultRow);
    ASSERT_TRUE(Apply(demo_, row.apply));
  } else {
    ASSERT_TRUE(Apply(demo_, row.apply));
    OpenDialogFor(resultRow);
  }
  const std::int64_t took = PressDownload(front);
  ExpectFailureShown(front, "下载失败：", took);
  if (!row.reason.empty()) {
    EXPECT_EQ(notices_.Seen()[0].text, "下载失败：" + row.reason);
  }
  const FolderSnapshot after = Snapshot(books_.Native());
  EXPECT_TRUE(after == before) << Paths(after);
}

INSTANTIATE_TEST_SUITE_P(Rows, WindowFaultDownload, OnBothFronts(DownloadFaults()),
                         RowAndFrontName());

// A save folder that cannot take the book: the download runs, the write fails and says so.
class WindowFaultFolder : public DownloadFaultFixture,
                          public ::testing::WithParamInterface<std::tuple<FolderFaultRow, Front>> {
};

TEST_P(WindowFaultFolder, SaysWhyAndWritesNothing) {
  const auto& [row, front] = GetParam();
  const std::string book = Utf8(u8"红楼梦");
  BrokenSaveFolder folder(books_.Native(), row.fault, book + ".txt");
  if (!folder.Unavailable().empty()) GTEST_SKIP() << folder.Unavailable();
  SetControlText(kDownloadPanel, kPanelDirectoryBox, folder.Directory());
  Search(Gbk(book));
  const FolderSnapshot before = Snapshot(books_.Native());
  front == Front::kPanel ? QueueOnPanel(0) : OpenDialogFor(0);
  if (front == Front::kDialog) {
    EXPECT_EQ(ControlText(kNewDownloadDialog, kDialogDirectoryBox), folder.Directory());
  }
  const std::int64_t took = PressDownload(front);
  ExpectFailureShown(front, "保存失败：", took);
  const FolderSnapshot after = Snapshot(books_.Native());
  EXPECT_TRUE(after == before) << Paths(after);
}

INSTANTIATE_TEST_SUITE_P(Rows, WindowFaultFolder, OnBothFronts(FolderFaults()), RowAndFrontName());

// Books named like paths: saved inside the save folder under a safe name, or refused.
class WindowFaultName : public DownloadFaultFixture,
                        public ::testing::WithParamInterface<std::tuple<HostileName, Front>> {
 protected:
  void SetUp() override {
    DownloadFaultFixture::SetUp();
    ASSERT_TRUE(Apply(demo_, [](DemoSiteOptions& o) { o.hostileNames = true; }));
    // Two folders down, so that a step up would still land where the snapshot sees it.
    inner_ = books_.Native() / "a" / "b";
    std::filesystem::create_directories(inner_);
    SetControlText(kDownloadPanel, kPanelDirectoryBox, PathText(inner_) + "/");
  }

  std::filesystem::path inner_;
};

TEST_P(WindowFaultName, IsSavedInsideTheFolderUnderASafeNameOrRefused) {
  const auto& [row, front] = GetParam();
  Search("");
  const int resultRow = ResultRowOf(row.name);
  ASSERT_NE(resultRow, -1);
  // The cell keeps the name as the site gave it; only the file name is made safe.
  EXPECT_EQ(GetCell(kMainWindow, kMainResultList, resultRow, kColumnName), Gbk(row.name));
  front == Front::kPanel ? QueueOnPanel(resultRow) : OpenDialogFor(resultRow);
  const std::int64_t took = PressDownload(front);
  EXPECT_LT(took, kHangBoundMs);
  const FolderSnapshot after = Snapshot(books_.Native());
  if (row.file.empty()) {
    EXPECT_EQ(NoticeTexts(), std::vector<std::string>{"书名无法用作文件名！"});
    EXPECT_EQ(after, (FolderSnapshot{{"a", "<folder>"}, {"a/b", "<folder>"}})) << Paths(after);
    return;
  }
  EXPECT_TRUE(notices_.Seen().empty()) << GbkToUtf8(notices_.Seen()[0].text);
  DemoBook book;
  for (const DemoBook& candidate : demo_.Catalogue()) {
    if (candidate.name == row.name) book = candidate;
  }
  EXPECT_EQ(after,
            (FolderSnapshot{
                {"a", "<folder>"}, {"a/b", "<folder>"}, {"a/b/" + row.file, BookBytes(book)}}))
      << Paths(after);
  if (front == Front::kDialog) {  // done, it closes
    EXPECT_FALSE(IsLoaded(kNewDownloadDialog));
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, WindowFaultName, OnBothFronts(HostileNames()), RowAndFrontName());

}  // namespace
