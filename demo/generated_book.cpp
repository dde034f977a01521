#include "demo/generated_book.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kCharsPerLine = 37;

std::uint64_t SplitMix64(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

using Line = std::array<char, kGeneratedLineBytes>;

// Characters come from the first 39 rows of GB2312's level-one hanzi, all of which code
// page 936 holds; a comma every ninth place and a full stop at the end make it read as prose.
Line MakeLine(std::uint64_t lineNumber) {
  Line line{};
  size_t at = 0;
  auto put = [&](unsigned char lead, unsigned char trail) {
    line[at++] = static_cast<char>(lead);
    line[at++] = static_cast<char>(trail);
  };
  put(0xA1, 0xA1);  // "　"
  put(0xA1, 0xA1);
  std::uint64_t state = SplitMix64(lineNumber);
  for (int k = 0; k < kCharsPerLine; ++k) {
    state = SplitMix64(state);
    if (k == kCharsPerLine - 1) {
      put(0xA1, 0xA3);  // "。"
    } else if (k % 9 == 8 && k < kCharsPerLine - 2) {
      put(0xA3, 0xAC);  // "，"
    } else {
      put(static_cast<unsigned char>(0xB0 + state % 39),
          static_cast<unsigned char>(0xA1 + (state >> 8) % 94));
    }
  }
  line[at++] = '\r';
  line[at++] = '\n';
  return line;
}

// The book's last line when the size does not fall on a line's end: the same line cut after
// a whole character, a space if one byte is left over, then CR LF.
Line ShortLine(std::uint64_t lineNumber, size_t length) {
  Line line = MakeLine(lineNumber);
  if (length < 2) {
    line[0] = '\n';
    return line;
  }
  const size_t kept = (length - 2) & ~size_t{1};
  if (kept < length - 2) line[kept] = ' ';
  line[length - 2] = '\r';
  line[length - 1] = '\n';
  return line;
}

}  // namespace

void AppendGeneratedBytes(std::uint64_t offset, std::size_t length, std::uint64_t totalBytes,
                          std::string& out) {
  if (offset >= totalBytes) return;
  std::uint64_t end = offset + std::min<std::uint64_t>(length, totalBytes - offset);
  out.reserve(out.size() + static_cast<size_t>(end - offset));
  while (offset < end) {
    const std::uint64_t lineNumber = offset / kGeneratedLineBytes;
    const std::uint64_t lineStart = lineNumber * kGeneratedLineBytes;
    const Line line = totalBytes - lineStart < kGeneratedLineBytes
                          ? ShortLine(lineNumber, static_cast<size_t>(totalBytes - lineStart))
                          : MakeLine(lineNumber);
    const std::uint64_t from = offset % kGeneratedLineBytes;
    const std::uint64_t count = std::min(kGeneratedLineBytes - from, end - offset);
    out.append(line.data() + from, static_cast<size_t>(count));
    offset += count;
  }
}
