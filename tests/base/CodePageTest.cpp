// Runs natively (iconv, code page 932 by default) and under Wine with the Japanese
// locale (the system's ANSI code page 932): both must agree.
#include "base/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CodePage, ShiftJisDecodesIncludingBackslashTrailBytes) {
  ASSERT_EQ(AnsiCodePage(), 932u);
  // 表 (0x95 0x5C) and ソ (0x83 0x5C): the second byte is the ASCII backslash.
  const std::string bytes = "\x95\x5C\x83\x5C\\\xB1";
  WString text = AnsiToWide(bytes.data(), bytes.size());
  ASSERT_EQ(text.Length(), 4u);
  EXPECT_EQ(text[0], 0x8868);
  EXPECT_EQ(text[1], 0x30BD);
  EXPECT_EQ(text[2], u'\\');
  EXPECT_EQ(text[3], 0xFF71);  // half-width katakana a
  EXPECT_EQ(WideToAnsi(text.CStr(), text.Length()), bytes);
}

TEST(CodePage, UnrepresentableCharactersBecomeTheDefaultCharacter) {
  WString text = WString::FromUtf8("a\xC3\xA9z");  // é is not in Shift-JIS
  std::string bytes = WideToAnsi(text.CStr(), text.Length());
  ASSERT_EQ(bytes.size(), 3u);
  EXPECT_EQ(bytes[0], 'a');
  EXPECT_EQ(bytes[2], 'z');
  EXPECT_NE(bytes[1], 0);
}

TEST(CodePage, AnsiCopyOfAString) {
  WString text = WString::FromUtf8("歌詞.txt");
  EXPECT_STREQ(text.Ansi(), "\x89\xCC\x8E\x8C.txt");
  text.Append(u'!');
  EXPECT_STREQ(text.Ansi(), "\x89\xCC\x8E\x8C.txt!");
}

}  // namespace
