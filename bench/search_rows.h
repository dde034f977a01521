#pragma once
// The search command's cutting of an answer into result rows, as the window and the command
// line do it: the UTF-8 body decoded into a code page 936 text, "<em>" and "</em>" removed,
// the result pattern run over it, and submatches 1 to 6 of every match taken as the cells.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "text/regex_object.h"
#include "web/site_patterns.h"

using ResultRow = std::array<std::string, kResultColumns>;

// The rows of one answer; `regex` is reused from search to search, as g_resultRegex is.
std::vector<ResultRow> CutSearchRows(std::string_view bodyUtf8, RegexObject& regex);
