// UrlEncode over arbitrary texts: only escapes (and, with keepPlain, the plain characters),
// and decoding gives back exactly the bytes that were meant.

#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

#include "fuzz/fuzz_support.h"
#include "text/code_page.h"
#include "text/url_encode.h"

namespace {

bool IsUpperHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

bool IsPlain(char c) {
  return c == '-' || c == '.' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
         (c >= 'a' && c <= 'z');
}

void CheckEncoded(std::string_view text, bool keepPlain, bool toUtf8) {
  const std::string encoded = UrlEncode(text, keepPlain, toUtf8);
  for (size_t i = 0; i < encoded.size(); ++i) {
    const char c = encoded[i];
    FUZZ_CHECK(c == '%' || IsUpperHex(c) || (keepPlain && IsPlain(c)),
               "a character that is neither escape nor plain", HexDump(encoded));
  }
  if (!keepPlain) {
    FUZZ_CHECK(encoded.size() % 3 == 0, "escapes are not three characters each", HexDump(encoded));
    for (size_t i = 0; i < encoded.size(); i += 3) {
      FUZZ_CHECK(encoded[i] == '%' && IsUpperHex(encoded[i + 1]) && IsUpperHex(encoded[i + 2]),
                 "a byte not written as %hh", HexDump(encoded));
    }
  }
  const std::string_view meant = text.substr(0, text.find('\0'));
  const std::string expected = toUtf8 ? GbkToUtf8(meant) : std::string(meant);
  std::string decoded;
  FUZZ_CHECK(PercentDecode(encoded, decoded), "a broken escape", HexDump(encoded));
  FUZZ_CHECK(decoded == expected, "decoding does not give the bytes back", HexDump(decoded));
  if (toUtf8) FUZZ_CHECK(IsUtf8Text(decoded), "the UTF-8 form is not UTF-8", HexDump(decoded));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const bool keepPlain = in.ConsumeBool();
  const bool toUtf8 = in.ConsumeBool();
  const std::string text = in.ConsumeRemainingBytesAsString();
  CheckEncoded(text, keepPlain, toUtf8);
  return 0;
}
