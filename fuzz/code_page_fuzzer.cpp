// The code-page conversions: valid code page 936 texts survive the trip through UTF-8 and
// UTF-16; anything else decodes with substitutes, never with a zero inside and never twice
// differently.

#include <array>
#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

#include "fuzz/fuzz_support.h"
#include "text/code_page.h"

namespace {

// The code pages the program speaks, one it may be handed by a caller, and one ICU lacks.
constexpr std::array<int, 6> kCodePages = {kCodePageAnsi, kCodePageGbk, kCodePageUtf8,
                                           1252,          932,          77777};

std::string_view UpToZero(std::string_view text) { return text.substr(0, text.find('\0')); }

void CheckTerminatedOnce(const std::u16string& wide, std::string_view from) {
  FUZZ_CHECK(!wide.empty() && wide.back() == u'\0' && wide.find(u'\0') == wide.size() - 1,
             "TextToWide does not end with exactly one zero unit", HexDump(from));
}

std::string WideBytes(std::u16string_view wide) {
  return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
}

// A code page 936 text: to UTF-8 and back, to UTF-16 and back.
void CheckGbkText(std::string_view bytes) {
  const std::string_view text = UpToZero(bytes);
  const std::string utf8 = GbkToUtf8(bytes);
  FUZZ_CHECK(utf8.empty() == text.empty(), "GbkToUtf8 lost or made up the text", HexDump(text));
  FUZZ_CHECK(utf8.empty() || IsUtf8Text(utf8), "GbkToUtf8 gave no UTF-8", HexDump(utf8));
  const std::u16string wide = TextToWide(bytes, kCodePageGbk);
  CheckTerminatedOnce(wide, bytes);
  if (!IsCp936Text(text)) return;
  FUZZ_CHECK(Utf8ToGbk(utf8) == text, "code page 936 -> UTF-8 -> code page 936 changed it",
             HexDump(text));
  FUZZ_CHECK(WideToText(wide, kCodePageGbk) == text,
             "code page 936 -> UTF-16 -> code page 936 changed it", HexDump(text));
  FUZZ_CHECK(WideToGbk(std::u16string_view(wide).substr(0, wide.size() - 1)) == text,
             "WideToGbk does not give the code page 936 text back", HexDump(text));
}

// UTF-8 from the network: the code page 936 text it decodes to is stable.
void CheckUtf8Bytes(std::string_view bytes) {
  const std::string text = Utf8ToGbk(bytes);
  FUZZ_CHECK(text.find('\0') == std::string::npos, "Utf8ToGbk left a zero byte", HexDump(text));
  FUZZ_CHECK(text.empty() == UpToZero(bytes).empty(), "Utf8ToGbk lost or made up the text",
             HexDump(bytes));
  FUZZ_CHECK(Utf8ToGbk(GbkToUtf8(text)) == text, "a decoded text does not survive another trip",
             HexDump(text));
  const std::u16string wide = Utf8ToWide(bytes);
  if (IsUtf8Text(bytes)) {
    FUZZ_CHECK(WideToText(wide, kCodePageUtf8) == std::string(bytes),
               "UTF-8 -> UTF-16 -> UTF-8 changed it", HexDump(bytes));
  }
}

// UTF-16 from anywhere, lone surrogates included.
void CheckWide(std::u16string_view wide, int codePage) {
  const std::string text = WideToText(wide, codePage);
  FUZZ_CHECK(text.find('\0') == std::string::npos, "WideToText left a zero byte",
             HexDump(WideBytes(wide)));
  const std::string gbk = WideToGbk(wide);
  FUZZ_CHECK(gbk.find('\0') == std::string::npos, "WideToGbk left a zero byte",
             HexDump(WideBytes(wide)));
  FUZZ_CHECK(Utf8ToGbk(GbkToUtf8(gbk)) == gbk, "an encoded text does not survive another trip",
             HexDump(gbk));
}

void CheckAnyCodePage(std::string_view bytes, int codePage) {
  const std::u16string wide = TextToWide(bytes, codePage);
  CheckTerminatedOnce(wide, bytes);
  const std::string text = WideToText(wide, codePage);
  FUZZ_CHECK(text.find('\0') == std::string::npos, "WideToText left a zero byte", HexDump(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int mode = in.ConsumeIntegralInRange(0, 3);
  const int codePage = in.PickValueInArray(kCodePages);
  const std::string bytes = in.ConsumeRemainingBytesAsString();
  switch (mode) {
    case 0:
      CheckGbkText(bytes);
      break;
    case 1:
      CheckUtf8Bytes(bytes);
      break;
    case 2: {
      std::u16string wide(bytes.size() / 2, u'\0');
      for (size_t i = 0; i < wide.size(); ++i) {
        wide[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
      }
      CheckWide(wide, codePage);
      break;
    }
    default:
      CheckAnyCodePage(bytes, codePage);
      break;
  }
  return 0;
}
