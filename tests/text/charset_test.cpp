#include <gtest/gtest.h>

#include <string>

// The whole program relies on narrow literals being code page 936 bytes.
TEST(Charset, LiteralsAreCodePage936) {
  const std::string search = "搜索";
  EXPECT_EQ(search, std::string("\xCB\xD1\xCB\xF7"));
  EXPECT_EQ(std::string("引号"), std::string("\xD2\xFD\xBA\xC5"));
  EXPECT_EQ(std::string("　"), std::string("\xA1\xA1"));  // full-width space
}
