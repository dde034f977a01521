#include "text/direct_conversion.h"

#include <gtest/gtest.h>

#include <string>

#include "text/icu_converter.h"

// The one-pass conversions are a shortcut: whenever they accept a text they must give exactly
// the bytes of the ICU path they stand in for.
namespace {

std::string IcuGbkToUtf8(const std::string& text) {
  return EncodeWith(ConverterFor(65001), DecodeWith(ConverterFor(936), text));
}

std::string IcuUtf8ToGbk(const std::string& utf8) {
  return EncodeWith(ConverterFor(936), DecodeWith(ConverterFor(65001), utf8));
}

std::string Utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

}  // namespace

TEST(DirectConversion, AgreesWithIcuOnEveryDoubleByteCode) {
  int accepted = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      // Framed by ASCII so the shortcut's ASCII runs and character steps both take part.
      const std::string text =
          "a" + std::string{static_cast<char>(lead), static_cast<char>(trail)} + "z";
      std::string utf8;
      if (!DirectGbkToUtf8(text, utf8)) continue;
      ++accepted;
      ASSERT_EQ(utf8, IcuGbkToUtf8(text)) << std::hex << lead << ' ' << trail;
    }
  }
  EXPECT_GT(accepted, 20000);  // the shortcut takes the common characters, not just ASCII
}

TEST(DirectConversion, AgreesWithIcuOnEveryBmpCharacter) {
  int accepted = 0;
  for (char32_t c = 1; c <= 0xFFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::string utf8 = "<" + Utf8Of(c) + ">";
    std::string text;
    if (!DirectUtf8ToGbk(utf8, text)) continue;
    ++accepted;
    ASSERT_EQ(text, IcuUtf8ToGbk(utf8)) << std::hex << static_cast<unsigned>(c);
  }
  EXPECT_GT(accepted, 20000);
}

TEST(DirectConversion, DeclinesWhatOnlyIcuCanDo) {
  std::string out;
  EXPECT_FALSE(DirectUtf8ToGbk("e\xCC\x81", out));         // a combining mark: precomposed by ICU
  EXPECT_FALSE(DirectUtf8ToGbk("\xF0\x9F\x98\x80", out));  // outside the BMP
  EXPECT_FALSE(DirectUtf8ToGbk("\xC0\xAF", out));          // an overlong "/" is invalid UTF-8
  EXPECT_FALSE(DirectGbkToUtf8("\x81", out));              // a lead byte with no partner
}
