#include "app/result_rows.h"

#include <cstring>
#include <string_view>
#include <utility>

#include "text/code_page.h"
#include "text/regex_object.h"
#include "text/text_find.h"
#include "web/site_patterns.h"

namespace {

constexpr std::string_view kOpenTag = "<em>";
constexpr std::string_view kCloseTag = "</em>";
constexpr std::string_view kTagEnd = "em>";  // what both tags end with

struct Tag {
  size_t at;
  size_t size;
};

// Could the text before a removed "<em>" (the page so far without its earlier "<em>" tags) and
// the text after it join into a new "</em>"? Only when that text ends with a proper beginning
// of "</em>"; an "<em>" just before lets the beginning reach further back, so that counts too.
bool MayJoinIntoCloseTag(std::string_view page, size_t openTagAt) {
  if (openTagAt == 0) return false;
  const char before = page[openTagAt - 1];
  return before == '<' || before == '/' || before == 'e' || before == 'm' ||
         (openTagAt >= kOpenTag.size() &&
          page.substr(openTagAt - kOpenTag.size(), kOpenTag.size()) == kOpenTag);
}

// The UTF-8 form of `page` without its "<em>" and "</em>" tags, written into `utf8`, and the
// tags in page order. Removing every "<em>" and then every "</em>" comes to removing both where
// they stand as long as no removal joins a new "</em>", and in a plain double-byte text (see
// PairedGbkToUtf8At) the tags found byte by byte are those TextReplaceAll finds. False when
// either does not hold: the page then needs the two removals and the search's own conversion.
bool ConvertWithoutTags(std::string_view page, std::string& utf8, std::vector<Tag>& tags) {
  size_t written = 0;
  size_t copied = 0;
  auto convert = [&](size_t end) {
    return PairedGbkToUtf8At(page.substr(copied, end - copied), utf8, written);
  };
  for (int found = TextFind(page, kTagEnd); found != -1;
       found = TextFind(page, kTagEnd, found + static_cast<int>(kTagEnd.size()))) {
    const size_t end = static_cast<size_t>(found - 1) + kTagEnd.size();
    Tag tag{};
    if (end >= kCloseTag.size() && page.substr(end - kCloseTag.size(), 2) == "</") {
      tag = {end - kCloseTag.size(), kCloseTag.size()};
    } else if (end >= kOpenTag.size() && page[end - kOpenTag.size()] == '<') {
      tag = {end - kOpenTag.size(), kOpenTag.size()};
      if (MayJoinIntoCloseTag(page, tag.at)) return false;
    } else {
      continue;
    }
    if (tag.at < copied || !convert(tag.at)) return false;
    tags.push_back(tag);
    copied = end;
  }
  if (!convert(page.size())) return false;
  utf8.resize(written);
  return true;
}

// Takes `tags` (in order, apart) out of `page` where it stands.
void RemoveTags(std::string& page, const std::vector<Tag>& tags) {
  if (tags.empty()) return;
  char* const data = page.data();
  size_t written = tags.front().at;
  for (size_t k = 0; k < tags.size(); ++k) {
    const size_t from = tags[k].at + tags[k].size;
    const size_t to = k + 1 < tags.size() ? tags[k + 1].at : page.size();
    std::memmove(data + written, data + from, to - from);
    written += to - from;
  }
  page.resize(written);
}

// Both removals, then the search, which converts the page itself.
bool SearchPlainly(RegexObject& regex, std::string& page) {
  page = TextReplaceAll(std::move(page), kOpenTag, "");
  page = TextReplaceAll(std::move(page), kCloseTag, "");
  return regex.Search(kResultPattern, page);
}

// The tags removed and the result pattern run, converting the page to UTF-8 only once.
bool SearchWithoutTags(RegexObject& regex, std::string& page) {
  // Kept between calls: converting into warm storage spares the fresh pages of a new one.
  thread_local std::string utf8;
  std::vector<Tag> tags;
  if (!ConvertWithoutTags(page, utf8, tags)) return SearchPlainly(regex, page);
  RemoveTags(page, tags);
  return regex.SearchConverted(kResultPattern, page, utf8);
}

}  // namespace

std::vector<ResultRow> CutResultRows(RegexObject& regex, std::string& page) {
  std::vector<ResultRow> rows;
  if (!SearchWithoutTags(regex, page)) return rows;
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
