#include "sys/window_layer.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include "sys/qt_text.h"
#include "tests/sys/test_form.h"

namespace {

constexpr std::string_view kForm = "TestForm";
constexpr std::string_view kList = "超级列表框1";

class WindowLayer : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TestForm>();
    form_->Load();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
  }

  std::vector<std::string> Row(int row) {
    return {GetCell(kForm, kList, row, 0), GetCell(kForm, kList, row, 1)};
  }

  QTreeWidget* List() { return qobject_cast<QTreeWidget*>(FindControl(kForm, kList)); }

  std::unique_ptr<TestForm> form_;
};

TEST_F(WindowLayer, ControlsAreFoundByTheirFormNames) {
  EXPECT_EQ(FindFormWindow(kForm), form_.get());
  EXPECT_EQ(form_->objectName(), "TestForm");
  EXPECT_EQ(form_->windowTitle(), ToQString("测试窗口"));
  EXPECT_TRUE(qobject_cast<QLineEdit*>(FindControl(kForm, "编辑框1")));
  EXPECT_TRUE(qobject_cast<QPushButton*>(FindControl(kForm, "按钮1")));
  EXPECT_TRUE(qobject_cast<QLabel*>(FindControl(kForm, "透明标签1")));
  EXPECT_TRUE(qobject_cast<QRadioButton*>(FindControl(kForm, "单选框1")));
  EXPECT_TRUE(qobject_cast<QStatusBar*>(FindControl(kForm, "状态条1")));
  EXPECT_TRUE(qobject_cast<QToolButton*>(FindControl(kForm, "图形按钮1")));
  EXPECT_EQ(FindControl(kForm, "编辑框1")->objectName(), ToQString("编辑框1"));
  EXPECT_EQ(FindControl(kForm, "按钮1")->geometry(), QRect(120, 8, 56, 24));
  EXPECT_EQ(FindControl(kForm, kList)->geometry(), QRect(0, 0, 280, 100));  // on its tab page
}

TEST_F(WindowLayer, TextsGoInAndComeOutAsCodePage936) {
  for (const std::string_view control : {"编辑框1", "透明标签1", "按钮1", "单选框1"}) {
    SetControlText(kForm, control, "小说 <em>名</em>");
    EXPECT_EQ(ControlText(kForm, control), "小说 <em>名</em>") << ToQString(control).toStdString();
  }
  // A label shows site text as it is, never as markup.
  EXPECT_EQ(qobject_cast<QLabel*>(FindControl(kForm, "透明标签1"))->textFormat(), Qt::PlainText);
  EXPECT_EQ(ControlText(kForm, "按钮1"), "小说 <em>名</em>");
}

TEST_F(WindowLayer, RadioButtonsFormOneGroup) {
  EXPECT_TRUE(IsChecked(kForm, "单选框2"));
  EXPECT_FALSE(IsChecked(kForm, "单选框1"));
  SetChecked(kForm, "单选框1", true);
  EXPECT_TRUE(IsChecked(kForm, "单选框1"));
  EXPECT_FALSE(IsChecked(kForm, "单选框2"));
}

TEST_F(WindowLayer, DisabledButtonsTakeNoClicks) {
  SetEnabled(kForm, "按钮1", false);
  EXPECT_FALSE(IsEnabled(kForm, "按钮1"));
  QTest::mouseClick(FindControl(kForm, "按钮1"), Qt::LeftButton);
  EXPECT_EQ(form_->clicks, 0);
  SetEnabled(kForm, "按钮1", true);
  QTest::mouseClick(FindControl(kForm, "按钮1"), Qt::LeftButton);
  EXPECT_EQ(form_->clicks, 1);
}

TEST_F(WindowLayer, ListRowsAreAddedFilledAndRead) {
  EXPECT_EQ(AddRow(kForm, kList), 0);
  EXPECT_EQ(AddRow(kForm, kList), 1);
  SetCell(kForm, kList, 1, 0, "三国演义");
  SetCell(kForm, kList, 1, 1, "http://x/%E4.txt");
  SetCell(kForm, kList, 5, 0, "no such row");  // ignored
  EXPECT_EQ(Row(0), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(Row(1), (std::vector<std::string>{"三国演义", "http://x/%E4.txt"}));
  EXPECT_EQ(GetCell(kForm, kList, 2, 0), "");
  EXPECT_EQ(GetCell(kForm, kList, -1, 0), "");
  EXPECT_EQ(GetCell(kForm, kList, 1, 9), "");
  EXPECT_EQ(RowCount(kForm, kList), 2);
  ClearList(kForm, kList);
  EXPECT_EQ(RowCount(kForm, kList), 0);
}

TEST_F(WindowLayer, AddRowsAppendsManyRowsInOrder) {
  AddRow(kForm, kList);
  std::vector<std::vector<std::string>> rows;
  for (int i = 0; i < 1000; ++i) rows.push_back({"书" + std::to_string(i), "地址"});
  EXPECT_EQ(AddRows(kForm, kList, rows), 1);
  EXPECT_EQ(RowCount(kForm, kList), 1001);
  EXPECT_EQ(Row(1), (std::vector<std::string>{"书0", "地址"}));
  EXPECT_EQ(Row(1000), (std::vector<std::string>{"书999", "地址"}));
  EXPECT_EQ(AddRows(kForm, kList, {}), 1001);
}

TEST_F(WindowLayer, SelectedRowIsTheFirstSelectedRow) {
  AddRows(kForm, kList, {{"a"}, {"b"}, {"c"}, {"d"}});
  EXPECT_EQ(SelectedRow(kForm, kList), -1);
  List()->topLevelItem(3)->setSelected(true);
  List()->topLevelItem(1)->setSelected(true);
  EXPECT_EQ(SelectedRow(kForm, kList), 1);
  SetSelectedRow(kForm, kList, 2);
  EXPECT_EQ(SelectedRow(kForm, kList), 2);
  EXPECT_EQ(List()->selectedItems().size(), 1);
  SetSelectedRow(kForm, kList, -1);
  EXPECT_EQ(SelectedRow(kForm, kList), -1);
}

TEST_F(WindowLayer, CurrentRowChangesReachTheHandler) {
  AddRows(kForm, kList, {{"a"}, {"b"}, {"c"}});
  QTreeWidget* list = List();
  const auto clickRow = [&](int row, Qt::KeyboardModifiers modifiers = {}) {
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
  };
  clickRow(1);
  clickRow(1);  // the row that has the focus already: no event
  QTest::keyClick(list, Qt::Key_Down);
  clickRow(0, Qt::ControlModifier);  // adds row 0 to the selection and gives it the focus
  EXPECT_EQ(form_->rowChanges, (std::vector<int>{1, 2, 0}));
  SetSelectedRow(kForm, kList, 2);  // moved by the program: reported at once
  EXPECT_EQ(form_->rowChanges, (std::vector<int>{1, 2, 0, 2}));
  list->setCurrentItem(list->topLevelItem(2), 1);  // another column of the same row
  EXPECT_EQ(form_->rowChanges.size(), 4u);
}

TEST_F(WindowLayer, FocusAloneRaisesNoCurrentRowChange) {
  AddRows(kForm, kList, {{"a"}, {"b"}});
  FindControl(kForm, "编辑框1")->setFocus(Qt::TabFocusReason);
  List()->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_TRUE(form_->rowChanges.empty());
  QTest::keyClick(List(), Qt::Key_Down);  // the arrow then starts at the first row
  EXPECT_EQ(form_->rowChanges, std::vector<int>{0});
}

TEST_F(WindowLayer, StatusTextGoesToItsPart) {
  SetStatusText(kForm, "状态条1", "次数：3");
  SetStatusText(kForm, "状态条1", "右", 1);
  EXPECT_EQ(StatusText(kForm, "状态条1"), "次数：3");
  EXPECT_EQ(StatusText(kForm, "状态条1", 1), "右");
}

TEST_F(WindowLayer, WindowsMoveByTheirOuterFrame) {
  EXPECT_EQ(WindowWidth(kForm), 300);
  EXPECT_EQ(WindowHeight(kForm), 240);
  const int movesBefore = form_->moves;
  MoveWindow(kForm, 40, 50);
  SetWindowLeft(kForm, 70);
  QApplication::processEvents();
  EXPECT_EQ(WindowLeft(kForm), 70);
  EXPECT_EQ(WindowTop(kForm), 50);
  EXPECT_GT(form_->moves, movesBefore);
}

TEST_F(WindowLayer, WindowEventsComeOnceEach) {
  EXPECT_EQ(form_->created, 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form_->firstActivated == 1; }, 2000));
  form_->Load();
  form_->activateWindow();
  QApplication::processEvents();
  EXPECT_EQ(form_->created, 1);
  EXPECT_EQ(form_->firstActivated, 1);
}

TEST_F(WindowLayer, AHandlerCanRefuseToClose) {
  form_->allowClose = false;
  EXPECT_FALSE(form_->close());
  EXPECT_TRUE(form_->isVisible());
  EXPECT_TRUE(IsLoaded(kForm));
  form_->allowClose = true;
  EXPECT_TRUE(form_->close());
  EXPECT_FALSE(IsLoaded(kForm));
  EXPECT_EQ(form_->closeRequests, 2);
}

TEST_F(WindowLayer, LoadWindowBuildsAnOwnedWindowOnceAndBringsItBack) {
  RegisterWindowFactory("ChildForm",
                        [](QWidget* parent) { return new TestForm(parent, "ChildForm"); });
  EXPECT_FALSE(IsLoaded("ChildForm"));
  EXPECT_FALSE(NativeHandle("ChildForm"));
  LoadWindow("ChildForm", kForm);
  auto* child = qobject_cast<TestForm*>(FindFormWindow("ChildForm"));
  ASSERT_TRUE(child);
  EXPECT_EQ(child->parentWidget(), form_.get());
  EXPECT_TRUE(child->isWindow());
  EXPECT_TRUE(child->isVisible());
  EXPECT_FALSE(child->isModal());
  EXPECT_EQ(child->created, 1);
  EXPECT_EQ(NativeHandle("ChildForm").data(), child);

  child->showMinimized();
  LoadWindow("ChildForm", kForm);
  EXPECT_EQ(FindFormWindow("ChildForm"), child);
  EXPECT_FALSE(child->isMinimized());
  EXPECT_EQ(child->created, 1);

  // Destroyed once control is back in the event loop; gone for the handlers at once.
  const QPointer<TestForm> watch(child);
  child->allowClose = false;
  DestroyWindow("ChildForm");
  EXPECT_FALSE(IsLoaded("ChildForm"));
  EXPECT_TRUE(watch);
  EXPECT_EQ(child->closeRequests, 0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(watch);
}

TEST_F(WindowLayer, ClosingAnOwnedWindowDestroysIt) {
  RegisterWindowFactory("ChildForm",
                        [](QWidget* parent) { return new TestForm(parent, "ChildForm"); });
  LoadWindow("ChildForm", kForm);
  const QPointer<FormWindow> child(FindFormWindow("ChildForm"));
  child->close();
  EXPECT_FALSE(IsLoaded("ChildForm"));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(child);
}

using WindowLayerDeathTest = WindowLayer;

TEST_F(WindowLayerDeathTest, AMissingControlIsAProgrammingError) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(ControlText(kForm, "编辑框9"), "TestForm.*has no control.*\xE7\xBC\x96");
  EXPECT_DEATH(ControlText("NoSuchWindow", "编辑框1"), "NoSuchWindow.*is not loaded");
  EXPECT_DEATH(IsChecked(kForm, "编辑框1"), "QLineEdit, not a radio button");
}

TEST_F(WindowLayerDeathTest, WindowCallsFromAWorkerAreAProgrammingError) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(std::thread([] { IsLoaded("TestForm"); }).join(), "outside the window thread");
}

}  // namespace
