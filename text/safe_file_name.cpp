#include "text/safe_file_name.h"

#include <vector>

#include "text/text_helpers.h"

namespace {

// Longest name kept, in bytes of its UTF-8 form (a double-byte character counted as three),
// so that the name plus ".txt" fits the 255-byte limit of common file systems.
constexpr size_t kMaxUtf8Bytes = 240;

bool IsForbidden(unsigned char c) {
  switch (c) {
    case '\\':
    case '/':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
      return true;
    default:
      return c < 0x20 || c == 0x7F;
  }
}

// Dots and spaces (ASCII or full-width) do not survive at either end of a file name.
bool IsTrimmed(std::string_view character) {
  return character == "." || character == " " || character == "\xA1\xA1";  // "　"
}

}  // namespace

std::string SafeFileName(std::string_view name) {
  std::vector<std::string> characters;
  size_t utf8Bytes = 0;
  for (size_t i = 0; i < name.size();) {
    // A double-byte character is kept whole: its second byte may look like "\" or "|" but is
    // no separator once the name is written as UTF-8.
    const bool doubleByte = IsLeadByte(name[i]) && i + 1 < name.size();
    const size_t cost = doubleByte ? 3 : 1;
    if (utf8Bytes + cost > kMaxUtf8Bytes) break;
    if (doubleByte) {
      characters.emplace_back(name.substr(i, 2));
    } else {
      const auto byte = static_cast<unsigned char>(name[i]);
      characters.emplace_back(1, IsForbidden(byte) ? '_' : name[i]);
    }
    utf8Bytes += cost;
    i += doubleByte ? 2 : 1;
  }
  size_t begin = 0;
  size_t end = characters.size();
  while (begin < end && IsTrimmed(characters[begin])) ++begin;
  while (end > begin && IsTrimmed(characters[end - 1])) --end;
  std::string safe;
  for (size_t k = begin; k < end; ++k) safe += characters[k];
  return safe;
}
