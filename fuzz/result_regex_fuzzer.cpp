// The result pattern over arbitrary pages.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "fuzz/result_checks.h"
#include "text/regex_object.h"
#include "web/site_patterns.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view page(reinterpret_cast<const char*>(data), size);
  RegexObject regex;
  if (!regex.Search(kResultPattern, page)) {
    // Only a runaway search may fail, and it leaves nothing behind.
    FUZZ_CHECK(regex.MatchCount() == 0 && regex.SubmatchCount() == 0,
               "a failed search kept matches", "");
    return 0;
  }
  CheckResultMatches(regex, page);
  return 0;
}
