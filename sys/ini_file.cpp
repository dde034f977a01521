#include "sys/ini_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>
#include <vector>

#include "sys/file_write.h"
#include "sys/paths.h"
#include "text/text_helpers.h"

namespace {

// One line of the file: its content and the line break that ended it ("" for the last line
// when the file does not end with one).
struct IniLine {
  std::string content;
  std::string ending;
};

// Where a key was found: the line and its value.
struct KeyAt {
  size_t line;
  std::string value;
};

std::string_view TrimBlanks(std::string_view text) {
  const size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  const size_t end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

bool SameName(std::string_view a, std::string_view b) { return TextLower(a) == TextLower(b); }

std::optional<std::string> ReadWholeFile(std::string_view fileText) {
  std::ifstream in(NativePath(fileText), std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

std::vector<IniLine> SplitLines(std::string_view bytes) {
  std::vector<IniLine> lines;
  while (!bytes.empty()) {
    const size_t lf = bytes.find('\n');
    const size_t next = lf == std::string_view::npos ? bytes.size() : lf + 1;
    size_t contentEnd = lf == std::string_view::npos ? bytes.size() : lf;
    if (contentEnd > 0 && lf != std::string_view::npos && bytes[contentEnd - 1] == '\r') {
      --contentEnd;
    }
    lines.push_back({std::string(bytes.substr(0, contentEnd)),
                     std::string(bytes.substr(contentEnd, next - contentEnd))});
    bytes.remove_prefix(next);
  }
  return lines;
}

// The name of a "[section]" line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view content) {
  const std::string_view line = TrimBlanks(content);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const size_t close = line.find(']');
  return TrimBlanks(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
}

// First line of the section's body, or nothing when the section is missing.
std::optional<size_t> FindSection(const std::vector<IniLine>& lines, std::string_view section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto name = SectionName(lines[i].content);
    if (name && SameName(*name, section)) return i + 1;
  }
  return std::nullopt;
}

// One past the last line of the section whose body starts at `body`.
size_t SectionEnd(const std::vector<IniLine>& lines, size_t body) {
  while (body < lines.size() && !SectionName(lines[body].content)) ++body;
  return body;
}

std::optional<KeyAt> FindKey(const std::vector<IniLine>& lines, size_t body, size_t end,
                             std::string_view key) {
  for (size_t i = body; i < end; ++i) {
    const std::string_view content = lines[i].content;
    const size_t equals = content.find('=');
    if (equals == std::string_view::npos) continue;
    if (SameName(TrimBlanks(content.substr(0, equals)), key)) {
      return KeyAt{i, std::string(TrimBlanks(content.substr(equals + 1)))};
    }
  }
  return std::nullopt;
}

std::string LimitValue(std::string value) {
  size_t cut = 0;
  while (cut < value.size()) {
    const size_t length = IsLeadByte(value[cut]) ? 2 : 1;
    if (cut + length > kIniValueLimit) break;
    cut += length;
  }
  value.resize(std::min(cut, value.size()));
  return value;
}

// The file's own line break, or the platform's for a file that has none yet.
std::string LineBreakOf(const std::vector<IniLine>& lines) {
  for (const IniLine& line : lines) {
    if (!line.ending.empty()) return line.ending;
  }
#ifdef _WIN32
  return "\r\n";
#else
  return "\n";
#endif
}

bool HoldsLineBreak(std::string_view text) { return text.find_first_of("\r\n") != text.npos; }

void StoreValue(std::vector<IniLine>& lines, std::string_view section, std::string_view key,
                std::string_view value) {
  const std::string eol = LineBreakOf(lines);
  const std::string keyLine = std::string(key) + "=" + std::string(value);
  const auto body = FindSection(lines, section);
  if (!body) {
    if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = eol;
    lines.push_back({"[" + std::string(section) + "]", eol});
    lines.push_back({keyLine, eol});
    return;
  }
  const size_t end = SectionEnd(lines, *body);
  if (const auto found = FindKey(lines, *body, end, key)) {
    std::string& content = lines[found->line].content;
    content =
        std::string(TrimBlanks(content.substr(0, content.find('=')))) + "=" + std::string(value);
    return;
  }
  // A new key goes after the section's last line that holds anything, before blank lines.
  size_t at = end;
  while (at > *body && TrimBlanks(lines[at - 1].content).empty()) --at;
  if (at > 0 && lines[at - 1].ending.empty()) lines[at - 1].ending = eol;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), IniLine{keyLine, eol});
}

}  // namespace

std::string ReadIniValue(std::string_view fileText, std::string_view section, std::string_view key,
                         std::string_view defaultValue) {
  const auto bytes = ReadWholeFile(fileText);
  if (!bytes) return std::string(defaultValue);
  const std::vector<IniLine> lines = SplitLines(*bytes);
  const auto body = FindSection(lines, section);
  if (!body) return std::string(defaultValue);
  const auto found = FindKey(lines, *body, SectionEnd(lines, *body), key);
  if (!found) return std::string(defaultValue);
  return LimitValue(found->value);
}

bool WriteIniValue(std::string_view fileText, std::string_view section, std::string_view key,
                   std::string_view value, std::string* failure) {
  if (HoldsLineBreak(section) || HoldsLineBreak(key) || HoldsLineBreak(value)) {
    if (failure) *failure = "line break in an INI name or value";
    return false;
  }
  std::vector<IniLine> lines;
  std::error_code error;
  if (std::filesystem::exists(NativePath(fileText), error)) {
    const auto bytes = ReadWholeFile(fileText);
    if (!bytes) {
      if (failure) *failure = "cannot read the INI file";
      return false;
    }
    lines = SplitLines(*bytes);
  }
  StoreValue(lines, section, key, value);
  std::string bytes;
  for (const IniLine& line : lines) bytes += line.content + line.ending;
  return WriteWholeFile(fileText, bytes, failure);
}
