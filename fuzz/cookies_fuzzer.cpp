// MergeCookies over arbitrary cookie texts.

#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

#include "fuzz/fuzz_support.h"
#include "text/text_helpers.h"
#include "web/cookies.h"

namespace {

constexpr std::string_view kDeleted = "=deleted";

void CheckMerge(const std::string& cookiesBefore, const std::string& responseBefore) {
  std::string cookies = cookiesBefore;
  std::string responseCookies = responseBefore;
  const std::string merged = MergeCookies(cookies, responseCookies);

  FUZZ_CHECK(merged == cookies, "the result is not the merged text", HexDump(merged));
  FUZZ_CHECK(responseCookies == TextRemoveSpaces(responseBefore),
             "responseCookies is not its own text without spaces", HexDump(responseCookies));
  FUZZ_CHECK(TextRemoveSpaces(responseCookies) == responseCookies,
             "responseCookies still holds a space", HexDump(responseCookies));
  for (const std::string& piece : TextSplit(merged, ";")) {
    FUZZ_CHECK(!TextTrim(piece).ends_with(kDeleted), "the merged text holds a deleted cookie",
               HexDump(merged));
  }
  // Every cookie the response set and did not delete is carried into the merged text.
  for (const std::string& piece : TextSplit(responseCookies, ";")) {
    if (piece.ends_with(kDeleted)) continue;
    FUZZ_CHECK(merged.find(piece) != std::string::npos, "a response cookie was lost",
               HexDump(piece));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string cookies = in.ConsumeRandomLengthString(512);
  const std::string responseCookies = in.ConsumeRemainingBytesAsString();
  CheckMerge(cookies, responseCookies);
  return 0;
}
