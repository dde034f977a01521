#pragma once
// Cutting a search answer into result rows.

#include <string>
#include <vector>

class RegexObject;

// One result's cells, in column order: name, author, introduction, book page address, size,
// date (kResultColumns of them).
using ResultRow = std::vector<std::string>;

// Takes every "<em>" and "</em>" out of `page` (exact letter case; the site marks the keyword
// in titles with them), leaving the cleaned text in `page`, then runs the result pattern over
// it with `regex` (letter case ignored, every match): one row per match in match order, its
// cells the submatches 1 to 6. No rows when nothing matches or the search fails.
std::vector<ResultRow> CutResultRows(RegexObject& regex, std::string& page);
