#include "text/text_helpers.h"

#include <limits>

#include "text/text_find.h"

namespace {

constexpr std::string_view kFullWidthSpace = "\xA1\xA1";  // "　"

// Length in bytes of the character that starts at `i` (a lead byte takes its partner along).
size_t CharLength(std::string_view text, size_t i) {
  return (IsLeadByte(text[i]) && i + 1 < text.size()) ? 2 : 1;
}

bool IsSpaceAt(std::string_view text, size_t i) {
  return text[i] == ' ' || text.compare(i, kFullWidthSpace.size(), kFullWidthSpace) == 0;
}

}  // namespace

std::string TextLower(std::string_view text) {
  std::string lower(text);
  for (size_t i = 0; i < lower.size(); i += CharLength(lower, i)) {
    if (lower[i] >= 'A' && lower[i] <= 'Z') lower[i] = static_cast<char>(lower[i] - 'A' + 'a');
  }
  return lower;
}

std::string TextTrim(std::string_view text) {
  // Walk whole characters so a full-width space is never mistaken across a character border.
  size_t begin = text.size();
  size_t end = 0;
  for (size_t i = 0; i < text.size();) {
    const size_t length = CharLength(text, i);
    if (!IsSpaceAt(text, i)) {
      if (begin == text.size()) begin = i;
      end = i + length;
    }
    i += length;
  }
  return begin < end ? std::string(text.substr(begin, end - begin)) : std::string();
}

std::string TextRemoveSpaces(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t length = CharLength(text, i);
    if (!IsSpaceAt(text, i)) kept.append(text.substr(i, length));
    i += length;
  }
  return kept;
}

std::vector<std::string> TextSplit(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) return {std::string(text)};
  size_t from = 0;
  while (from < text.size()) {
    const int pos = TextFind(text, separator, static_cast<int>(from) + 1);
    if (pos == -1) {
      pieces.emplace_back(text.substr(from));
      break;
    }
    const size_t at = static_cast<size_t>(pos - 1);
    pieces.emplace_back(text.substr(from, at - from));
    from = at + separator.size();
  }
  return pieces;
}

long long TextToInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  constexpr long long kMax = std::numeric_limits<long long>::max();
  while (i < text.size()) {
    int digit = -1;
    if (text[i] >= '0' && text[i] <= '9') {
      digit = text[i] - '0';
      i += 1;
    } else if (i + 1 < text.size() && static_cast<unsigned char>(text[i]) == 0xA3 &&
               static_cast<unsigned char>(text[i + 1]) >= 0xB0 &&
               static_cast<unsigned char>(text[i + 1]) <= 0xB9) {
      digit = static_cast<unsigned char>(text[i + 1]) - 0xB0;  // "０".."９"
      i += 2;
    } else {
      break;
    }
    value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;  // saturate, never overflow
  }
  return negative ? -value : value;
}
