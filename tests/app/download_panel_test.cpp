// DownloadPanel: its form, where it sits, the save directory it keeps, its refusal to close
// and its "下载" button.
#include "app/download_panel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include "app/globals.h"
#include "app/program_main.h"
#include "sys/ini_file.h"
#include "sys/qt_text.h"
#include "sys/tick_count.h"
#include "tests/app/download_fixture.h"
#include "tests/app/run_program.h"
#include "web/web_settings.h"

namespace {

using PanelForm = DownloadSideOnDemo;

struct ControlPlace {
  std::string_view name;
  QRect rect;
};

TEST_F(PanelForm, OpensWithMainWindowOwnedByIt) {
  FormWindow* panel = FindFormWindow(kDownloadPanel);
  ASSERT_TRUE(panel);
  EXPECT_TRUE(panel->isVisible());
  EXPECT_EQ(panel->parentWidget(), window_.get());
  EXPECT_TRUE(panel->isWindow());
}

TEST_F(PanelForm, HasAFixedUntitledFrameWithOnlyACloseBox) {
  FormWindow* panel = FindFormWindow(kDownloadPanel);
  EXPECT_EQ(panel->frameGeometry().size(), QSize(300, 490));
  EXPECT_EQ(panel->minimumSize(), panel->maximumSize());
  EXPECT_EQ(panel->windowTitle(), QString());
  EXPECT_TRUE(panel->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(panel->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(panel->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(panel->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(PanelForm, ControlsSitWhereTheFormPutsThem) {
  const std::vector<ControlPlace> places = {{kPanelTabs, {8, 8, 280, 152}},
                                            {kPanelList, {0, 0, 280, 152}},
                                            {kPanelModePages, {8, 168, 104, 25}},
                                            {kPanelModeComputed, {128, 168, 104, 25}},
                                            {kPanelDownloadButton, {232, 168, 56, 24}},
                                            {kPanelDirectoryLabel, {0, 432, 72, 24}},
                                            {kPanelDirectoryBox, {64, 432, 192, 24}},
                                            {kPanelBrowseButton, {264, 432, 24, 24}}};
  for (const ControlPlace& place : places) {
    EXPECT_EQ(FindControl(kDownloadPanel, place.name)->geometry(), place.rect)
        << GbkToUtf8(place.name);
  }
  EXPECT_EQ(ControlText(kDownloadPanel, kPanelModePages), "获取方式（1）");
  EXPECT_EQ(ControlText(kDownloadPanel, kPanelModeComputed), "获取方式（2）");
  EXPECT_EQ(ControlText(kDownloadPanel, kPanelDownloadButton), "下载");
  EXPECT_EQ(ControlText(kDownloadPanel, kPanelDirectoryLabel), "保存路径：");
  EXPECT_TRUE(qobject_cast<QLineEdit*>(FindControl(kDownloadPanel, kPanelDirectoryBox)));
}

TEST_F(PanelForm, TheListIsOnTheSecondUntitledPageWhichIsShowing) {
  auto* tabs = qobject_cast<QTabWidget*>(FindControl(kDownloadPanel, kPanelTabs));
  ASSERT_TRUE(tabs);
  ASSERT_EQ(tabs->count(), 2);
  EXPECT_EQ(tabs->tabText(0), QString());
  EXPECT_EQ(tabs->tabText(1), QString());
  EXPECT_EQ(PanelList()->parentWidget(), tabs->widget(1));
  EXPECT_EQ(tabs->currentIndex(), 1);
  EXPECT_TRUE(PanelList()->isVisible());
}

TEST_F(PanelForm, TheListTakesOneRowAtATimeUnderTwoColumns) {
  QTreeWidget* list = PanelList();
  ASSERT_EQ(list->columnCount(), 2);
  EXPECT_EQ(FromQString(list->headerItem()->text(0)), "小说");
  EXPECT_EQ(FromQString(list->headerItem()->text(1)), "地址");
  EXPECT_EQ(list->header()->sectionSize(0), 100);
  EXPECT_EQ(list->header()->sectionSize(1), 180);
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(list->topLevelItemCount(), 0);
}

TEST_F(PanelForm, TheTwoModesAreOneGroupWithModeOneChecked) {
  EXPECT_TRUE(IsChecked(kDownloadPanel, kPanelModePages));
  EXPECT_FALSE(IsChecked(kDownloadPanel, kPanelModeComputed));
  ChooseComputedAddresses();
  EXPECT_TRUE(IsChecked(kDownloadPanel, kPanelModeComputed));
  EXPECT_FALSE(IsChecked(kDownloadPanel, kPanelModePages));
  Click(kDownloadPanel, kPanelModePages);
  EXPECT_TRUE(IsChecked(kDownloadPanel, kPanelModePages));
  EXPECT_FALSE(IsChecked(kDownloadPanel, kPanelModeComputed));
}

TEST_F(PanelForm, TheBrowseButtonShowsTheFolderWithPadlockAtBothSizes) {
  auto* button = qobject_cast<QToolButton*>(FindControl(kDownloadPanel, kPanelBrowseButton));
  ASSERT_TRUE(button);
  const QIcon icon = button->icon();
  ASSERT_FALSE(icon.isNull());
  EXPECT_TRUE(icon.availableSizes().contains(QSize(24, 24)));
  EXPECT_TRUE(icon.availableSizes().contains(QSize(48, 48)));
  EXPECT_EQ(button->iconSize(), QSize(24, 24));
}

// --- where it sits ---

void ExpectDocked() {
  EXPECT_EQ(WindowLeft(kDownloadPanel), WindowLeft(kMainWindow) + WindowWidth(kMainWindow));
  EXPECT_EQ(WindowTop(kDownloadPanel), WindowTop(kMainWindow));
}

// Handles events until the panel sits against MainWindow (or a generous limit passes).
void WaitUntilDocked() {
  const std::int64_t deadline = TickCount() + 2000;
  while (TickCount() < deadline &&
         (WindowLeft(kDownloadPanel) != WindowLeft(kMainWindow) + WindowWidth(kMainWindow) ||
          WindowTop(kDownloadPanel) != WindowTop(kMainWindow))) {
    WaitForEvents(10);
  }
}

TEST_F(PanelForm, OpensAgainstMainWindowsRightEdge) { ExpectDocked(); }

TEST_F(PanelForm, MovedAwayItDocksBack) {
  MoveWindow(kDownloadPanel, 5, 7);
  WaitUntilDocked();
  ExpectDocked();
}

TEST_F(PanelForm, FollowsOnlyItsOwnMoves) {
  const int left = WindowLeft(kDownloadPanel);
  MoveWindow(kMainWindow, WindowLeft(kMainWindow) - 20, WindowTop(kMainWindow) + 10);
  ProcessPendingEvents();
  EXPECT_EQ(WindowLeft(kDownloadPanel), left);
  MoveWindow(kDownloadPanel, 0, 0);
  WaitUntilDocked();
  ExpectDocked();
}

// --- closing ---

TEST_F(PanelForm, ACloseRequestIsRefusedWithItsNotice) {
  FormWindow* panel = FindFormWindow(kDownloadPanel);
  EXPECT_FALSE(panel->close());
  ASSERT_EQ(notices_.Seen().size(), 1u);
  EXPECT_EQ(notices_.Seen()[0].text, kPanelCloseNotice);
  EXPECT_EQ(notices_.Seen()[0].title, "友情提醒");
  EXPECT_EQ(notices_.Seen()[0].ownerName, "DownloadPanel");
  EXPECT_TRUE(IsLoaded(kDownloadPanel));
  EXPECT_TRUE(panel->isVisible());
}

// --- the save directory ---

TEST_F(PanelForm, ShowsTheStoredDirectory) {
  EXPECT_EQ(ControlText(kDownloadPanel, kPanelDirectoryBox), books_.Text());
}

TEST_F(PanelForm, TheFolderBrowserStoresTheChosenFolderWithASeparator) {
  FolderBrowserAnswer answer(QString::fromStdString(books_.Native().string()));
  Click(kDownloadPanel, kPanelBrowseButton);
  ASSERT_EQ(answer.Titles().size(), 1u);
  const std::string expected = PathText(books_.Native()) + "/";
  EXPECT_EQ(ControlText(kDownloadPanel, kPanelDirectoryBox), expected);
  EXPECT_EQ(ReadIniValue(SaveDirectorySettingsFile(), "Catalog", "Catalog", "DEF"), expected);
}

TEST_F(PanelForm, ACancelledFolderBrowserStoresAnEmptyDirectory) {
  FolderBrowserAnswer cancel{QString()};
  Click(kDownloadPanel, kPanelBrowseButton);
  ASSERT_EQ(cancel.Titles().size(), 1u);
  EXPECT_EQ(ControlText(kDownloadPanel, kPanelDirectoryBox), "");
  EXPECT_EQ(ReadIniValue(SaveDirectorySettingsFile(), "Catalog", "Catalog", "DEF"), "");
}

TEST_F(PanelForm, AFailedSettingsWriteIsReported) {
  SetSaveDirectorySettingsFile(PathText(books_.Native() / "missing" / "To configure.ini"));
  FolderBrowserAnswer answer(QString::fromStdString(books_.Native().string()));
  Click(kDownloadPanel, kPanelBrowseButton);
  ASSERT_EQ(notices_.Seen().size(), 1u);
  EXPECT_TRUE(notices_.Seen()[0].text.starts_with("保存设置失败："))
      << GbkToUtf8(notices_.Seen()[0].text);
  // The box still shows the choice, for this run.
  EXPECT_EQ(ControlText(kDownloadPanel, kPanelDirectoryBox), PathText(books_.Native()) + "/");
}

class PanelWithoutSettings : public MainWindowOnDemo {
 protected:
  void SetUp() override {
    SetSaveDirectorySettingsFile(PathText(settings_.Native() / "To configure.ini"));
    MainWindowOnDemo::SetUp();
  }
  void TearDown() override {
    MainWindowOnDemo::TearDown();
    SetSaveDirectorySettingsFile("");
  }
  TestFolder settings_;
};

TEST_F(PanelWithoutSettings, ShowsTheDesktopFolderOnTheFirstRun) {
  const std::string desktop = SpecialFolder(kFolderDesktop);
  EXPECT_EQ(ControlText(kDownloadPanel, kPanelDirectoryBox), desktop);
  EXPECT_TRUE(desktop.ends_with("/"));
  EXPECT_FALSE(desktop.ends_with("//"));
}

TEST(SaveDirectorySettingsFile, LivesInTheSettingsFolder) {
  EXPECT_EQ(SaveDirectorySettingsFile(), SettingsDirectory() + "/To configure.ini");
}

// --- the directory across runs of the whole program ---

class PanelAcrossRuns : public ::testing::Test {
 protected:
  void SetUp() override {
    temporary_.Folder().Write("z.ini", "[.]\r\n.=1\r\n");
    ASSERT_TRUE(demo_.Start());
    site_.novelHost = demo_.HostPort();
    site_.fileHost = demo_.HostPort();
    site_.startPage.clear();
    SetSaveDirectorySettingsFile(PathText(settings_.Native() / "To configure.ini"));
    savedDirectory_ = std::filesystem::current_path();
    savedWebSettings_ = CurrentWebSettings();
  }

  void TearDown() override {
    SetSaveDirectorySettingsFile("");
    std::filesystem::current_path(savedDirectory_);
    SetWebSettings(savedWebSettings_);
  }

  // Runs the program once and gives what 目录框 showed when it started and after `action`.
  std::pair<std::string, std::string> Run(const std::function<void()>& action = {}) {
    std::pair<std::string, std::string> shown;
    bool gaveUp = false;
    EXPECT_EQ(RunProgramUntilClosed(
                  site_,
                  [&] {
                    shown.first = ControlText(kDownloadPanel, kPanelDirectoryBox);
                    if (action) action();
                    shown.second = ControlText(kDownloadPanel, kPanelDirectoryBox);
                  },
                  10'000, &gaveUp),
              0);
    EXPECT_FALSE(gaveUp);
    return shown;
  }

  static void Browse() {
    QTest::mouseClick(FindControl(kDownloadPanel, kPanelBrowseButton), Qt::LeftButton);
  }

  TemporaryFolderSwap temporary_;
  NoticeWatcher notices_;
  OpenedPages pages_;
  DemoSite demo_;
  SiteConfig site_;
  TestFolder settings_;
  TestFolder books_;

 private:
  std::filesystem::path savedDirectory_;
  WebSettings savedWebSettings_;
};

TEST_F(PanelAcrossRuns, AChosenFolderIsShownAgainAtTheNextStart) {
  FolderBrowserAnswer answer(QString::fromStdString(books_.Native().string()));
  const std::string chosen = PathText(books_.Native()) + "/";
  EXPECT_EQ(Run(Browse).second, chosen);
  EXPECT_EQ(Run().first, chosen);
}

TEST_F(PanelAcrossRuns, ACancelledBrowserLeavesAnEmptyBoxAtTheNextStart) {
  FolderBrowserAnswer cancel{QString()};
  EXPECT_EQ(Run().first, SpecialFolder(kFolderDesktop));
  EXPECT_EQ(Run(Browse).second, "");
  EXPECT_EQ(Run().first, "");  // the key is there, so the desktop is not used
}

TEST_F(PanelAcrossRuns, ThePanelGoesWithMainWindow) {
  Run([] {
    EXPECT_TRUE(IsLoaded(kDownloadPanel));
    ExpectDocked();
  });
  EXPECT_FALSE(IsLoaded(kDownloadPanel));
}

// --- "下载" ---

using PanelDownload = DownloadSideOnDemo;

TEST_F(PanelDownload, WritesTheSelectedRowsBookIntoTheDirectory) {
  Search("红楼梦");
  ChooseComputedAddresses();
  ClickRow(ResultList(), 0);
  ASSERT_EQ(RowCount(kDownloadPanel, kPanelList), 1);
  books_.Write(GbkToUtf8("红楼梦.txt"), "an earlier file");
  ClickRow(PanelList(), 0);
  Click(kDownloadPanel, kPanelDownloadButton);
  EXPECT_EQ(SavedFile("红楼梦"), BookBytes(Book("红楼梦")));
  EXPECT_TRUE(notices_.Seen().empty());
  EXPECT_EQ(books_.Entries(), std::vector<std::string>{GbkToUtf8("红楼梦.txt")});
}

TEST_F(PanelDownload, WithoutASelectedRowAsksForOneAndFetchesNothing) {
  Search("红楼梦");
  ChooseComputedAddresses();
  ClickRow(ResultList(), 0);
  SetSelectedRow(kDownloadPanel, kPanelList, -1);
  Click(kDownloadPanel, kPanelDownloadButton);
  EXPECT_EQ(NoticeTexts(), std::vector<std::string>{std::string(kPanelNoRowNotice)});
  EXPECT_TRUE(books_.Entries().empty());
}

TEST_F(PanelDownload, AFailedDownloadKeepsTheEarlierFileAndSaysWhy) {
  Search("红楼梦");
  ChooseComputedAddresses();
  ClickRow(ResultList(), 0);
  books_.Write(GbkToUtf8("红楼梦.txt"), "the good copy");
  DemoSiteOptions options;
  options.downloadStatus = 404;
  ASSERT_TRUE(demo_.SetOptions(options));
  ClickRow(PanelList(), 0);
  Click(kDownloadPanel, kPanelDownloadButton);
  EXPECT_EQ(NoticeTexts(), std::vector<std::string>{"下载失败：HTTP 404"});
  EXPECT_EQ(SavedFile("红楼梦"), "the good copy");
}

TEST_F(PanelDownload, AHostileNameIsSavedInsideTheDirectory) {
  DemoSiteOptions options;
  options.hostileNames = true;
  ASSERT_TRUE(demo_.SetOptions(options));
  const std::filesystem::path inner = books_.Native() / "in";
  std::filesystem::create_directory(inner);
  SetControlText(kDownloadPanel, kPanelDirectoryBox, PathText(inner) + "/");
  Search("evil");
  ChooseComputedAddresses();
  const std::vector<std::string> names = Names();
  const auto at = std::find(names.begin(), names.end(), std::string("../../evil"));
  ASSERT_NE(at, names.end());
  ClickRow(ResultList(), static_cast<int>(at - names.begin()));
  ClickRow(PanelList(), RowCount(kDownloadPanel, kPanelList) - 1);
  ASSERT_EQ(GetCell(kDownloadPanel, kPanelList, g_panelRow, 0), "../../evil");
  Click(kDownloadPanel, kPanelDownloadButton);
  EXPECT_TRUE(notices_.Seen().empty());
  EXPECT_EQ(books_.Entries(), std::vector<std::string>{"in"});
  EXPECT_EQ(TestFolder::Read(inner / "_.._evil.txt"), BookBytes(Book("../../evil")));
}

TEST_F(PanelDownload, ADirectoryWithoutTrailingSeparatorGetsTheFileInside) {
  SetControlText(kDownloadPanel, kPanelDirectoryBox, PathText(books_.Native()));
  Search("红楼梦");
  ChooseComputedAddresses();
  ClickRow(ResultList(), 0);
  ClickRow(PanelList(), 0);
  Click(kDownloadPanel, kPanelDownloadButton);
  EXPECT_EQ(SavedFile("红楼梦"), BookBytes(Book("红楼梦")));
}

}  // namespace
