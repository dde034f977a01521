#include "sys/timed_notice.h"

#include <gtest/gtest.h>

#include <memory>

#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "sys/tick_count.h"
#include "tests/sys/qt_watchers.h"
#include "tests/sys/test_form.h"

namespace {

class TimedNotice : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TestForm>();
    form_->Load();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
  }

  std::unique_ptr<TestForm> form_;
};

TEST_F(TimedNotice, ClosesItselfAfterItsTimeOut) {
  NoticeWatcher watcher(NoticeWatcher::Answer::kLeaveOpen);
  const std::int64_t start = TickCount();
  EXPECT_EQ(ShowTimedNotice("请输入目录！", {.timeoutMs = 200}), kNoticeIdTimeout - 1);
  const std::int64_t elapsed = TickCount() - start;
  EXPECT_GE(elapsed, 190);
  EXPECT_LT(elapsed, 3000);
  ASSERT_EQ(watcher.Seen().size(), 1u);
  EXPECT_EQ(watcher.Seen()[0].text, "请输入目录！");
}

TEST_F(TimedNotice, OkGivesZeroAndOmittedFieldsTakeTheirDefaults) {
  NoticeWatcher watcher;
  EXPECT_EQ(ShowTimedNotice("方式（1）"), 0);
  ASSERT_EQ(watcher.Seen().size(), 1u);
  const SeenNotice& seen = watcher.Seen()[0];
  EXPECT_EQ(seen.title, "友情提醒");
  EXPECT_EQ(seen.ownerName, "TestForm");  // the program's visible window, found for it
  EXPECT_TRUE(seen.windowModal);
}

TEST_F(TimedNotice, SuppliedValuesAreUsedEvenWhenEmpty) {
  NoticeWatcher watcher;
  EXPECT_EQ(ShowTimedNotice("x", {.title = "", .owner = WindowHandle()}), 0);
  ASSERT_EQ(watcher.Seen().size(), 1u);
  EXPECT_EQ(watcher.Seen()[0].title, "");
  EXPECT_EQ(watcher.Seen()[0].ownerName, "");  // a supplied null owner: no owner at all
  EXPECT_FALSE(watcher.Seen()[0].windowModal);
}

TEST_F(TimedNotice, ASuppliedZeroTimeOutClosesAtOnce) {
  NoticeWatcher watcher(NoticeWatcher::Answer::kLeaveOpen);
  EXPECT_EQ(ShowTimedNotice("x", {.timeoutMs = 0}), kNoticeIdTimeout - 1);
}

TEST_F(TimedNotice, TheOwnerIsBlockedWhileTheBoxIsUp) {
  NoticeWatcher watcher(NoticeWatcher::Answer::kLeaveOpen);
  bool ownerBlocked = false;
  QTimer::singleShot(50, [&] {
    ownerBlocked = QApplication::activeModalWidget() != nullptr &&
                   QApplication::activeModalWidget()->parentWidget() == form_.get();
    QTest::mouseClick(FindControl("TestForm", "按钮1"), Qt::LeftButton);
  });
  ShowTimedNotice("点这个没效果的！！！纯用来看的",
                  {.owner = NativeHandle("TestForm"), .timeoutMs = 300});
  EXPECT_TRUE(ownerBlocked);
  EXPECT_EQ(watcher.Seen().at(0).ownerName, "TestForm");
}

TEST_F(TimedNotice, StyleButtonsGiveThePlatformsIdentifiers) {
  // OK/Cancel with the second button as default: the watcher presses Cancel (2).
  NoticeWatcher watcher;
  EXPECT_EQ(ShowTimedNotice("x", {.style = 0x101}), kNoticeIdCancel - 1);
  EXPECT_EQ(ShowTimedNotice("x", {.style = 4}), 6 - 1);  // Yes/No: Yes
}

TEST_F(TimedNotice, AnOwnerDestroyedMeanwhileTakesTheBoxAlong) {
  NoticeWatcher watcher(NoticeWatcher::Answer::kLeaveOpen);
  auto owner = std::make_unique<TestForm>(nullptr, "Owner");
  owner->Load();
  QTimer::singleShot(50, [&] { owner.reset(); });
  EXPECT_EQ(ShowTimedNotice("x", {.owner = WindowHandle(owner.get()), .timeoutMs = 2000}),
            kNoticeIdCancel - 1);
}

}  // namespace
