#pragma once

#include <optional>
#include <string>
#include <string_view>

// `text` with every "%" and two hex digits replaced by that byte (and, with `plusIsSpace`,
// every "+" by a space, as forms write it); nothing when a "%" is not followed by two hex
// digits.
std::optional<std::string> PercentDecode(std::string_view text, bool plusIsSpace = false);
