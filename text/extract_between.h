#pragma once

#include <string>
#include <string_view>

// What lies between the first `startMarker` at or after `startPosition` (1-based; below 1 is
// the first byte) and the next `endMarker` after it; "" when either is missing. In both
// markers the token "#引号" stands for a double quote. Letter case is ignored unless
// `caseSensitive`.
std::string ExtractBetween(std::string_view text, std::string_view startMarker,
                           std::string_view endMarker, int startPosition = 0,
                           bool caseSensitive = false);

// The trimmed rest of `text` after its first ":"; "" when there is none.
std::string TextAfterColon(std::string_view text);
