// A whole window session as a user has it: the program starts, a search fills the list, one
// book is saved through the panel (mode (2)) and one through the dialog (mode (1)), and the
// window closes, ending the run. The asan preset runs it under LeakSanitizer, which checks at
// the end of the process that nothing the session allocated was lost.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include <QTest>
#include <QTreeWidget>

#include "app/save_directory.h"
#include "app/window_names.h"
#include "demo/demo_site.h"
#include "sys/paths.h"
#include "sys/window_layer.h"
#include "tests/app/main_window_fixture.h"
#include "tests/app/run_program.h"
#include "text/code_page.h"
#include "web/web_settings.h"

namespace {

void Click(std::string_view window, std::string_view control) {
  QTest::mouseClick(FindControl(window, control), Qt::LeftButton);
}

void ClickRow(std::string_view window, std::string_view list, int row) {
  auto* view = qobject_cast<QTreeWidget*>(FindControl(window, list));
  ASSERT_TRUE(view && view->topLevelItem(row));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                    view->visualItemRect(view->topLevelItem(row)).center());
}

void Search(std::string_view keyword) {
  SetControlText(kMainWindow, kMainKeywordBox, keyword);
  Click(kMainWindow, kMainSearchButton);
}

std::string Served(const DemoSite& site, std::string_view name) {
  for (const DemoBook& book : site.Catalogue()) {
    if (book.name == GbkToUtf8(name)) return std::string(BytesView(DemoBookBytes(book)));
  }
  return {};
}

class WindowSession : public ::testing::Test {
 protected:
  void SetUp() override {
    temporary_.Folder().Write("z.ini", "[.]\r\n.=1\r\n");
    SetSaveDirectorySettingsFile(PathText(settings_.Native() / "To configure.ini"));
    settings_.Write("To configure.ini", "[Catalog]\r\nCatalog=" + books_.Text() + "\r\n");
    ASSERT_TRUE(demo_.Start());
  }
  void TearDown() override {
    SetSaveDirectorySettingsFile("");
    std::filesystem::current_path(savedDirectory_);
    SetWebSettings(savedSettings_);
  }

  TemporaryFolderSwap temporary_;
  TestFolder settings_;
  TestFolder books_;
  NoticeWatcher notices_;
  OpenedPages pages_;
  DemoSite demo_;
  std::filesystem::path savedDirectory_ = std::filesystem::current_path();
  WebSettings savedSettings_ = CurrentWebSettings();
};

TEST_F(WindowSession, SearchesSavesInBothModesAndEnds) {
  SiteConfig site;
  site.novelHost = demo_.HostPort();
  site.fileHost = demo_.HostPort();
  site.startPage = demo_.Url("/");
  bool gaveUp = true;
  const int status = RunProgramUntilClosed(
      site,
      [] {
        Search("红楼梦");
        Click(kDownloadPanel, kPanelModeComputed);
        ClickRow(kMainWindow, kMainResultList, 0);
        ClickRow(kDownloadPanel, kPanelList, 0);
        Click(kDownloadPanel, kPanelDownloadButton);

        Search("西游");
        Click(kDownloadPanel, kPanelModePages);
        ClickRow(kMainWindow, kMainResultList, 0);
        ASSERT_TRUE(IsLoaded(kNewDownloadDialog));
        Click(kNewDownloadDialog, kDialogDownloadButton);
        EXPECT_FALSE(IsLoaded(kNewDownloadDialog));
      },
      30'000, &gaveUp);
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(gaveUp);
  EXPECT_TRUE(notices_.Seen().empty());
  EXPECT_EQ(pages_.Urls().size(), 1u);
  EXPECT_EQ(books_.Entries(),
            (std::vector<std::string>{GbkToUtf8("红楼梦.txt"), GbkToUtf8("西游记.txt")}));
  EXPECT_EQ(TestFolder::Read(books_.Native() / GbkToUtf8("红楼梦.txt")), Served(demo_, "红楼梦"));
  EXPECT_EQ(TestFolder::Read(books_.Native() / GbkToUtf8("西游记.txt")), Served(demo_, "西游记"));
}

}  // namespace
