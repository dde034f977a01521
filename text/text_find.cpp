#include "text/text_find.h"

#include "text/text_helpers.h"

namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Does `needle` match `text` at byte index `at`? With ignoreCase only single-byte ASCII
// letters fold: the second byte of a double-byte character is compared exactly.
bool MatchesAt(std::string_view text, size_t at, std::string_view needle, bool ignoreCase) {
  if (!ignoreCase) return text.compare(at, needle.size(), needle) == 0;
  for (size_t j = 0; j < needle.size(); ++j) {
    const char n = needle[j];
    const char t = text[at + j];
    if (IsLeadByte(n) && j + 1 < needle.size()) {
      if (n != t || needle[j + 1] != text[at + j + 1]) return false;
      ++j;
    } else if (FoldAscii(n) != FoldAscii(t)) {
      return false;
    }
  }
  return true;
}

}  // namespace

int TextFind(std::string_view text, std::string_view needle, int startPosition, bool ignoreCase) {
  size_t i = startPosition < 1 ? 0 : static_cast<size_t>(startPosition - 1);
  if (i >= text.size()) return -1;
  if (needle.empty()) return static_cast<int>(i + 1);
  const char first = needle.front();
  const bool foldFirst =
      ignoreCase && ((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z'));
  while (i + needle.size() <= text.size()) {
    const char c = text[i];
    if ((c == first || (foldFirst && FoldAscii(c) == FoldAscii(first))) &&
        MatchesAt(text, i, needle, ignoreCase)) {
      return static_cast<int>(i + 1);
    }
    i += IsLeadByte(c) ? 2 : 1;
  }
  return -1;
}

std::string TextReplaceAll(std::string_view text, std::string_view from, std::string_view to,
                           bool ignoreCase) {
  if (from.empty()) return std::string(text);
  std::string result;
  result.reserve(text.size());
  size_t copied = 0;
  for (int pos = TextFind(text, from, 1, ignoreCase); pos != -1;
       pos = TextFind(text, from, static_cast<int>(copied) + 1, ignoreCase)) {
    const size_t at = static_cast<size_t>(pos - 1);
    result.append(text.substr(copied, at - copied)).append(to);
    copied = at + from.size();
  }
  result.append(text.substr(copied));
  return result;
}
