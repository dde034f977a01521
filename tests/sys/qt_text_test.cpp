#include "sys/qt_text.h"

#include <gtest/gtest.h>

namespace {

TEST(QtText, CodePage936TextsBecomeTheirCharacters) {
  EXPECT_EQ(ToQString("搜索"), QString::fromUtf8("\xE6\x90\x9C\xE7\xB4\xA2"));
  EXPECT_EQ(ToQString("次数：0"), QString::fromUtf8("\xE6\xAC\xA1\xE6\x95\xB0\xEF\xBC\x9A"
                                                    "0"));
  EXPECT_EQ(ToQString(""), QString());
}

TEST(QtText, RoundTripsByteForByte) {
  for (const std::string text : {"超级列表框1", "a b\tc", "　全角　", "<em>x</em>", ""}) {
    EXPECT_EQ(FromQString(ToQString(text)), text);
  }
}

TEST(QtText, CharactersOutsideCodePage936BecomeQuestionMarks) {
  EXPECT_EQ(FromQString(QString::fromUtf8("a\xED\x95\x9C"
                                          "b")),
            "a?b");  // a Hangul syllable
}

TEST(QtText, StopsAtTheFirstZeroByte) {
  EXPECT_EQ(ToQString(std::string("ab\0cd", 5)), QString("ab"));
}

}  // namespace
