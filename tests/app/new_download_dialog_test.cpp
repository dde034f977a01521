// NewDownloadDialog: its form, its three checks in order, and the download it makes.
#include "app/new_download_dialog.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include <QLabel>
#include <QLineEdit>

#include "sys/qt_text.h"
#include "tests/app/download_fixture.h"

namespace {

using DialogForm = DownloadSideOnDemo;

struct ControlPlace {
  std::string_view name;
  QRect rect;
};

TEST_F(DialogForm, IsAFixedWindowCaptionedAndLaidOutAsItsForm) {
  LoadWindow(kNewDownloadDialog, kMainWindow);
  FormWindow* dialog = FindFormWindow(kNewDownloadDialog);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(FromQString(dialog->windowTitle()), "新建下载");
  EXPECT_EQ(dialog->frameGeometry().size(), QSize(303, 150));
  EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
  EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMaximizeButtonHint);
  const std::vector<ControlPlace> places = {
      {kDialogAddressLabel, {8, 8, 56, 24}},     {kDialogAddressBox, {64, 8, 224, 24}},
      {kDialogNameLabel, {8, 48, 56, 24}},       {kDialogNameBox, {64, 48, 224, 24}},
      {kDialogDirectoryLabel, {8, 88, 56, 24}},  {kDialogDirectoryBox, {64, 88, 160, 24}},
      {kDialogDownloadButton, {232, 88, 56, 24}}};
  for (const ControlPlace& place : places) {
    EXPECT_EQ(FindControl(kNewDownloadDialog, place.name)->geometry(), place.rect)
        << GbkToUtf8(place.name);
  }
  EXPECT_EQ(ControlText(kNewDownloadDialog, kDialogAddressLabel), "网  站：");
  EXPECT_EQ(ControlText(kNewDownloadDialog, kDialogNameLabel), "文件名：");
  EXPECT_EQ(ControlText(kNewDownloadDialog, kDialogDirectoryLabel), "下载到：");
  EXPECT_EQ(ControlText(kNewDownloadDialog, kDialogDownloadButton), "下载");
  for (const std::string_view box : {kDialogAddressBox, kDialogNameBox, kDialogDirectoryBox}) {
    EXPECT_TRUE(qobject_cast<QLineEdit*>(FindControl(kNewDownloadDialog, box)));
    EXPECT_EQ(ControlText(kNewDownloadDialog, box), "");
  }
}

struct CheckCase {
  const char* label;
  std::string directory;
  std::string address;
  std::string name;
  std::string notice;
};

// Cases print as their label.
void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.label; }

class DialogChecks : public DownloadSideOnDemo, public ::testing::WithParamInterface<CheckCase> {};

// The first empty box of directory, address, name is named; nothing is fetched or written and
// the dialog stays with its boxes as they were.
TEST_P(DialogChecks, NameTheFirstEmptyBox) {
  const CheckCase& c = GetParam();
  LoadWindow(kNewDownloadDialog, kMainWindow);
  SetControlText(kNewDownloadDialog, kDialogDirectoryBox, c.directory);
  SetControlText(kNewDownloadDialog, kDialogAddressBox, c.address);
  SetControlText(kNewDownloadDialog, kDialogNameBox, c.name);
  Click(kNewDownloadDialog, kDialogDownloadButton);
  EXPECT_EQ(NoticeTexts(), std::vector<std::string>{c.notice});
  ASSERT_TRUE(IsLoaded(kNewDownloadDialog));
  EXPECT_EQ(ControlText(kNewDownloadDialog, kDialogDirectoryBox), c.directory);
  EXPECT_EQ(ControlText(kNewDownloadDialog, kDialogAddressBox), c.address);
  EXPECT_EQ(ControlText(kNewDownloadDialog, kDialogNameBox), c.name);
  EXPECT_TRUE(books_.Entries().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialogChecks,
    ::testing::Values(CheckCase{"AllEmpty", "", "", "", "请输入目录！"},
                      CheckCase{"DirectoryEmpty", "", "http://x/a.txt", "a", "请输入目录！"},
                      CheckCase{"AddressEmpty", "/tmp/", "", "a", "请输入网站！"},
                      CheckCase{"NameEmpty", "/tmp/", "http://x/a.txt", "", "请输入文件名！"}),
    [](const auto& info) { return std::string(info.param.label); });

// Spaces fill a box as far as the checks go; the download of " " then fails and says so.
TEST_F(DialogForm, BoxesOfSpacesPassTheChecks) {
  LoadWindow(kNewDownloadDialog, kMainWindow);
  SetControlText(kNewDownloadDialog, kDialogDirectoryBox, " ");
  SetControlText(kNewDownloadDialog, kDialogAddressBox, " ");
  SetControlText(kNewDownloadDialog, kDialogNameBox, "a");
  Click(kNewDownloadDialog, kDialogDownloadButton);
  ASSERT_EQ(notices_.Seen().size(), 1u);
  EXPECT_TRUE(notices_.Seen()[0].text.starts_with("下载失败："))
      << GbkToUtf8(notices_.Seen()[0].text);
  EXPECT_TRUE(IsLoaded(kNewDownloadDialog));
}

// A name of spaces passes the check too, but leaves nothing to name a file by.
TEST_F(DialogForm, ANameOfSpacesIsRefusedAsAFileName) {
  LoadWindow(kNewDownloadDialog, kMainWindow);
  SetControlText(kNewDownloadDialog, kDialogDirectoryBox, books_.Text());
  SetControlText(kNewDownloadDialog, kDialogAddressBox, FileAddress("红楼梦"));
  SetControlText(kNewDownloadDialog, kDialogNameBox, "  ");
  Click(kNewDownloadDialog, kDialogDownloadButton);
  EXPECT_EQ(NoticeTexts(), std::vector<std::string>{"书名无法用作文件名！"});
  EXPECT_TRUE(IsLoaded(kNewDownloadDialog));
  EXPECT_TRUE(books_.Entries().empty());
}

using DialogDownload = DownloadSideOnDemo;

TEST_F(DialogDownload, WritesExactlyTheBytesServedAndCloses) {
  Search("红楼梦");
  ClickRow(ResultList(), 0);  // mode (1) fills the dialog
  ASSERT_TRUE(IsLoaded(kNewDownloadDialog));
  books_.Write(GbkToUtf8("红楼梦.txt"), "an earlier file");
  Click(kNewDownloadDialog, kDialogDownloadButton);
  EXPECT_EQ(SavedFile("红楼梦"), BookBytes(Book("红楼梦")));
  EXPECT_TRUE(notices_.Seen().empty());
  EXPECT_FALSE(IsLoaded(kNewDownloadDialog));
  ProcessPendingEvents();  // the deferred deletion
  EXPECT_EQ(window_->findChildren<NewDownloadDialog*>().size(), 0);
}

TEST_F(DialogDownload, UsesTheBoxesAsTheUserCorrectedThem) {
  Search("红楼梦");
  ClickRow(ResultList(), 0);
  SetControlText(kNewDownloadDialog, kDialogAddressBox, FileAddress("西游记"));
  SetControlText(kNewDownloadDialog, kDialogNameBox, "西游");
  // No trailing separator: the file still goes inside the folder.
  SetControlText(kNewDownloadDialog, kDialogDirectoryBox, PathText(books_.Native()));
  Click(kNewDownloadDialog, kDialogDownloadButton);
  EXPECT_EQ(SavedFile("西游"), BookBytes(Book("西游记")));
  EXPECT_EQ(books_.Entries(), std::vector<std::string>{GbkToUtf8("西游.txt")});
}

TEST_F(DialogDownload, AFailedDownloadKeepsTheEarlierFileAndTheDialogOpen) {
  Search("红楼梦");
  ClickRow(ResultList(), 0);
  books_.Write(GbkToUtf8("红楼梦.txt"), "the good copy");
  DemoSiteOptions options;
  options.downloadStatus = 404;
  ASSERT_TRUE(demo_.SetOptions(options));
  Click(kNewDownloadDialog, kDialogDownloadButton);
  EXPECT_EQ(NoticeTexts(), std::vector<std::string>{"下载失败：HTTP 404"});
  EXPECT_EQ(SavedFile("红楼梦"), "the good copy");
  ASSERT_TRUE(IsLoaded(kNewDownloadDialog));
  // Corrected, the next try succeeds and closes the dialog.
  ASSERT_TRUE(demo_.SetOptions(DemoSiteOptions{}));
  Click(kNewDownloadDialog, kDialogDownloadButton);
  EXPECT_EQ(SavedFile("红楼梦"), BookBytes(Book("红楼梦")));
  EXPECT_FALSE(IsLoaded(kNewDownloadDialog));
}

TEST_F(DialogDownload, AFailedWriteIsReportedAndTheDialogStays) {
  Search("红楼梦");
  ClickRow(ResultList(), 0);
  SetControlText(kNewDownloadDialog, kDialogDirectoryBox, books_.Text() + "missing/");
  Click(kNewDownloadDialog, kDialogDownloadButton);
  ASSERT_EQ(notices_.Seen().size(), 1u);
  EXPECT_TRUE(notices_.Seen()[0].text.starts_with("保存失败："))
      << GbkToUtf8(notices_.Seen()[0].text);
  EXPECT_TRUE(IsLoaded(kNewDownloadDialog));
  EXPECT_TRUE(books_.Entries().empty());
}

TEST_F(DialogDownload, AHostileNameStaysInsideTheFolder) {
  LoadWindow(kNewDownloadDialog, kMainWindow);
  SetControlText(kNewDownloadDialog, kDialogAddressBox, FileAddress("红楼梦"));
  SetControlText(kNewDownloadDialog, kDialogNameBox, "../../x");
  SetControlText(kNewDownloadDialog, kDialogDirectoryBox, books_.Text());
  Click(kNewDownloadDialog, kDialogDownloadButton);
  EXPECT_EQ(books_.Entries(), std::vector<std::string>{"_.._x.txt"});
}

TEST_F(DialogDownload, TheCloseBoxClosesWithoutWriting) {
  LoadWindow(kNewDownloadDialog, kMainWindow);
  SetControlText(kNewDownloadDialog, kDialogAddressBox, FileAddress("红楼梦"));
  SetControlText(kNewDownloadDialog, kDialogNameBox, "红楼梦");
  SetControlText(kNewDownloadDialog, kDialogDirectoryBox, books_.Text());
  EXPECT_TRUE(FindFormWindow(kNewDownloadDialog)->close());
  EXPECT_FALSE(IsLoaded(kNewDownloadDialog));
  EXPECT_TRUE(books_.Entries().empty());
}

}  // namespace
