#pragma once
// Searching texts the way the whole system does: 1-based byte positions, a match never starts
// on the second byte of a double-byte character, and ignoring case folds ASCII letters only.

#include <concepts>
#include <string>
#include <string_view>
#include <utility>

// Position (1-based) of the first match of `needle` in `text` at or after `startPosition`,
// or -1. A start below 1 means the first byte; the scan takes the start as the beginning of
// a character. An empty needle is found at the start position when a byte remains there.
int TextFind(std::string_view text, std::string_view needle, int startPosition = 1,
             bool ignoreCase = false);

// `text` with every match of `from` replaced by `to`, scanning left to right and going on
// after each replaced piece. An empty `from` leaves the text unchanged.
std::string TextReplaceAll(std::string_view text, std::string_view from, std::string_view to,
                           bool ignoreCase = false);

namespace text_detail {
void ReplaceAllInPlace(std::string& text, std::string_view from, std::string_view to,
                       bool ignoreCase);
}  // namespace text_detail

// The same for a text the caller gives up (a std::string rvalue): when `to` is no longer than
// `from` the result is built in the text's own storage, so a large page costs no second copy.
template <std::same_as<std::string> Text>
std::string TextReplaceAll(Text&& text, std::string_view from, std::string_view to,
                           bool ignoreCase = false) {
  text_detail::ReplaceAllInPlace(text, from, to, ignoreCase);
  return std::move(text);
}
