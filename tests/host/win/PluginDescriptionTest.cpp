// The description text handed to the player (Shift-JIS under the test's Japanese
// locale: code page 932).

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "host/PluginDescription.h"

namespace {

TEST(PluginDescriptionTest, NamesTheLibraryFileAfterTheLastBackslashOfTheWidePath) {
  // 0x5C is the trail byte of "表" (0x95 0x5C) in Shift-JIS: only wide splitting is safe.
  WString text = BuildDescription(WString(u"Mirabo's Lyrics Plug-In"), WString(u"1.12"),
                                  WString(u"C:\\Program Files\\\u8868\\gen_\u8868.dll"));
  EXPECT_EQ(text, WString(u"Mirabo's Lyrics Plug-In v1.12 [gen_\u8868.dll]"));
}

TEST(PluginDescriptionTest, CutNeverSplitsADoubleByteCharacter) {
  ASSERT_EQ(GetACP(), 932u);
  // One or two single-byte characters, then double-byte ones: 255 bytes hold
  // 1 + 127 × 2; with two, the 255th byte would be half a character. A buffer of one
  // byte holds only the terminator.
  const struct { const char16_t* lead; size_t size, bytes, characters; } cases[] = {
      {u"a", 256, 255, 128}, {u"ab", 256, 254, 128}, {u"", 1, 0, 0}};
  for (const auto& c : cases) {
    WString text(c.lead);
    for (int i = 0; i < 200; ++i) text.Append(u'\u6B4C');
    char buffer[256];
    memset(buffer, 'x', sizeof buffer);
    ASSERT_EQ(CopyAnsiCut(text, buffer, c.size), c.bytes);
    EXPECT_EQ(buffer[c.bytes], 0);
    EXPECT_EQ(WString::FromAnsi(buffer, c.bytes), text.Substr(0, c.characters)) << c.bytes;
  }
}

}  // namespace
