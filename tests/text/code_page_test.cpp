#include "text/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// UTF-8 forms written as bytes: "搜索" E6 90 9C E7 B4 A2, "小说" E5 B0 8F E8 AF B4.
const std::string kSearchUtf8 = "\xE6\x90\x9C\xE7\xB4\xA2";
const std::string kNovelUtf8 = "\xE5\xB0\x8F\xE8\xAF\xB4";

TEST(GbkToUtf8, ConvertsCodePage936ToUtf8) {
  EXPECT_EQ(GbkToUtf8("搜索"), kSearchUtf8);
  EXPECT_EQ(GbkToUtf8("小说"), kNovelUtf8);
  EXPECT_EQ(GbkToUtf8("plain ASCII 123"), "plain ASCII 123");
  EXPECT_EQ(GbkToUtf8(""), "");
  EXPECT_EQ(GbkToUtf8("\x80"), "\xE2\x82\xAC");          // 80 is the euro sign in code page 936
  EXPECT_EQ(GbkToUtf8(std::string("ab\0搜", 5)), "ab");  // a text ends at its zero byte
}

TEST(Utf8ToGbk, ConvertsUtf8BodiesToCodePage936) {
  EXPECT_EQ(Utf8ToGbk(""), "");
  EXPECT_EQ(Utf8ToGbk(Bytes{}), "");
  EXPECT_EQ(Utf8ToGbk(kSearchUtf8), "搜索");
  EXPECT_EQ(Utf8ToGbk(ToBytes("<p>" + kNovelUtf8 + "</p>")), "<p>小说</p>");
  EXPECT_EQ(Utf8ToGbk("ASCII only"), "ASCII only");
}

TEST(Utf8ToGbk, WritesQuestionMarkForWhatCodePage936Lacks) {
  EXPECT_EQ(Utf8ToGbk("\xF0\x9F\x98\x80!"), "?!");  // an emoji (a surrogate pair in UTF-16)
  EXPECT_EQ(Utf8ToGbk("\xED\x95\x9C"), "?");        // Hangul syllable HAN
  EXPECT_EQ(WideToGbk(u"\U0001F600"), "?");
  // Invisible characters are no exception: a body is never lost to nothing.
  EXPECT_EQ(Utf8ToGbk("\xD8\x9C"), "?");                // U+061C, the letter mark
  EXPECT_EQ(Utf8ToGbk("a\xE2\x80\x8Bz"), "a?z");        // U+200B, zero-width space
  EXPECT_EQ(Utf8ToGbk("\xEF\xBB\xBF<p>"), "?<p>");      // U+FEFF, a byte-order mark
  EXPECT_EQ(WideToText(u"\u2060", kCodePageGbk), "?");  // U+2060, word joiner
  // Lone surrogates are no characters at all: substituted, and the conversion goes on.
  const std::u16string lone{char16_t{0xD800}, u'a', char16_t{0xDC00}};
  EXPECT_EQ(WideToGbk(lone), "?a?");
  EXPECT_EQ(WideToText(lone, kCodePageUtf8),
            "\xEF\xBF\xBD"
            "a\xEF\xBF\xBD");
}

TEST(Utf8ToGbk, PrecomposesBaseAndCombiningMark) {
  EXPECT_EQ(Utf8ToGbk("e\xCC\x81"), "é");  // e + U+0301
  EXPECT_EQ(WideToGbk(u"e\u0301"), "é");
  EXPECT_EQ(std::string("é"), "\xA8\xA6");
  EXPECT_EQ(WideToGbk(u"u\u0308"), "ü");
  EXPECT_EQ(WideToGbk(u"x\u0301搜"), "x?搜");  // no precomposed form: the mark alone is lost
  // Precomposed input passes unchanged.
  EXPECT_EQ(WideToGbk(u"\u00E9\u00FC"), "éü");
}

TEST(Utf8ToGbk, DecodesInvalidUtf8WithSubstitutes) {
  struct Case {
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"a\xFF"
       "b",
       "a?b"},
      {"a\xE6\x90", "a?"},  // cut short at the end
      {"\xE6\x90"
       "b",
       "?b"},  // cut short before ASCII
      {"\x9C"
       "c",
       "?c"},                   // a stray continuation byte
      {"\xED\xA0\x80", "???"},  // an encoded surrogate
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    EXPECT_EQ(Utf8ToGbk(c.bytes), c.text);
  }
  // An overlong slash must never come out as a slash.
  EXPECT_EQ(Utf8ToGbk("\xC0\xAF").find('/'), std::string::npos);
  EXPECT_EQ(Utf8ToGbk("\xE0\x80\xAF").find('/'), std::string::npos);
}

TEST(Utf8ToGbk, ZeroByteEndsTheText) {
  EXPECT_EQ(Utf8ToGbk(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(Utf8ToGbk(std::string("\0"
                                  "abc",
                                  4)),
            "");
  EXPECT_EQ(Utf8ToGbk(ToBytes(kSearchUtf8 + std::string(1, '\0') + kNovelUtf8)), "搜索");
}

TEST(Utf8ToWide, KeepsEveryUnitWithoutTerminator) {
  EXPECT_EQ(Utf8ToWide(""), u"");
  EXPECT_EQ(Utf8ToWide(kSearchUtf8), u"搜索");
  EXPECT_EQ(Utf8ToWide(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
  EXPECT_EQ(Utf8ToWide("\xF0\x9F\x98\x80"), u"\U0001F600");
  EXPECT_EQ(Utf8ToWide("a\xFF"), u"a\uFFFD");
}

TEST(TextToWide, EndsWithOneZeroUnit) {
  EXPECT_EQ(TextToWide(""), std::u16string(1, u'\0'));  // two zero bytes
  EXPECT_EQ(TextToWide("搜索", kCodePageGbk), std::u16string(u"搜索\0", 3));
  EXPECT_EQ(TextToWide("搜索", kCodePageAnsi), std::u16string(u"搜索\0", 3));
  // Without a code page the text is read as UTF-8.
  EXPECT_EQ(TextToWide(kSearchUtf8), std::u16string(u"搜索\0", 3));
  EXPECT_EQ(TextToWide("abc"), std::u16string(u"abc\0", 4));
}

TEST(WideToText, WritesInTheGivenCodePage) {
  EXPECT_EQ(WideToText(u""), "");
  EXPECT_EQ(WideToText(u"搜索"), "搜索");  // code page 0 is code page 936
  EXPECT_EQ(WideToText(u"搜索", kCodePageGbk), "搜索");
  EXPECT_EQ(WideToText(u"搜索", kCodePageUtf8), kSearchUtf8);
  EXPECT_EQ(WideToText(std::u16string(u"ab\0cd", 5)), "ab");
  EXPECT_EQ(WideToText(u"\uD55C"), "?");  // Hangul: not in code page 936
}

TEST(CodePage936, EveryDoubleByteCharacterRoundTrips) {
  // Through UTF-16 and through UTF-8, each double-byte character comes back as the same two
  // bytes.
  int assigned = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string character{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string wide = TextToWide(character, kCodePageGbk);
      if (wide == std::u16string(u"\uFFFD\0", 2)) continue;
      ++assigned;
      ASSERT_EQ(wide.size(), 2u) << std::hex << lead << ' ' << trail;
      ASSERT_EQ(WideToText(wide, kCodePageGbk), character) << std::hex << lead << ' ' << trail;
      ASSERT_EQ(Utf8ToGbk(GbkToUtf8(character)), character) << std::hex << lead << ' ' << trail;
    }
  }
  // Code page 936 gives every one of the 126 x 190 double-byte codes a character (the
  // user-defined areas in the private use area); a converter that knew none would pass the
  // loop above unseen.
  EXPECT_EQ(assigned, 126 * 190);
}

TEST(CodePage936, SingleBytesRoundTrip) {
  for (int byte = 1; byte <= 0x80; ++byte) {
    const std::string character(1, static_cast<char>(byte));
    EXPECT_EQ(Utf8ToGbk(GbkToUtf8(character)), character) << byte;
  }
}

// Pieces written one after another into kept storage give GbkToUtf8 of the whole; anything but
// plain double-byte text is declined.
TEST(PairedGbkToUtf8At, WritesPlainDoubleByteTextInPlace) {
  std::string utf8(100, 'x');  // an earlier, longer text's storage
  size_t written = 0;
  ASSERT_TRUE(PairedGbkToUtf8At("<p>搜", utf8, written));
  ASSERT_TRUE(PairedGbkToUtf8At("索</p>", utf8, written));
  utf8.resize(written);
  EXPECT_EQ(utf8, GbkToUtf8("<p>搜索</p>"));

  const std::string declines[] = {"a\x80", "\xFF", "\x81", "ab\x81<", std::string("a\0b", 3)};
  for (const std::string& declined : declines) {
    written = 0;
    EXPECT_FALSE(PairedGbkToUtf8At(declined, utf8, written)) << declined;
  }
}

}  // namespace
