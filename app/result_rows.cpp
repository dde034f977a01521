#include "app/result_rows.h"

#include <utility>

#include "text/regex_object.h"
#include "text/text_find.h"
#include "web/site_patterns.h"

std::vector<ResultRow> CutResultRows(RegexObject& regex, std::string& page) {
  page = TextReplaceAll(std::move(page), "<em>", "");
  page = TextReplaceAll(std::move(page), "</em>", "");
  std::vector<ResultRow> rows;
  if (!regex.Search(kResultPattern, page)) return rows;
  const int count = regex.MatchCount();
  rows.reserve(static_cast<size_t>(count));
  for (int match = 1; match <= count; ++match) {
    ResultRow& row = rows.emplace_back();
    row.reserve(kResultColumns);
    for (int submatch = 1; submatch <= kResultColumns; ++submatch) {
      row.push_back(regex.SubmatchText(match, submatch));
    }
  }
  return rows;
}
