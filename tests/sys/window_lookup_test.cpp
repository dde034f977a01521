#include "sys/window_lookup.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>

#include <QTest>
#include <QTimer>

#include "sys/qt_text.h"
#include "sys/tick_count.h"
#include "tests/sys/test_form.h"

namespace {

// Two visible windows of the program: "Alpha" titled "主窗口" and "Beta" titled "".
class FindProcessWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    alpha_ = std::make_unique<TestForm>(nullptr, "Alpha");
    alpha_->setWindowTitle(ToQString("主窗口"));
    beta_ = std::make_unique<TestForm>(nullptr, "Beta");
    beta_->setWindowTitle("");
    alpha_->Load();
    beta_->Load();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(beta_.get()));
    beta_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(beta_.get()));
  }

  std::string Found(std::optional<std::string_view> title, std::optional<std::string_view> cls,
                    std::optional<int> limit = 2000) {
    const WindowHandle found = FindProcessWindow(CurrentProcessId(), title, cls, limit);
    return found ? found->objectName().toStdString() : "";
  }

  std::unique_ptr<TestForm> alpha_;
  std::unique_ptr<TestForm> beta_;
};

TEST_F(FindProcessWindowTest, WithoutFiltersTheActiveWindowComesFirst) {
  EXPECT_EQ(Found(std::nullopt, std::nullopt), "Beta");  // by its class, its title being ""
}

struct FilterCase {
  const char* name;
  std::optional<std::string_view> title;
  std::optional<std::string_view> cls;
  std::string expected;
};

void PrintTo(const FilterCase& c, std::ostream* out) { *out << c.name; }

class FilterRules : public FindProcessWindowTest,
                    public ::testing::WithParamInterface<FilterCase> {};

TEST_P(FilterRules, PickTheFirstWindowThatPasses) {
  EXPECT_EQ(Found(GetParam().title, GetParam().cls, 300), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FilterRules,
    ::testing::Values(
        // One filter omitted: the first visible window, whatever the other filter says.
        FilterCase{"only_title", "主窗口", std::nullopt, "Beta"},
        FilterCase{"only_class", std::nullopt, "NoSuchClass", "Beta"},
        // Both supplied: title or class must contain its filter.
        FilterCase{"title_matches", "窗口", "NoSuchClass", "Alpha"},
        FilterCase{"class_matches", "没有", "TestForm", "Beta"},
        FilterCase{"class_is_case_sensitive", "没有", "testform", ""},
        FilterCase{"empty_filter_needs_non_empty_title", "", "NoSuchClass", "Alpha"},
        FilterCase{"nothing_matches", "没有", "NoSuchClass", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FindProcessWindowTest, LimitZeroExaminesNoWindow) {
  EXPECT_EQ(Found(std::nullopt, std::nullopt, 0), "");
}

TEST_F(FindProcessWindowTest, LimitMinusOneIsNoLimit) {
  EXPECT_EQ(Found(std::nullopt, std::nullopt, -1), "Beta");
}

TEST_F(FindProcessWindowTest, OtherProcessesWindowsAreNotCandidates) {
  const WindowHandle found =
      FindProcessWindow(CurrentProcessId() + 1, std::nullopt, std::nullopt, 100);
  EXPECT_FALSE(found);
}

TEST_F(FindProcessWindowTest, WaitsForAWindowToBecomeVisible) {
  alpha_->hide();
  beta_->hide();
  QTimer::singleShot(150, [&] { alpha_->show(); });
  const std::int64_t start = TickCount();
  EXPECT_EQ(Found(std::nullopt, std::nullopt, 3000), "Alpha");
  EXPECT_GE(TickCount() - start, 140);
}

TEST_F(FindProcessWindowTest, GivesUpAtTheLimit) {
  alpha_->hide();
  beta_->hide();
  const std::int64_t start = TickCount();
  EXPECT_EQ(Found(std::nullopt, std::nullopt, 200), "");
  EXPECT_GE(TickCount() - start, 200);
  EXPECT_LT(TickCount() - start, 2000);
}

TEST(WindowFacts, TitleClassAndProcess) {
  TestForm form(nullptr, "Facts");
  const WindowHandle handle(&form);
  EXPECT_EQ(WindowTitle(handle), "测试窗口");
  EXPECT_EQ(WindowClassName(handle), "TestForm");
  EXPECT_EQ(WindowProcessId(handle), CurrentProcessId());
  EXPECT_EQ(WindowTitle(WindowHandle()), "");
  EXPECT_EQ(WindowClassName(WindowHandle()), "");
  EXPECT_EQ(WindowProcessId(WindowHandle()), 0);
}

}  // namespace
