#include "text/extract_between.h"

#include "text/text_find.h"
#include "text/text_helpers.h"

namespace {

constexpr std::string_view kQuoteToken = "#\xD2\xFD\xBA\xC5";  // "#引号"

}  // namespace

std::string ExtractBetween(std::string_view text, std::string_view startMarker,
                           std::string_view endMarker, int startPosition, bool caseSensitive) {
  const std::string start = TextReplaceAll(startMarker, kQuoteToken, "\"");
  const std::string end = TextReplaceAll(endMarker, kQuoteToken, "\"");
  const bool ignoreCase = !caseSensitive;

  int found = TextFind(text, start, startPosition, ignoreCase);
  if (found == -1) return "";
  if (start.empty()) found = 1;  // an empty start marker counts as found at the first byte
  const int contentPosition = found + static_cast<int>(start.size());
  if (end.empty()) return "";
  const int endPosition = TextFind(text, end, contentPosition, ignoreCase);
  if (endPosition == -1) return "";
  return std::string(text.substr(static_cast<size_t>(contentPosition - 1),
                                 static_cast<size_t>(endPosition - contentPosition)));
}

std::string TextAfterColon(std::string_view text) {
  const int colon = TextFind(text, ":");
  if (colon == -1) return "";
  return TextTrim(text.substr(static_cast<size_t>(colon)));
}
