#include "sys/shell_services.h"

#include <gtest/gtest.h>

#include <memory>

#include <QApplication>
#include <QFileDialog>
#include <QTest>
#include <QTimer>

#include "sys/qt_text.h"
#include "tests/sys/qt_watchers.h"
#include "tests/sys/test_folder.h"
#include "tests/sys/test_form.h"

namespace {

TEST(BrowseForFolder, GivesTheChosenFolderWithTheProgramBlockedMeanwhile) {
  TestForm form;
  form.Load();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  TestFolder folder;
  const std::filesystem::path chosen = folder.Native() / "\xE5\xB0\x8F\xE8\xAF\xB4";  // UTF-8
  std::filesystem::create_directory(chosen);
  FolderBrowserAnswer answer(QString::fromStdString(chosen.string()));
  bool blocked = false;
  QTimer::singleShot(0, [&] {
    blocked = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()) != nullptr &&
              QApplication::activeModalWidget()->isModal();
  });
  EXPECT_EQ(BrowseForFolder("选择目录"), folder.Native().string() + "/小说");
  EXPECT_EQ(answer.Titles(), std::vector<std::string>{"选择目录"});
  EXPECT_TRUE(blocked);
}

TEST(BrowseForFolder, CancelledGivesNothing) {
  FolderBrowserAnswer answer{QString()};
  EXPECT_EQ(BrowseForFolder(""), "");
  EXPECT_EQ(answer.Titles().size(), 1u);
}

TEST(OpenWebPage, ABareHostGetsHttp) {
  OpenedPages pages;
  EXPECT_TRUE(OpenWebPage("www.example.com"));
  EXPECT_TRUE(OpenWebPage("https://example.org/a?b=1"));
  EXPECT_FALSE(OpenWebPage(""));
  ASSERT_EQ(pages.Urls().size(), 2u);
  EXPECT_EQ(pages.Urls()[0].toString(), "http://www.example.com");
  EXPECT_EQ(pages.Urls()[1].toString(), "https://example.org/a?b=1");
}

}  // namespace
