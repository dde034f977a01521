// Moving to a result row: mode (2) adds the computed address to the panel's list, mode (1)
// fills the new-download dialog with the address the site offers.
#include "app/result_activation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QApplication>

#include "app/globals.h"
#include "app/new_download_dialog.h"
#include "tests/app/download_fixture.h"

namespace {

using ComputedMode = DownloadSideOnDemo;

TEST_F(ComputedMode, AddsTheBookWithItsComputedAddress) {
  Search("红楼梦");
  ChooseComputedAddresses();
  ClickRow(ResultList(), 0);
  const std::string expected =
      "http://" + demo_.HostPort() + "/d/file/p/txt/2016/%E7%BA%A2%E6%A5%BC%E6%A2%A6.txt";
  EXPECT_EQ(PanelRows(), (std::vector<std::vector<std::string>>{{"红楼梦", expected}}));
  EXPECT_EQ(g_panelRow, 0);
  EXPECT_EQ(expected, FileAddress("红楼梦"));  // where the file server has it
  EXPECT_FALSE(IsLoaded(kNewDownloadDialog));
}

TEST_F(ComputedMode, EncodesAnAsciiNameLetterByLetter) {
  Search("Peach");
  ChooseComputedAddresses();
  ClickRow(ResultList(), 0);
  ASSERT_EQ(PanelRows().size(), 1u);
  EXPECT_EQ(PanelRows()[0][1],
            "http://" + demo_.HostPort() +
                "/d/file/p/txt/2013/"
                "%50%65%61%63%68%20%42%6C%6F%73%73%6F%6D%20%53%70%72%69%6E%67.txt");
}

TEST_F(ComputedMode, ArrowKeysOverThreeRowsAddThreeRows) {
  Search("");
  ASSERT_GE(RowCount(kMainWindow, kMainResultList), 3);
  ChooseComputedAddresses();
  ResultList()->setFocus();
  for (int i = 0; i < 3; ++i) QTest::keyClick(ResultList(), Qt::Key_Down);
  const std::vector<std::string> names = Names();
  ASSERT_EQ(PanelRows().size(), 3u);
  for (int row = 0; row < 3; ++row) EXPECT_EQ(PanelRows()[row][0], names[row]);
  EXPECT_EQ(g_panelRow, 2);
}

TEST_F(ComputedMode, ClickingTheFocusedRowAgainAddsNothing) {
  Search("");
  ChooseComputedAddresses();
  ClickRow(ResultList(), 1);
  ClickRow(ResultList(), 1);
  EXPECT_EQ(PanelRows().size(), 1u);
}

TEST_F(ComputedMode, TheSameBookTwiceGivesTwoRows) {
  Search("");
  ChooseComputedAddresses();
  ClickRow(ResultList(), 1);
  ClickRow(ResultList(), 2);
  ClickRow(ResultList(), 1);
  ASSERT_EQ(PanelRows().size(), 3u);
  EXPECT_EQ(PanelRows()[0], PanelRows()[2]);
}

TEST_F(ComputedMode, WithSeveralRowsSelectedTheLowestIsUsed) {
  Search("");
  ChooseComputedAddresses();
  ClickRow(ResultList(), 1);
  ClickRow(ResultList(), 3, Qt::ControlModifier);  // row 3 gets the focus, row 1 stays selected
  const std::string name = Names()[1];
  ASSERT_EQ(PanelRows().size(), 2u);
  EXPECT_EQ(PanelRows()[1][0], name);
}

TEST_F(ComputedMode, AMoveThatLeavesNoRowSelectedDoesNothing) {
  Search("");
  ChooseComputedAddresses();
  ClickRow(ResultList(), 1);
  ClickRow(ResultList(), 1, Qt::ControlModifier);  // deselects it; the focus stays
  QTest::keyClick(ResultList(), Qt::Key_Down, Qt::ControlModifier);  // moves the focus only
  ASSERT_EQ(ResultList()->currentIndex().row(), 2);
  ASSERT_EQ(SelectedRow(kMainWindow, kMainResultList), -1);
  EXPECT_EQ(PanelRows().size(), 1u);
}

using PagesMode = DownloadSideOnDemo;

void ExpectDialog(const std::string& address, const std::string& name,
                  const std::string& directory) {
  ASSERT_TRUE(IsLoaded(kNewDownloadDialog));
  EXPECT_EQ(ControlText(kNewDownloadDialog, kDialogAddressBox), address);
  EXPECT_EQ(ControlText(kNewDownloadDialog, kDialogNameBox), name);
  EXPECT_EQ(ControlText(kNewDownloadDialog, kDialogDirectoryBox), directory);
}

TEST_F(PagesMode, FillsTheDialogWithTheAddressTheSiteOffers) {
  Search("红楼梦");
  ClickRow(ResultList(), 0);
  ExpectDialog(FileAddress("红楼梦"), "红楼梦", books_.Text());
  EXPECT_TRUE(PanelRows().empty());
  FormWindow* dialog = FindFormWindow(kNewDownloadDialog);
  EXPECT_TRUE(qobject_cast<NewDownloadDialog*>(dialog));
  EXPECT_EQ(dialog->parentWidget(), window_.get());
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(dialog->isModal());
}

TEST_F(PagesMode, ALinkInOtherLetterCaseStillHasTheNameReplaced) {
  Search("Peach");
  ClickRow(ResultList(), 0);
  ExpectDialog(FileAddress("Peach Blossom Spring"), "Peach Blossom Spring", books_.Text());
}

TEST_F(PagesMode, TheDirectoryIsWhatThePanelShowsNow) {
  SetControlText(kDownloadPanel, kPanelDirectoryBox, "typed/here");
  Search("红楼梦");
  ClickRow(ResultList(), 0);
  ExpectDialog(FileAddress("红楼梦"), "红楼梦", "typed/here");
}

TEST_F(PagesMode, ASiteThatAnswersNeitherPageGivesTheBareScheme) {
  Search("红楼梦");
  ASSERT_TRUE(demo_.SetRefusing(true));
  ClickRow(ResultList(), 0);
  ExpectDialog("http://", "红楼梦", books_.Text());
}

int DialogsOpen() {
  int count = 0;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    const auto* dialog = qobject_cast<NewDownloadDialog*>(widget);
    if (dialog && !dialog->IsDestroying()) ++count;
  }
  return count;
}

TEST_F(PagesMode, AnOpenDialogIsBroughtForwardAndRefilledNotDuplicated) {
  Search("");
  ClickRow(ResultList(), 0);
  FormWindow* first = FindFormWindow(kNewDownloadDialog);
  ASSERT_TRUE(first);
  SetControlText(kNewDownloadDialog, kDialogDirectoryBox, "edited by the user");
  first->showMinimized();
  const std::string name = Names()[2];
  ClickRow(ResultList(), 2);
  EXPECT_EQ(FindFormWindow(kNewDownloadDialog), first);
  EXPECT_EQ(DialogsOpen(), 1);
  EXPECT_FALSE(first->isMinimized());
  EXPECT_TRUE(first->isVisible());
  ExpectDialog(FileAddress(name), name, books_.Text());
}

TEST_F(PagesMode, AMoveThatLeavesNoRowSelectedOpensNoDialog) {
  Search("");
  ClickRow(ResultList(), 1, Qt::ControlModifier);  // selects row 1
  ClickRow(ResultList(), 1, Qt::ControlModifier);  // and deselects it
  DestroyWindow(kNewDownloadDialog);
  QTest::keyClick(ResultList(), Qt::Key_Down, Qt::ControlModifier);
  ASSERT_EQ(SelectedRow(kMainWindow, kMainResultList), -1);
  EXPECT_FALSE(IsLoaded(kNewDownloadDialog));
}

using WithoutPanel = DownloadSideOnDemo;

TEST_F(WithoutPanel, ActivatingAResultChangesNothing) {
  Search("");
  DestroyWindow(kDownloadPanel);
  ASSERT_FALSE(IsLoaded(kDownloadPanel));
  const int panelRow = g_panelRow;
  ClickRow(ResultList(), 1);
  QTest::keyClick(ResultList(), Qt::Key_Down);
  EXPECT_FALSE(IsLoaded(kNewDownloadDialog));
  EXPECT_EQ(g_panelRow, panelRow);
  EXPECT_TRUE(notices_.Seen().empty());
}

}  // namespace
