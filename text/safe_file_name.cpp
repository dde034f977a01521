#include "text/safe_file_name.h"

#include <utility>
#include <vector>

namespace {

// Longest name kept, in bytes of its UTF-8 form (a character beyond ASCII counted as three),
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

// A real code page 936 double-byte character. Only then may the second byte be taken along
// unchecked: after a lead byte a "/" or "\" is no trail byte, and the converter to the native
// path would read it as the separator it is.
bool IsDoubleByte(std::string_view name, size_t i) {
  if (i + 1 >= name.size()) return false;
  const auto lead = static_cast<unsigned char>(name[i]);
  const auto trail = static_cast<unsigned char>(name[i + 1]);
  return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

// One character of the safe name: a double-byte character whole, a byte that is no character
// of code page 936 (a stray lead byte, 0xFF) or a forbidden byte as "_".
std::string SafeCharacter(std::string_view name, size_t i) {
  if (IsDoubleByte(name, i)) return std::string(name.substr(i, 2));
  const auto byte = static_cast<unsigned char>(name[i]);
  const bool stray = byte > 0x80;  // 0x80 alone is the euro sign
  return std::string(1, IsForbidden(byte) || stray ? '_' : name[i]);
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
    std::string character = SafeCharacter(name, i);
    const size_t cost = static_cast<unsigned char>(character[0]) >= 0x80 ? 3 : 1;
    if (utf8Bytes + cost > kMaxUtf8Bytes) break;
    utf8Bytes += cost;
    i += IsDoubleByte(name, i) ? 2 : 1;
    characters.push_back(std::move(character));
  }
  size_t begin = 0;
  size_t end = characters.size();
  while (begin < end && IsTrimmed(characters[begin])) ++begin;
  while (end > begin && IsTrimmed(characters[end - 1])) --end;
  std::string safe;
  for (size_t k = begin; k < end; ++k) safe += characters[k];
  return safe;
}
