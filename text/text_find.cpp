#include "text/text_find.h"

#include <bit>
#include <cstring>
#include <functional>
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#include "text/text_helpers.h"

namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Does `needle` match `text` at byte index `at`? With ignoreCase only single-byte ASCII
// letters fold: the second byte of a double-byte character is compared exactly.
bool MatchesAt(std::string_view text, size_t at, std::string_view needle, bool ignoreCase) {
  if (!ignoreCase) return text.compare(at, needle.size(), needle) == 0;
  for (size_t j = 0; j < needle.size(); ++j) {
    const char n = needle[j];
    const char t = text[at + j];
    if (IsLeadByte(n) && j + 1 < needle.size()) {
      if (n != t || needle[j + 1] != text[at + j + 1]) return false;
      ++j;
    } else if (FoldAscii(n) != FoldAscii(t)) {
      return false;
    }
  }
  return true;
}

bool HasAsciiLetter(std::string_view text) {
  for (char c : text) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  }
  return false;
}

// Byte index of the first occurrence of `needle` (not empty) at or after `from`, character
// starts not considered. With SSE2, sixteen starts are tested at once on their first and last
// bytes, so the frequent bytes of markup ("<", ">") seldom reach the full comparison.
size_t FindBytes(std::string_view text, std::string_view needle, size_t from) {
#if defined(__SSE2__) || defined(_M_X64)
  const size_t n = needle.size();
  if (text.size() < n) return std::string_view::npos;
  const __m128i first = _mm_set1_epi8(needle.front());
  const __m128i last = _mm_set1_epi8(needle.back());
  for (; from + 16 <= text.size() - n + 1; from += 16) {
    const auto* at = reinterpret_cast<const __m128i*>(text.data() + from);
    const auto* atLast = reinterpret_cast<const __m128i*>(text.data() + from + n - 1);
    const __m128i both = _mm_and_si128(_mm_cmpeq_epi8(_mm_loadu_si128(at), first),
                                       _mm_cmpeq_epi8(_mm_loadu_si128(atLast), last));
    for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(both)); mask != 0; mask &= mask - 1) {
      const size_t candidate = from + static_cast<size_t>(std::countr_zero(mask));
      if (text.compare(candidate, n, needle) == 0) return candidate;
    }
  }
#endif
  return text.find(needle, from);
}

// Is byte `at` the start of a character, given that `boundary` (at or before it) is one? The
// byte after any byte below 0x80 starts a character, so only the run of bytes of 0x80 or more
// just before `at` decides: `at` starts a character when that run pairs up evenly.
bool StartsCharacter(std::string_view text, size_t boundary, size_t at) {
  size_t runStart = at;
  while (runStart > boundary && IsLeadByte(text[runStart - 1])) --runStart;
  return (at - runStart) % 2 == 0;
}

// TextFind for a needle compared byte for byte.
int FindExact(std::string_view text, std::string_view needle, size_t from) {
  size_t boundary = from;
  for (size_t at = FindBytes(text, needle, from); at != std::string_view::npos;
       at = FindBytes(text, needle, at + 1)) {
    if (StartsCharacter(text, boundary, at)) return static_cast<int>(at + 1);
    boundary = at + 1;  // `at` is the second byte of a character, so the next one starts here
  }
  return -1;
}

}  // namespace

int TextFind(std::string_view text, std::string_view needle, int startPosition, bool ignoreCase) {
  size_t i = startPosition < 1 ? 0 : static_cast<size_t>(startPosition - 1);
  if (i >= text.size()) return -1;
  if (needle.empty()) return static_cast<int>(i + 1);
  if (!ignoreCase || !HasAsciiLetter(needle)) return FindExact(text, needle, i);
  const char first = needle.front();
  const bool foldFirst =
      ignoreCase && ((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z'));
  while (i + needle.size() <= text.size()) {
    const char c = text[i];
    if ((c == first || (foldFirst && FoldAscii(c) == FoldAscii(first))) &&
        MatchesAt(text, i, needle, ignoreCase)) {
      return static_cast<int>(i + 1);
    }
    i += IsLeadByte(c) ? 2 : 1;
  }
  return -1;
}

namespace {

// Calls `onMatch(at)` with the byte index of each match of `from` (not empty), scanning left
// to right and going on after each match.
template <typename OnMatch>
void ForEachMatch(std::string_view text, std::string_view from, bool ignoreCase, OnMatch onMatch) {
  for (int pos = TextFind(text, from, 1, ignoreCase); pos != -1;
       pos = TextFind(text, from, pos + static_cast<int>(from.size()), ignoreCase)) {
    onMatch(static_cast<size_t>(pos - 1));
  }
}

bool Overlaps(std::string_view piece, const std::string& text) {
  const std::less<const char*> before;
  return !piece.empty() && !text.empty() && before(piece.data(), text.data() + text.size()) &&
         before(text.data(), piece.data() + piece.size());
}

}  // namespace

std::string TextReplaceAll(std::string_view text, std::string_view from, std::string_view to,
                           bool ignoreCase) {
  if (from.empty()) return std::string(text);
  std::string result;
  result.reserve(text.size());
  size_t copied = 0;
  ForEachMatch(text, from, ignoreCase, [&](size_t at) {
    result.append(text.substr(copied, at - copied)).append(to);
    copied = at + from.size();
  });
  result.append(text.substr(copied));
  return result;
}

namespace text_detail {

void ReplaceAllInPlace(std::string& text, std::string_view from, std::string_view to,
                       bool ignoreCase) {
  if (from.empty()) return;
  if (to.size() > from.size() || Overlaps(from, text) || Overlaps(to, text)) {
    text = TextReplaceAll(std::string_view(text), from, to, ignoreCase);
    return;
  }
  // The text only shrinks, so what is written never overtakes what is still to be read.
  char* const data = text.data();
  size_t written = 0;
  size_t copied = 0;
  auto keep = [&](size_t end) {
    std::memmove(data + written, data + copied, end - copied);
    written += end - copied;
  };
  ForEachMatch(text, from, ignoreCase, [&](size_t at) {
    keep(at);
    std::memcpy(data + written, to.data(), to.size());
    written += to.size();
    copied = at + from.size();
  });
  keep(text.size());
  text.resize(written);
}

}  // namespace text_detail
