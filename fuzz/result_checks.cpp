#include "fuzz/result_checks.h"

#include <memory>
#include <string>

#include "fuzz/fuzz_support.h"
#include "text/regex_object.h"
#include "web/site_patterns.h"

namespace {

constexpr int kResultGroups = 6;
constexpr int kMatchesLooked = 64;  // enough to see the numbering; keeps big pages fast

void CheckOutside(const RegexObject& regex, int count) {
  int position = 0;
  FUZZ_CHECK(regex.MatchText(count + 1, &position).empty() && position == -2,
             "a match past the last one", "");
  FUZZ_CHECK(regex.MatchText(0, &position).empty() && position == -2, "a match number 0", "");
  if (count == 0) return;
  FUZZ_CHECK(regex.SubmatchText(1, 0, &position).empty() && position == -2,
             "submatch 0 is not outside the submatches", "");
  FUZZ_CHECK(regex.SubmatchText(1, kResultGroups + 1, &position).empty() && position == -2,
             "a submatch past the last group", "");
}

// `text` found at `position`: inside the page, and for a valid page the page's own bytes.
void CheckPiece(std::string_view page, bool validPage, const std::string& text, int position,
                const char* what) {
  FUZZ_CHECK(position >= 0 && static_cast<size_t>(position) <= page.size(), what,
             "position outside the page: " + std::to_string(position));
  if (!validPage) return;
  FUZZ_CHECK(page.substr(static_cast<size_t>(position), text.size()) == text, what,
             "text differs from the page at " + std::to_string(position) + ": " + HexDump(text));
}

}  // namespace

void CheckResultMatches(const RegexObject& regex, std::string_view page) {
  page = page.substr(0, page.find('\0'));
  const bool validPage = IsCp936Text(page);
  const int count = regex.MatchCount();
  FUZZ_CHECK(count >= 0, "a negative match count", "");
  FUZZ_CHECK(regex.SubmatchCount() == (count > 0 ? kResultGroups : 0),
             "the submatch count is not the pattern's groups", "");
  CheckOutside(regex, count);
  for (int m = 1; m <= count && m <= kMatchesLooked; ++m) {
    int matchPosition = -1;
    const std::string match = regex.MatchText(m, &matchPosition);
    CheckPiece(page, validPage, match, matchPosition, "match text");
    for (int g = 1; g <= kResultGroups; ++g) {
      int position = -1;
      const std::string group = regex.SubmatchText(m, g, &position);
      CheckPiece(page, validPage, group, position, "submatch text");
      if (validPage) {
        FUZZ_CHECK(
            position >= matchPosition && position + group.size() <= matchPosition + match.size(),
            "a submatch outside its match", std::to_string(position));
      }
    }
  }
  const std::unique_ptr<RegexObject> copy = regex.Copy();
  FUZZ_CHECK(copy->MatchCount() == count && copy->MatchText(1) == regex.MatchText(1) &&
                 copy->GetPattern() == regex.GetPattern(),
             "the copy differs", "");
  if (validPage && count == 0) {
    FUZZ_CHECK(regex.ReplaceMatches("x") == page, "replacing no match changed the page", "");
  }
}
