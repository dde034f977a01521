#include "text/icu_converter.h"

#include <memory>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <utility>
#include <vector>

namespace {

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// ICU's own substitution skips the invisible characters (U+200B, U+FEFF, U+061C, ...) that a
// code page lacks; the platform writes its default character for them like for any other, so
// a page that holds only such characters does not decode to nothing.
void SubstituteEveryCharacter(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                              UChar32, UConverterCallbackReason reason, UErrorCode* error) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close or clone: nothing to write
  *error = U_ZERO_ERROR;
  ucnv_cbFromUWriteSub(args, 0, error);
}

ConverterPtr OpenConverter(int codePage) {
  std::vector<std::string> names;
  if (codePage == 0 || codePage == 936) {
    names = {"windows-936-2000"};
  } else if (codePage == 65001) {
    names = {"UTF-8"};
  } else {
    const std::string number = std::to_string(codePage);
    names = {"windows-" + number, "ibm-" + number, "cp" + number};
  }
  for (const std::string& name : names) {
    UErrorCode error = U_ZERO_ERROR;
    ConverterPtr converter(ucnv_open(name.c_str(), &error));
    if (U_FAILURE(error) || !converter) continue;
    if (codePage != 65001) {
      error = U_ZERO_ERROR;
      ucnv_setSubstChars(converter.get(), "?", 1, &error);  // the code page's default character
      error = U_ZERO_ERROR;
      ucnv_setFromUCallBack(converter.get(), SubstituteEveryCharacter, nullptr, nullptr, nullptr,
                            &error);
    }
    return converter;
  }
  return nullptr;
}

}  // namespace

UConverter* ConverterFor(int codePage) {
  thread_local std::vector<std::pair<int, ConverterPtr>> converters;
  if (codePage == 0) codePage = 936;
  for (auto& [page, converter] : converters) {
    if (page == codePage) return converter.get();
  }
  converters.emplace_back(codePage, OpenConverter(codePage));
  return converters.back().second.get();
}

std::u16string DecodeWithOffsets(UConverter* converter, std::string_view bytes,
                                 std::vector<int>* offsets) {
  std::u16string wide;
  if (!converter || bytes.empty()) return wide;
  ucnv_resetToUnicode(converter);
  // One byte never gives more than one UTF-16 unit in the code pages used here; the loop
  // grows the buffer for any other.
  wide.resize(bytes.size() + 1);
  if (offsets) offsets->assign(wide.size(), 0);
  const char* source = bytes.data();
  const char* const sourceEnd = bytes.data() + bytes.size();
  size_t written = 0;
  while (true) {
    UErrorCode error = U_ZERO_ERROR;
    char16_t* target = wide.data() + written;
    const int base = static_cast<int>(source - bytes.data());
    int32_t* offsetsOut = offsets ? offsets->data() + written : nullptr;
    ucnv_toUnicode(converter, &target, wide.data() + wide.size(), &source, sourceEnd, offsetsOut,
                   true, &error);
    const size_t produced = static_cast<size_t>(target - wide.data()) - written;
    if (offsets) {
      for (size_t k = written; k < written + produced; ++k) (*offsets)[k] += base;
    }
    written += produced;
    if (error != U_BUFFER_OVERFLOW_ERROR) break;
    wide.resize(wide.size() * 2);
    if (offsets) offsets->resize(wide.size(), 0);
  }
  wide.resize(written);
  if (offsets) offsets->resize(written);
  return wide;
}

std::u16string DecodeWith(UConverter* converter, std::string_view bytes) {
  return DecodeWithOffsets(converter, bytes, nullptr);
}

std::string EncodeWith(UConverter* converter, std::u16string_view wide) {
  std::string text;
  if (!converter || wide.empty()) return text;
  ucnv_resetFromUnicode(converter);
  // Three bytes per unit covers UTF-8 and every double-byte code page.
  text.resize(wide.size() * 3 + 4);
  const char16_t* source = wide.data();
  const char16_t* const sourceEnd = wide.data() + wide.size();
  size_t written = 0;
  while (true) {
    UErrorCode error = U_ZERO_ERROR;
    char* target = text.data() + written;
    ucnv_fromUnicode(converter, &target, text.data() + text.size(), &source, sourceEnd, nullptr,
                     true, &error);
    written = static_cast<size_t>(target - text.data());
    if (error != U_BUFFER_OVERFLOW_ERROR) break;
    text.resize(text.size() * 2);
  }
  text.resize(written);
  return text;
}
