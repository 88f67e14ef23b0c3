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
  EXPECT_EQ(text, WString(u"\u8868\u30BD\\\uFF71"));  // the last: half-width katakana a
  EXPECT_EQ(WideToAnsi(text.CStr(), text.Length()), bytes);
}

TEST(CodePage, UnrepresentableCharactersBecomeTheDefaultOneAndAnsiCopiesFollowChanges) {
  WString text = WString::FromUtf8("a\xC3\xA9z");  // é is not in Shift-JIS
  std::string bytes = WideToAnsi(text.CStr(), text.Length());
  ASSERT_EQ(bytes.size(), 3u);
  EXPECT_TRUE(bytes[0] == 'a' && bytes[1] != 0 && bytes[2] == 'z') << bytes;
  // A string's ANSI copy follows its changes.
  text = WString::FromUtf8("歌詞.txt");
  EXPECT_STREQ(text.Ansi(), "\x89\xCC\x8E\x8C.txt");
  text.Append(u'!');
  EXPECT_STREQ(text.Ansi(), "\x89\xCC\x8E\x8C.txt!");
}

}  // namespace
