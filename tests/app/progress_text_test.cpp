// How a running download's progress is worded, and the speed it shows.
#include "app/progress_text.h"

#include <gtest/gtest.h>

#include <ostream>

#include "app/transfer_rate.h"
#include "text/code_page.h"

namespace {

struct ProgressCase {
  std::uint64_t received;
  std::uint64_t total;
  double bytesPerSecond;
  std::string text;
  int percent;
};

void PrintTo(const ProgressCase& c, std::ostream* os) { *os << GbkToUtf8(c.text); }

class ProgressWording : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(ProgressWording, NamesBytesTotalAndSpeed) {
  const ProgressCase& c = GetParam();
  EXPECT_EQ(ProgressText(c.received, c.total, c.bytesPerSecond), c.text);
  EXPECT_EQ(ProgressPercent(c.received, c.total), c.percent);
}

constexpr std::uint64_t kMiB = 1024 * 1024;

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgressWording,
    ::testing::Values(
        ProgressCase{0, 0, 0, "正在连接……", -1}, ProgressCase{0, 20 * kMiB, 0, "0 B / 20.0 MB", 0},
        ProgressCase{1023, 0, 0, "1023 B", -1}, ProgressCase{1536, 0, 512, "1.5 KB，512 B/秒", -1},
        ProgressCase{9 * kMiB, 20 * kMiB, 1.2 * kMiB, "9.0 MB / 20.0 MB，1.2 MB/秒", 45},
        ProgressCase{kMiB - 1, 0, 0.5, "1.0 MB", -1},
        ProgressCase{200 * kMiB, 200 * kMiB, 0, "200.0 MB / 200.0 MB", 100},
        ProgressCase{3 * 1024 * kMiB, 0, 0, "3.0 GB", -1},
        // A server that sends more than it announced stays at 100%.
        ProgressCase{21 * kMiB, 20 * kMiB, 0, "21.0 MB / 20.0 MB", 100}));

TEST(TransferRate, MeasuresTheLastTwoSeconds) {
  TransferRate rate;
  EXPECT_EQ(rate.BytesPerSecond(), 0);
  rate.Add(0, 0);
  rate.Add(100, 100'000);
  EXPECT_EQ(rate.BytesPerSecond(), 0);  // too short a span to tell
  rate.Add(1000, 1'000'000);
  EXPECT_DOUBLE_EQ(rate.BytesPerSecond(), 1'000'000);
  // A stall: after two quiet seconds the figure has fallen to nothing.
  rate.Add(2000, 1'000'000);
  EXPECT_DOUBLE_EQ(rate.BytesPerSecond(), 500'000);
  rate.Add(3000, 1'000'000);
  rate.Add(4000, 1'000'000);
  EXPECT_DOUBLE_EQ(rate.BytesPerSecond(), 0);
}

}  // namespace
