// MainWindow as its form gives it, its two window handlers, and closing it during a search.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTreeWidget>

#include "sys/ini_file.h"
#include "sys/qt_text.h"
#include "sys/tick_count.h"
#include "sys/worker.h"
#include "tests/app/main_window_fixture.h"
#include "tests/app/run_program.h"
#include "tests/support/raw_http_server.h"
#include "web/web_settings.h"

namespace {

using MainWindowForm = MainWindowOnDemo;

struct ControlPlace {
  std::string_view name;
  QRect rect;
};

TEST_F(MainWindowForm, ControlsSitWhereTheFormPutsThem) {
  EXPECT_EQ(window_->frameGeometry().size(), QSize(698, 490));
  const std::vector<ControlPlace> places = {{kMainKeywordBox, {8, 8, 104, 24}},
                                            {kMainSearchButton, {120, 8, 56, 24}},
                                            {kMainTimeLabel, {184, 8, 96, 24}},
                                            {kMainResultList, {8, 40, 676, 400}},
                                            {kMainStatusBar, {8, 441, 694, 20}}};
  for (const ControlPlace& place : places) {
    EXPECT_EQ(FindControl(kMainWindow, place.name)->geometry(), place.rect)
        << FindControl(kMainWindow, place.name)->metaObject()->className();
  }
  EXPECT_TRUE(qobject_cast<QLineEdit*>(FindControl(kMainWindow, kMainKeywordBox)));
  EXPECT_TRUE(qobject_cast<QLabel*>(FindControl(kMainWindow, kMainTimeLabel)));
  EXPECT_TRUE(qobject_cast<QStatusBar*>(FindControl(kMainWindow, kMainStatusBar)));
}

TEST_F(MainWindowForm, StartsEmptyWithTheButtonEnabledAndNoAttempts) {
  EXPECT_EQ(window_->windowTitle(), QString());
  EXPECT_EQ(ControlText(kMainWindow, kMainKeywordBox), "");
  EXPECT_EQ(ControlText(kMainWindow, kMainSearchButton), "搜索");
  EXPECT_TRUE(IsEnabled(kMainWindow, kMainSearchButton));
  EXPECT_EQ(ControlText(kMainWindow, kMainTimeLabel), "");
  EXPECT_EQ(RowCount(kMainWindow, kMainResultList), 0);
  EXPECT_EQ(Attempts(), "次数：0");
}

TEST_F(MainWindowForm, TheResultListHasSixColumnsAndTakesSeveralRows) {
  auto* list = qobject_cast<QTreeWidget*>(FindControl(kMainWindow, kMainResultList));
  ASSERT_TRUE(list);
  const std::vector<std::pair<std::string, int>> columns = {
      {"名称", 150}, {"作者", 125}, {"简介", 100}, {"地址", 100}, {"日期", 100}, {"大小", 101}};
  ASSERT_EQ(list->columnCount(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(FromQString(list->headerItem()->text(i)), columns[i].first);
    EXPECT_EQ(list->header()->sectionSize(i), columns[i].second) << columns[i].first;
  }
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(FromQString(list->font().family()), "新宋体");
  EXPECT_EQ(list->font().pixelSize(), 14);
  EXPECT_EQ(list->font().weight(), QFont::Normal);
  EXPECT_EQ(list->palette().color(QPalette::Text), QColor(Qt::black));
  EXPECT_EQ(list->palette().color(QPalette::Base), QColor(Qt::white));
}

TEST_F(MainWindowForm, CarriesTheApplicationIcon) {
  const QIcon icon = window_->windowIcon();
  ASSERT_FALSE(icon.isNull());
  EXPECT_TRUE(icon.availableSizes().contains(QSize(256, 256)));
  EXPECT_EQ(icon.pixmap(QSize(256, 256)).size(), QSize(256, 256));
}

// --- the created handler ---

class MainWindowCreated : public ::testing::Test {
 protected:
  void SetUp() override { temporary_.Folder().Write("z.ini", "[.]\r\n.=1\r\n"); }

  TemporaryFolderSwap temporary_;
  NoticeWatcher notices_;
  OpenedPages pages_;  // stands in for the browser
};

TEST_F(MainWindowCreated, OpensTheConfiguredStartPage) {
  SiteConfig site;
  site.startPage = "www.novel.test/start";
  MainWindow window(site);
  window.Load();
  ProcessPendingEvents();
  ASSERT_EQ(pages_.Urls().size(), 1u);
  EXPECT_EQ(pages_.Urls()[0], QUrl("http://www.novel.test/start"));
}

TEST_F(MainWindowCreated, OpensNoPageWhenNoneIsConfigured) {
  MainWindow window(SiteConfig{});
  window.Load();
  ProcessPendingEvents();
  EXPECT_TRUE(pages_.Urls().empty());
}

// --- the first-run notice ---

struct MarkerCase {
  const char* name;
  std::string markerFile;  // "" leaves the file out
  bool shown;
};

void PrintTo(const MarkerCase& c, std::ostream* out) { *out << c.name; }

class FirstRunNotice : public ::testing::TestWithParam<MarkerCase> {
 protected:
  // Shows a MainWindow until its first activation has been handled; the notices it showed.
  std::vector<SeenNotice> ShowWindowOnce() {
    NoticeWatcher notices;
    MainWindow window(SiteConfig{});
    window.Load();
    for (int i = 0; i < 100 && !window.isActiveWindow(); ++i) WaitForEvents(10);
    EXPECT_TRUE(window.isActiveWindow());
    // The first-activated handler is queued; give it every chance to run.
    for (int i = 0; i < 20 && notices.Seen().empty(); ++i) WaitForEvents(10);
    return notices.Seen();
  }

  std::string Marker() const { return temporary_.Folder().Text() + "z.ini"; }

  TemporaryFolderSwap temporary_;
};

TEST_P(FirstRunNotice, IsShownOnlyWhileTheMarkerSaysNotYet) {
  if (!GetParam().markerFile.empty()) temporary_.Folder().Write("z.ini", GetParam().markerFile);
  const std::vector<SeenNotice> seen = ShowWindowOnce();
  if (!GetParam().shown) {
    EXPECT_TRUE(seen.empty());
    return;
  }
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, std::string(kFirstRunNotice));
  EXPECT_EQ(seen[0].title, "友情提醒");
  EXPECT_EQ(seen[0].ownerName, "MainWindow");
  EXPECT_EQ(ReadIniValue(Marker(), ".", ".", ""), "1");
  EXPECT_TRUE(ShowWindowOnce().empty());  // the next start
}

INSTANTIATE_TEST_SUITE_P(Markers, FirstRunNotice,
                         ::testing::Values(MarkerCase{"no_marker_file", "", true},
                                           MarkerCase{"marker_zero", "[.]\r\n.=0\r\n", true},
                                           MarkerCase{"file_without_the_key",
                                                      "[other]\r\nkey=1\r\n", true},
                                           MarkerCase{"marker_one", "[.]\r\n.=1\r\n", false},
                                           MarkerCase{"any_other_value", "[.]\r\n.=2\r\n", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- closing the window while a search runs ---

// RunProgram changes the working directory and the web settings; both are put back.
class MainWindowClosed : public ::testing::Test {
 protected:
  void SetUp() override { temporary_.Folder().Write("z.ini", "[.]\r\n.=1\r\n"); }
  void TearDown() override {
    std::filesystem::current_path(savedDirectory_);
    SetWebSettings(savedSettings_);
  }

  TemporaryFolderSwap temporary_;
  NoticeWatcher notices_;
  std::filesystem::path savedDirectory_ = std::filesystem::current_path();
  WebSettings savedSettings_ = CurrentWebSettings();
};

TEST_F(MainWindowClosed, DuringASearchOnASilentSiteTheProgramEndsPromptlyWithStatusZero) {
  nf_test::RawHttpServer silent(nf_test::CannedReply{"", {}, nf_test::CannedReply::Then::kHold});
  SiteConfig site;
  site.novelHost = silent.HostPort();
  std::int64_t closedAt = 0;
  bool searchReturned = false;
  bool gaveUp = true;
  const int status = RunProgramUntilClosed(
      site,
      [&] {
        QTimer::singleShot(300, [&] {
          closedAt = TickCount();
          FindFormWindow(kMainWindow)->close();
        });
        SetControlText(kMainWindow, kMainKeywordBox, "西游");
        QTest::mouseClick(qobject_cast<QPushButton*>(FindControl(kMainWindow, kMainSearchButton)),
                          Qt::LeftButton);
        searchReturned = true;
      },
      10'000, &gaveUp);
  EXPECT_TRUE(searchReturned);
  EXPECT_FALSE(gaveUp);
  EXPECT_EQ(status, 0);
  ASSERT_GT(closedAt, 0);
  EXPECT_LT(TickCount() - closedAt, 2000);
  EXPECT_EQ(silent.RequestCount(), 1u);
  EXPECT_EQ(RunningWorkerCount(), 0);
  EXPECT_FALSE(g_resultRegex);  // released after the workers had ended
}

}  // namespace
