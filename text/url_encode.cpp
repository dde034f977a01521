#include "text/url_encode.h"

#include "text/code_page.h"

namespace {

bool IsPlain(unsigned char c) {
  return c == '-' || c == '.' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
         (c >= 'a' && c <= 'z');
}

}  // namespace

std::string UrlEncode(std::string_view text, bool keepPlain, bool toUtf8) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const std::string utf8 = toUtf8 ? GbkToUtf8(text) : std::string();
  const std::string_view bytes = toUtf8 ? std::string_view(utf8) : text.substr(0, text.find('\0'));
  std::string encoded;
  encoded.reserve(bytes.size() * 3);
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (keepPlain && IsPlain(byte)) {
      encoded.push_back(c);
    } else {
      encoded.push_back('%');
      encoded.push_back(kHex[byte >> 4]);
      encoded.push_back(kHex[byte & 0x0F]);
    }
  }
  return encoded;
}
