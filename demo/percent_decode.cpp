#include "demo/percent_decode.h"

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::optional<std::string> PercentDecode(std::string_view text, bool plusIsSpace) {
  std::string decoded;
  decoded.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%') {
      const int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
      const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
      if (low < 0) return std::nullopt;
      decoded.push_back(static_cast<char>(high * 16 + low));
      i += 2;
    } else {
      decoded.push_back(plusIsSpace && text[i] == '+' ? ' ' : text[i]);
    }
  }
  return decoded;
}
