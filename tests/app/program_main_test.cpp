#include "app/program_main.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <QApplication>
#include <QScreen>

#include "app/globals.h"
#include "app/main_window.h"
#include "sys/paths.h"
#include "sys/shutdown_routines.h"
#include "sys/tick_count.h"
#include "sys/worker.h"
#include "tests/app/run_program.h"
#include "tests/support/raw_http_server.h"
#include "tests/sys/qt_watchers.h"
#include "tests/sys/test_folder.h"
#include "web/fetch.h"
#include "web/web_settings.h"

namespace {

std::vector<std::string> steps;

void RecordStep(std::string_view step) { steps.emplace_back(step); }

// Each run starts from a clean slate and puts back what the start-up changes: the working
// directory, the temporary-files folder the windows may write to, the web settings.
class StartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    steps.clear();
    SetGlobalsTrace(RecordStep);
    savedDirectory_ = std::filesystem::current_path();
    savedTmpdir_ = qgetenv("TMPDIR");
    qputenv("TMPDIR", temporary_.Native().string().c_str());
    savedSettings_ = CurrentWebSettings();
  }

  void TearDown() override {
    SetGlobalsTrace(nullptr);
    std::filesystem::current_path(savedDirectory_);
    qputenv("TMPDIR", savedTmpdir_);
    SetWebSettings(savedSettings_);
  }

  SiteConfig site_;
  TestFolder temporary_;
  NoticeWatcher notices_;  // answers any notice the windows show at start
  OpenedPages pages_;      // stands in for the browser

 private:
  std::filesystem::path savedDirectory_;
  QByteArray savedTmpdir_;
  WebSettings savedSettings_;
};

TEST_F(StartUp, ShowsTheMainWindowAndEndsWithStatusZeroWhenItCloses) {
  bool looked = false;
  const int status = RunProgramUntilClosed(site_, [&] {
    looked = true;
    EXPECT_EQ(steps, (std::vector<std::string>{"create g_yearRegex", "create g_resultRegex"}));
    EXPECT_TRUE(g_yearRegex && g_resultRegex);
    EXPECT_EQ(g_searchPage.Read(), "");
    EXPECT_EQ(g_panelRow, 0);
  });
  EXPECT_TRUE(looked);
  EXPECT_EQ(status, 0);
  // Released once, in order; the empty search page is skipped.
  EXPECT_EQ(steps, (std::vector<std::string>{"create g_yearRegex", "create g_resultRegex",
                                             "release g_yearRegex", "release g_resultRegex"}));
  EXPECT_FALSE(g_yearRegex);
  EXPECT_FALSE(g_resultRegex);
  RunShutdownRoutines();
  EXPECT_EQ(steps.size(), 4u);
  EXPECT_FALSE(IsLoaded(kMainWindow));
}

// A window that refuses every close request, owned by MainWindow (as the download panel is).
class RefusingWindow : public FormWindow {
 public:
  explicit RefusingWindow(QWidget* parent) : FormWindow({"RefusingWindow", "", 300, 490}, parent) {}

 protected:
  bool OnCanClose() override { return false; }
};

TEST_F(StartUp, EndsWhenMainWindowClosesEvenWithAnOwnedWindowThatRefusesToClose) {
  RegisterWindowFactory("RefusingWindow",
                        [](QWidget* parent) { return new RefusingWindow(parent); });
  bool gaveUp = true;
  const int status = RunProgramUntilClosed(
      site_, [] { LoadWindow("RefusingWindow", kMainWindow); }, 5000, &gaveUp);
  EXPECT_FALSE(gaveUp);
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(IsLoaded("RefusingWindow"));  // destroyed with its owner
}

TEST_F(StartUp, ReleasesASearchPageLeftBehindUnderItsLock) {
  RunProgramUntilClosed(site_, [] { g_searchPage.Replace("<html>late page</html>"); });
  EXPECT_EQ(steps, (std::vector<std::string>{"create g_yearRegex", "create g_resultRegex",
                                             "release g_yearRegex", "release g_searchPage",
                                             "release g_resultRegex"}));
  EXPECT_EQ(g_searchPage.Read(), "");
}

TEST_F(StartUp, TheMainWindowIsFixedCentredAndUntitled) {
  RunProgramUntilClosed(site_, [] {
    FormWindow* window = FindFormWindow(kMainWindow);
    ASSERT_TRUE(qobject_cast<MainWindow*>(window));
    EXPECT_EQ(window->frameGeometry().size(), QSize(698, 490));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->windowTitle(), QString());
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    const QRect area = window->screen()->availableGeometry();
    EXPECT_LE((window->frameGeometry().center() - area.center()).manhattanLength(), 2);
  });
}

TEST_F(StartUp, TheWindowsGetTheSiteConfiguration) {
  site_.novelHost = "127.0.0.1:1";
  site_.fileHost = "127.0.0.1:2";
  RunProgramUntilClosed(site_, [] {
    const auto* window = qobject_cast<MainWindow*>(FindFormWindow(kMainWindow));
    ASSERT_TRUE(window);
    EXPECT_EQ(window->Site().novelHost, "127.0.0.1:1");
    EXPECT_EQ(window->Site().fileHost, "127.0.0.1:2");
  });
}

TEST_F(StartUp, WorksInTheProgramsFolderWithTheConfiguredCaFile) {
  site_.caFile = "certs/测试.pem";
  const std::filesystem::path expected =
      std::filesystem::current_path() / "certs" / "\xE6\xB5\x8B\xE8\xAF\x95.pem";
  RunProgramUntilClosed(site_);
  EXPECT_EQ(std::filesystem::current_path(), NativePath(ProgramDirectory()));
  EXPECT_EQ(CurrentWebSettings().caFile, expected.string());
}

TEST_F(StartUp, AWorkerWaitingOnASilentSiteDoesNotHoldUpTheEnd) {
  nf_test::RawHttpServer silent(nf_test::CannedReply{"", {}, nf_test::CannedReply::Then::kHold});
  WorkerHandle worker;
  std::string page = "unset";
  std::int64_t closedAt = 0;
  RunProgramUntilClosed(site_, [&] {
    worker = StartWorker([&](int, const std::atomic<bool>& stop) {
      FetchParams params;
      params.abort = &stop;
      page = FetchText(silent.Url("/e/search/index.php"), params);
      return 0;
    });
    // Give the request time to reach the server before the window closes.
    for (int i = 0; i < 200 && silent.RequestCount() == 0; ++i) WaitForEvents(10);
    closedAt = TickCount();
  });
  ASSERT_TRUE(worker);
  EXPECT_EQ(silent.RequestCount(), 1u);
  EXPECT_TRUE(worker->Finished());
  EXPECT_EQ(page, "");
  EXPECT_LT(TickCount() - closedAt, 2500);
}

}  // namespace
