#pragma once
// A MainWindow on the demo site, shown offscreen, with the shared state created and the
// first-run notice already seen, and the means to drive a search as a user would.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/globals.h"
#include "app/main_window.h"
#include "app/result_rows.h"
#include "app/window_names.h"
#include "demo/demo_site.h"
#include "sys/form_window.h"
#include "sys/window_layer.h"
#include "tests/sys/qt_watchers.h"
#include "tests/sys/test_folder.h"
#include "text/text_helpers.h"
#include "web/site_patterns.h"

// Points the temporary-files folder (where the first-run marker lives) at a test folder for
// as long as it lives.
class TemporaryFolderSwap {
 public:
  TemporaryFolderSwap() : saved_(qgetenv("TMPDIR")) {
    qputenv("TMPDIR", folder_.Native().string().c_str());
  }
  ~TemporaryFolderSwap() { qputenv("TMPDIR", saved_); }

  const TestFolder& Folder() const { return folder_; }

 private:
  QByteArray saved_;
  TestFolder folder_;
};

class MainWindowOnDemo : public ::testing::Test {
 protected:
  void SetUp() override {
    temporary_.Folder().Write("z.ini", "[.]\r\n.=1\r\n");
    ASSERT_TRUE(demo_.Start());
    InitGlobals();
    SiteConfig site;
    site.novelHost = demo_.HostPort();
    site.fileHost = demo_.HostPort();
    window_ = std::make_unique<MainWindow>(site);
    window_->Load();
  }

  void TearDown() override {
    window_.reset();
    ReleaseGlobals();
  }

  static QPushButton* Button() {
    return qobject_cast<QPushButton*>(FindControl(kMainWindow, kMainSearchButton));
  }

  // Types `keyword` and presses "搜索"; returns once the search has ended.
  static void Search(std::string_view keyword) {
    SetControlText(kMainWindow, kMainKeywordBox, keyword);
    QTest::mouseClick(Button(), Qt::LeftButton);
  }

  // Runs `action` on the window thread after `ms`, which is inside a running search's waits.
  void After(int ms, std::function<void()> action) {
    QTimer::singleShot(ms, window_.get(), std::move(action));
  }

  static std::string Attempts() { return StatusText(kMainWindow, kMainStatusBar); }

  // The number of milliseconds the time label shows, or -1 when it shows something else.
  static long long ElapsedShown() {
    const std::string text = ControlText(kMainWindow, kMainTimeLabel);
    const std::string prefix = "共用了";
    const std::string suffix = "毫秒";
    if (text.size() <= prefix.size() + suffix.size() || !text.starts_with(prefix) ||
        !text.ends_with(suffix)) {
      return -1;
    }
    return TextToInt(text.substr(prefix.size()));
  }

  static std::vector<ResultRow> Rows() {
    std::vector<ResultRow> rows;
    for (int row = 0; row < RowCount(kMainWindow, kMainResultList); ++row) {
      ResultRow& cells = rows.emplace_back();
      for (int column = 0; column < kResultColumns; ++column) {
        cells.push_back(GetCell(kMainWindow, kMainResultList, row, column));
      }
    }
    return rows;
  }

  // Column 0 of every row.
  static std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const ResultRow& row : Rows()) names.push_back(row[kColumnName]);
    return names;
  }

  TemporaryFolderSwap temporary_;
  NoticeWatcher notices_;
  DemoSite demo_;
  std::unique_ptr<MainWindow> window_;
};
