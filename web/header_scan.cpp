#include "web/header_scan.h"

#include <vector>

#include "text/extract_between.h"
#include "text/text_find.h"
#include "text/text_helpers.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kCookieJoin = "; ";

// Header bytes are not code page 936 text: split them byte for byte, so that a stray high
// byte at the end of one line cannot swallow its CR LF and hide the next line.
std::vector<std::string_view> SplitHeaderLines(std::string_view block) {
  std::vector<std::string_view> lines;
  while (!block.empty()) {
    const size_t end = block.find(kLineEnd);
    lines.push_back(block.substr(0, end));
    if (end == std::string_view::npos) break;
    block.remove_prefix(end + kLineEnd.size());
  }
  return lines;
}

bool IsLocationLine(std::string_view line) {
  const size_t colon = line.find(':');
  return colon != std::string_view::npos &&
         TextLower(TextTrim(line.substr(0, colon))) == "location";
}

// The cookie's name=value: up to the first ";" after "Set-Cookie:", or the whole rest of the
// line when no ";" follows.
std::string CookieOfLine(std::string_view line) {
  const std::string closed = std::string(line) + ";";
  return TextTrim(ExtractBetween(closed, "Set-Cookie:", ";"));
}

std::string_view WithoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

}  // namespace

void ScanResponseHeaders(std::string_view rawHeaders, std::string& location,
                         std::string& responseCookies) {
  responseCookies.clear();
  for (std::string_view line : SplitHeaderLines(rawHeaders)) {
    if (IsLocationLine(line)) location = TextAfterColon(line);
    if (TextFind(line, "Set-Cookie") != -1) {
      responseCookies.append(CookieOfLine(line)).append(kCookieJoin);
    }
  }
  if (responseCookies.size() >= kCookieJoin.size()) {
    responseCookies.resize(responseCookies.size() - kCookieJoin.size());
  }
  if (location.empty()) location = std::string(rawHeaders);
}

bool RawHeaderBlock::AddLine(std::string_view line) {
  const std::string_view content = WithoutLineEnd(line);
  if (content.starts_with("HTTP/")) {
    text_.clear();
    complete_ = false;
  } else if (complete_) {
    return true;
  }
  if (text_.size() + content.size() + kLineEnd.size() > kMaxHeaderBlockBytes) return false;
  text_.append(content).append(kLineEnd);
  complete_ = content.empty();
  return true;
}
