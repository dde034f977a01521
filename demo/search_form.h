#pragma once

#include <optional>
#include <string>
#include <string_view>

// The keyword (UTF-8) of a search form body "classid=0&show=title&keyboard=<percent-encoded
// keyword>&Submit22=<percent-encoded button caption>", its fields in any order; nothing when
// the body is not such a form (a field missing or repeated, a piece without "=", a bad
// escape, a byte outside ASCII).
std::optional<std::string> ParseSearchForm(std::string_view body);
