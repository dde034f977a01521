#pragma once
// MainWindow on the demo site with its download panel open, the save directory set to a test
// folder through a test "To configure.ini", and the means to pick rows and modes as a user.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include "app/save_directory.h"
#include "app/window_names.h"
#include "sys/paths.h"
#include "tests/app/main_window_fixture.h"
#include "text/code_page.h"

class DownloadSideOnDemo : public MainWindowOnDemo {
 protected:
  void SetUp() override {
    SetSaveDirectorySettingsFile(PathText(settings_.Native() / "To configure.ini"));
    settings_.Write("To configure.ini", "[Catalog]\r\nCatalog=" + books_.Text() + "\r\n");
    MainWindowOnDemo::SetUp();
  }

  void TearDown() override {
    MainWindowOnDemo::TearDown();
    SetSaveDirectorySettingsFile("");
  }

  static QTreeWidget* ListOf(std::string_view window, std::string_view list) {
    return qobject_cast<QTreeWidget*>(FindControl(window, list));
  }
  static QTreeWidget* ResultList() { return ListOf(kMainWindow, kMainResultList); }
  static QTreeWidget* PanelList() { return ListOf(kDownloadPanel, kPanelList); }

  // Scrolls the row into view first: a click outside the viewport would reach no row.
  static void ClickRow(QTreeWidget* list, int row, Qt::KeyboardModifiers modifiers = {}) {
    list->scrollToItem(list->topLevelItem(row));
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
  }

  static void Click(std::string_view window, std::string_view control) {
    QTest::mouseClick(FindControl(window, control), Qt::LeftButton);
  }

  // Mode (2): the address is computed and added to the panel's list.
  static void ChooseComputedAddresses() { Click(kDownloadPanel, kPanelModeComputed); }

  static std::vector<std::vector<std::string>> PanelRows() {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < RowCount(kDownloadPanel, kPanelList); ++row) {
      rows.push_back({GetCell(kDownloadPanel, kPanelList, row, 0),
                      GetCell(kDownloadPanel, kPanelList, row, 1)});
    }
    return rows;
  }

  // The demo book of that (code page 936) name.
  DemoBook Book(std::string_view name) const {
    for (const DemoBook& book : demo_.Catalogue()) {
      if (book.name == GbkToUtf8(name)) return book;
    }
    ADD_FAILURE() << "no demo book " << GbkToUtf8(name);
    return {};
  }

  // Where the demo's file server serves the book.
  std::string FileAddress(std::string_view name) const {
    return demo_.Url(DemoBookFilePath(Book(name)));
  }

  static std::string BookBytes(const DemoBook& book) {
    const Bytes bytes = DemoBookBytes(book);
    return std::string(BytesView(bytes));
  }

  // The book's file in the save folder, as written; "" when there is none.
  std::string SavedFile(std::string_view name) const {
    return TestFolder::Read(books_.Native() / GbkToUtf8(std::string(name) + ".txt"));
  }

  std::vector<std::string> NoticeTexts() const {
    std::vector<std::string> texts;
    for (const SeenNotice& notice : notices_.Seen()) texts.push_back(notice.text);
    return texts;
  }

  TestFolder settings_;  // holds the test's "To configure.ini"
  TestFolder books_;     // the save directory
};
