// The keyboard: Enter in the keyword box searches as "搜索" would, and Tab walks each window's
// controls in the order they stand, top to bottom and left to right.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include <QApplication>
#include <QRadioButton>
#include <QTest>

#include "app/new_download_dialog.h"
#include "sys/qt_text.h"
#include "tests/app/download_fixture.h"

namespace {

class EnterInTheKeywordBox : public DownloadSideOnDemo,
                             public ::testing::WithParamInterface<Qt::Key> {
 protected:
  static void PressEnter() {
    QTest::keyClick(FindControl(kMainWindow, kMainKeywordBox), GetParam());
  }
};

TEST_P(EnterInTheKeywordBox, Searches) {
  SetControlText(kMainWindow, kMainKeywordBox, "红楼梦");
  PressEnter();
  EXPECT_EQ(demo_.SearchPostCount(), 1);
  EXPECT_EQ(Names(), std::vector<std::string>{"红楼梦"});
  EXPECT_TRUE(IsEnabled(kMainWindow, kMainSearchButton));
}

TEST_P(EnterInTheKeywordBox, StartsNoSecondSearchWhileOneRuns) {
  demo_.SetDelay(400);
  SetControlText(kMainWindow, kMainKeywordBox, "红楼梦");
  bool buttonWasDisabled = false;
  After(150, [&] {
    buttonWasDisabled = !IsEnabled(kMainWindow, kMainSearchButton);
    PressEnter();
  });
  PressEnter();
  EXPECT_TRUE(buttonWasDisabled);
  EXPECT_EQ(demo_.SearchPostCount(), 1);
  EXPECT_EQ(Names(), std::vector<std::string>{"红楼梦"});
}

INSTANTIATE_TEST_SUITE_P(Keys, EnterInTheKeywordBox,
                         ::testing::Values(Qt::Key_Return, Qt::Key_Enter), [](const auto& info) {
                           return std::string(info.param == Qt::Key_Return ? "Return" : "Enter");
                         });

// --- Tab ---

// A stop for Tab: a control that takes focus itself (not through a proxy, as the tab
// control does through its tab bar). A group of radio buttons is one stop, its checked one,
// as on the platform the windows were drawn for.
bool IsTabStop(QWidget* control) {
  if (!(control->focusPolicy() & Qt::TabFocus) || !control->isVisible() || !control->isEnabled() ||
      control->focusProxy()) {
    return false;
  }
  auto* radio = qobject_cast<QRadioButton*>(control);
  return !radio || radio->isChecked();
}

// The controls of `window` that Tab can reach, in the order they stand; not those of the
// windows it owns.
std::vector<QWidget*> ByPosition(QWidget* window) {
  std::vector<QWidget*> controls;
  for (QWidget* child : window->findChildren<QWidget*>()) {
    if (child->window() == window && IsTabStop(child)) controls.push_back(child);
  }
  std::stable_sort(controls.begin(), controls.end(), [window](QWidget* a, QWidget* b) {
    const QPoint pa = a->mapTo(window, QPoint(0, 0));
    const QPoint pb = b->mapTo(window, QPoint(0, 0));
    return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
  });
  return controls;
}

std::vector<std::string> ObjectNames(const std::vector<QWidget*>& controls) {
  std::vector<std::string> names;
  for (QWidget* control : controls) names.push_back(GbkToUtf8(FromQString(control->objectName())));
  return names;
}

// The controls Tab (or Shift+Tab) visits from the first one, once round.
std::vector<QWidget*> TabWalk(QWidget* window, QWidget* first,
                              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  window->activateWindow();
  QApplication::setActiveWindow(window);
  first->setFocus(Qt::TabFocusReason);
  std::vector<QWidget*> visited{first};
  for (int step = 0; step < 32; ++step) {
    QTest::keyClick(QApplication::focusWidget(), modifiers ? Qt::Key_Backtab : Qt::Key_Tab,
                    modifiers);
    QWidget* now = QApplication::focusWidget();
    if (!now || now == first) break;
    visited.push_back(now);
  }
  return visited;
}

using TabOrder = DownloadSideOnDemo;

TEST_F(TabOrder, FollowsWhereTheControlsStandInEachWindow) {
  // The panel's list needs a row to be worth a stop; the dialog must be open.
  Search("红楼梦");
  LoadWindow(kNewDownloadDialog, kMainWindow);
  for (const std::string_view name : {kMainWindow, kDownloadPanel, kNewDownloadDialog}) {
    QWidget* window = FindFormWindow(name);
    const std::vector<QWidget*> expected = ByPosition(window);
    ASSERT_GE(expected.size(), 3u) << name;
    EXPECT_EQ(ObjectNames(TabWalk(window, expected.front())), ObjectNames(expected)) << name;
    std::vector<QWidget*> backwards(expected.rbegin(), expected.rend());
    std::rotate(backwards.rbegin(), backwards.rbegin() + 1, backwards.rend());
    EXPECT_EQ(ObjectNames(TabWalk(window, expected.front(), Qt::ShiftModifier)),
              ObjectNames(backwards))
        << name;
  }
}

}  // namespace
