#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>
#include <unicode/utf8.h>

namespace {

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};

// A code page 936 decoder that stops at the first byte sequence it cannot map.
UConverter* StrictCp936() {
  static const std::unique_ptr<UConverter, ConverterCloser> converter = [] {
    UErrorCode error = U_ZERO_ERROR;
    std::unique_ptr<UConverter, ConverterCloser> opened(ucnv_open("windows-936-2000", &error));
    if (U_FAILURE(error)) FuzzFail("cannot open the code page 936 converter");
    ucnv_setToUCallBack(opened.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
    if (U_FAILURE(error)) FuzzFail("cannot make the code page 936 converter strict");
    return opened;
  }();
  return converter.get();
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

void FuzzFail(std::string_view what, std::string_view detail) {
  std::fprintf(stderr, "\n*** broken promise: %.*s\n", static_cast<int>(what.size()), what.data());
  if (!detail.empty()) {
    std::fprintf(stderr, "*** %.*s\n", static_cast<int>(detail.size()), detail.data());
  }
  std::abort();
}

std::string HexDump(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string dump;
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (!dump.empty()) dump.push_back(' ');
    dump.push_back(kHex[byte >> 4]);
    dump.push_back(kHex[byte & 0x0F]);
  }
  return dump;
}

bool IsCp936Text(std::string_view text) {
  if (text.find('\0') != std::string_view::npos) return false;
  if (text.empty()) return true;
  UConverter* converter = StrictCp936();
  ucnv_resetToUnicode(converter);
  std::u16string wide(text.size() + 1, u'\0');
  UChar* target = wide.data();
  const char* source = text.data();
  UErrorCode error = U_ZERO_ERROR;
  ucnv_toUnicode(converter, &target, target + wide.size(), &source, text.data() + text.size(),
                 nullptr, true, &error);
  return U_SUCCESS(error);
}

bool IsUtf8Text(std::string_view bytes) {
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  const auto length = static_cast<int32_t>(bytes.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c = 0;
    U8_NEXT(data, i, length, c);
    if (c <= 0) return false;  // malformed (negative) or a zero byte
  }
  return true;
}

std::string FoldEveryByte(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

bool PercentDecode(std::string_view encoded, std::string& decoded) {
  decoded.clear();
  for (size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] != '%') {
      decoded.push_back(encoded[i]);
      continue;
    }
    if (i + 2 >= encoded.size()) return false;
    const int high = HexValue(encoded[i + 1]);
    const int low = HexValue(encoded[i + 2]);
    if (high < 0 || low < 0) return false;
    decoded.push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return true;
}
