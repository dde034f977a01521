#include "bench/search_rows.h"

#include "text/code_page.h"
#include "text/text_find.h"

std::vector<ResultRow> CutSearchRows(std::string_view bodyUtf8, RegexObject& regex) {
  const std::string page =
      TextReplaceAll(TextReplaceAll(Utf8ToGbk(bodyUtf8), "<em>", ""), "</em>", "");
  regex.Search(kResultPattern, page);
  const int count = regex.MatchCount();
  std::vector<ResultRow> rows(static_cast<size_t>(count));
  for (int match = 1; match <= count; ++match) {
    ResultRow& row = rows[static_cast<size_t>(match - 1)];
    for (int column = 0; column < kResultColumns; ++column) {
      row[static_cast<size_t>(column)] = regex.SubmatchText(match, column + 1);
    }
  }
  return rows;
}
