#include "app/progress_text.h"

#include <array>
#include <cstdio>

std::string ByteCountText(std::uint64_t bytes) {
  static constexpr std::array<const char*, 4> kUnits = {"KB", "MB", "GB", "TB"};
  if (bytes < 1024) return std::to_string(bytes) + " B";
  double value = static_cast<double>(bytes) / 1024.0;
  size_t unit = 0;
  // 1023.96 KB would print as "1024.0 KB": step up before rounding can reach the next unit.
  while (value >= 1023.95 && unit + 1 < kUnits.size()) {
    value /= 1024.0;
    ++unit;
  }
  std::array<char, 32> text{};
  std::snprintf(text.data(), text.size(), "%.1f %s", value, kUnits[unit]);
  return text.data();
}

int ProgressPercent(std::uint64_t received, std::uint64_t total) {
  if (total == 0) return -1;
  if (received >= total) return 100;
  return static_cast<int>(received * 100 / total);
}

std::string ProgressText(std::uint64_t received, std::uint64_t total, double bytesPerSecond) {
  if (received == 0 && total == 0) return "正在连接……";
  std::string text = ByteCountText(received);
  if (total != 0) text += " / " + ByteCountText(total);
  if (bytesPerSecond >= 1) {
    text += "，" + ByteCountText(static_cast<std::uint64_t>(bytesPerSecond)) + "/秒";
  }
  return text;
}
