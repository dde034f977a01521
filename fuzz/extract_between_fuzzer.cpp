// ExtractBetween and TextAfterColon over arbitrary texts and markers, and the TextFind they
// are built on against a plain scan.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

#include "fuzz/fuzz_support.h"
#include "text/extract_between.h"
#include "text/text_find.h"
#include "text/text_helpers.h"

namespace {

constexpr std::string_view kQuoteToken = "#\xD2\xFD\xBA\xC5";  // "#引号"

int PickStartPosition(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
      return INT_MIN;
    case 1:
      return INT_MAX;
    default:
      return in.ConsumeIntegralInRange(-3, 200);
  }
}

bool IsLead(char c) { return static_cast<unsigned char>(c) >= 0x80; }

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The plain scan TextFind stands for: character by character from the start position, a
// lead byte taking the byte after it along; ignoring case folds single-byte letters only.
int ReferenceFind(std::string_view text, std::string_view needle, int startPosition,
                  bool ignoreCase) {
  size_t i = startPosition < 1 ? 0 : static_cast<size_t>(startPosition) - 1;
  if (i >= text.size()) return -1;
  if (needle.empty()) return static_cast<int>(i) + 1;
  for (; i + needle.size() <= text.size(); i += IsLead(text[i]) ? 2 : 1) {
    bool same = true;
    for (size_t j = 0; j < needle.size() && same; ++j) {
      const bool pair = IsLead(needle[j]) && j + 1 < needle.size();
      same = ignoreCase && !pair ? Fold(needle[j]) == Fold(text[i + j]) : needle[j] == text[i + j];
      if (pair && same) {
        same = needle[j + 1] == text[i + j + 1];
        ++j;
      }
    }
    if (same) return static_cast<int>(i) + 1;
  }
  return -1;
}

void CheckTextFind(std::string_view text, std::string_view needle, int startPosition) {
  for (const bool ignoreCase : {false, true}) {
    const int found = TextFind(text, needle, startPosition, ignoreCase);
    FUZZ_CHECK(found == ReferenceFind(text, needle, startPosition, ignoreCase),
               "TextFind differs from a plain scan",
               std::to_string(found) + " for " + HexDump(needle));
  }
}

bool Contains(std::string_view haystack, std::string_view needle, bool caseSensitive) {
  if (caseSensitive) return haystack.find(needle) != std::string_view::npos;
  return FoldEveryByte(haystack).find(FoldEveryByte(needle)) != std::string::npos;
}

// The cut text stands right after the start marker and right before the first end marker
// after it, and starts at or after the start position.
void CheckExtractBetween(std::string_view text, std::string_view startMarker,
                         std::string_view endMarker, int startPosition, bool caseSensitive) {
  const std::string cut =
      ExtractBetween(text, startMarker, endMarker, startPosition, caseSensitive);
  const std::string start = TextReplaceAll(startMarker, kQuoteToken, "\"");
  const std::string end = TextReplaceAll(endMarker, kQuoteToken, "\"");
  if (end.empty()) FUZZ_CHECK(cut.empty(), "an empty end marker cuts nothing", HexDump(cut));
  if (cut.empty()) return;
  FUZZ_CHECK(cut.size() <= text.size(), "the cut is longer than the text", HexDump(cut));

  const std::string framed = start + cut + end;
  const size_t from = startPosition < 1 ? 0 : static_cast<size_t>(startPosition - 1);
  const std::string_view searched = start.empty() ? text : text.substr(std::min(from, text.size()));
  FUZZ_CHECK(Contains(searched, framed, caseSensitive),
             "start marker, cut and end marker do not stand together in the text", HexDump(framed));
  if (start.empty()) {
    FUZZ_CHECK(Contains(text.substr(0, framed.size()), framed, caseSensitive),
               "an empty start marker must cut from the first byte", HexDump(cut));
  }
  // The end marker that closes the cut is the first one after its start.
  const int firstEnd = TextFind(cut + end, end, 1, !caseSensitive);
  FUZZ_CHECK(firstEnd == static_cast<int>(cut.size()) + 1,
             "the cut runs past an earlier end marker", HexDump(cut));
}

void CheckTextAfterColon(std::string_view text) {
  const std::string rest = TextAfterColon(text);
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos) {
    FUZZ_CHECK(rest.empty(), "text without a colon gave something", HexDump(rest));
    return;
  }
  FUZZ_CHECK(TextTrim(rest) == rest, "the rest after the colon is not trimmed", HexDump(rest));
  if (!rest.empty()) {
    FUZZ_CHECK(text.find(rest, colon + 1) != std::string_view::npos,
               "the rest is not taken from after the colon", HexDump(rest));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const bool caseSensitive = in.ConsumeBool();
  const int startPosition = PickStartPosition(in);
  const std::string startMarker = in.ConsumeRandomLengthString(24);
  const std::string endMarker = in.ConsumeRandomLengthString(24);
  const std::string text = in.ConsumeRemainingBytesAsString();

  CheckTextFind(text, startMarker, startPosition);
  CheckExtractBetween(text, startMarker, endMarker, startPosition, caseSensitive);
  CheckTextAfterColon(text);
  return 0;
}
