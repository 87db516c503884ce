// Windows-1252, CP850 and UTF-16 against the UTF-8 the program keeps.
#include "platform/rtl/codepages.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePages, EightBitBytesMapToTheirCharacters) {
  struct Case {
    unsigned char byte;
    const char* cp1252;
    const char* cp850;
  } cases[] = {
      {0x41, "A", "A"},          {0x80, "\u20AC", "\u00C7"}, {0x81, "\u0081", "\u00FC"},
      {0x9F, "\u0178", "\u0192"}, {0xA0, "\u00A0", "\u00E1"}, {0xB3, "\u00B3", "\u2502"},
      {0xC4, "\u00C4", "\u2500"}, {0xD5, "\u00D5", "\u0131"}, {0xE1, "\u00E1", "\u00DF"},
      {0xF2, "\u00F2", "\u2017"}, {0xFE, "\u00FE", "\u25A0"}, {0xFF, "\u00FF", "\u00A0"},
  };
  for (const auto& c : cases) {
    const std::string b(1, static_cast<char>(c.byte));
    EXPECT_EQ(Cp1252ToUtf8(b), c.cp1252) << int(c.byte);
    EXPECT_EQ(Cp850ToUtf8(b), c.cp850) << int(c.byte);
  }
}

TEST(CodePages, EveryByteComesBackAndForeignCharactersAreRefused) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  std::string back;
  ASSERT_TRUE(Utf8ToCp1252(Cp1252ToUtf8(all), back));
  EXPECT_EQ(back, all);
  ASSERT_TRUE(Utf8ToCp850(Cp850ToUtf8(all), back));
  EXPECT_EQ(back, all);
  EXPECT_FALSE(Utf8ToCp1252("a\u2500", back));  // a box line is OEM only
  EXPECT_TRUE(Utf8ToCp850("a\u2500", back));
  EXPECT_EQ(back, "a\xC4");
  EXPECT_FALSE(Utf8ToCp850("\u20AC", back));
}

TEST(CodePages, Utf16BothWaysWithSurrogatesAndDamagedInput) {
  EXPECT_EQ(Utf8ToUtf16("A\u20AC\U0001F600"), (std::u16string{0x41, 0x20AC, 0xD83D, 0xDE00}));
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0x41, 0x20AC, 0xD83D, 0xDE00}), "A\u20AC\U0001F600");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, 0x41}), "\uFFFDA");  // a lone surrogate
  EXPECT_EQ(Utf8ToUtf16("\xC3"), std::u16string(1, 0xFFFD));          // a cut sequence
  EXPECT_EQ(Utf8ToUtf16(std::string("a\0b", 3)), (std::u16string{0x61, 0, 0x62}));
}

}  // namespace
