#include "text/code_page.h"

#include <cstring>
#include <memory>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include "text/direct_conversion.h"
#include "text/icu_converter.h"

namespace {

// Any code unit that combines with the character before it; only then is precomposing needed.
bool HasCombiningMark(std::u16string_view wide) {
  for (char16_t unit : wide) {
    if (unit >= 0x300 && u_getCombiningClass(unit) != 0) return true;
  }
  return false;
}

std::u16string Precomposed(std::u16string_view wide) {
  UErrorCode error = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(error);
  if (U_FAILURE(error)) return std::u16string(wide);
  const icu::UnicodeString source(false, wide.data(), static_cast<int32_t>(wide.size()));
  const icu::UnicodeString composed = nfc->normalize(source, error);
  if (U_FAILURE(error)) return std::u16string(wide);
  return std::u16string(composed.getBuffer(), static_cast<size_t>(composed.length()));
}

std::string_view UpToZero(std::string_view text) { return text.substr(0, text.find('\0')); }

std::u16string_view UpToZero(std::u16string_view wide) { return wide.substr(0, wide.find(u'\0')); }

}  // namespace

std::u16string TextToWide(std::string_view text, int codePage) {
  std::u16string wide = DecodeWith(ConverterFor(codePage), UpToZero(text));
  wide.push_back(u'\0');
  return wide;
}

std::string WideToText(std::u16string_view wide, int codePage) {
  return std::string(UpToZero(EncodeWith(ConverterFor(codePage), UpToZero(wide))));
}

std::string GbkToUtf8(std::string_view text) {
  std::string utf8;
  GbkToUtf8(text, utf8);
  return utf8;
}

bool GbkToUtf8(std::string_view text, std::string& utf8) {
  if (DirectGbkToUtf8(text, utf8)) return true;  // it stops at the first zero byte itself
  text = UpToZero(text);
  utf8 = EncodeWith(ConverterFor(kCodePageUtf8), DecodeWith(ConverterFor(kCodePageGbk), text));
  return false;
}

std::u16string Utf8ToWide(std::string_view bytes) {
  return DecodeWith(ConverterFor(kCodePageUtf8), bytes);
}

std::string WideToGbk(std::u16string_view wide) {
  std::string text = HasCombiningMark(wide)
                         ? EncodeWith(ConverterFor(kCodePageGbk), Precomposed(wide))
                         : EncodeWith(ConverterFor(kCodePageGbk), wide);
  text.resize(UpToZero(text).size());
  return text;
}

std::string Utf8ToGbk(std::string_view bytes) {
  if (std::string text; DirectUtf8ToGbk(bytes, text)) return text;  // stops at a zero byte
  return WideToGbk(Utf8ToWide(UpToZero(bytes)));
}

bool PairedGbkToUtf8At(std::string_view text, std::string& utf8, size_t& written) {
  return DirectGbkToUtf8At(text, utf8, written, GbkInput::kPairsOnly);
}
