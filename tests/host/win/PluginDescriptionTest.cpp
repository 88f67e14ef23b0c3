// The description text handed to the player (Shift-JIS under the test's Japanese
// locale: code page 932).

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "host/PluginDescription.h"

namespace {

WString Wide(const char16_t* text) { return WString(text); }

TEST(PluginDescriptionTest, NamesTheLibraryFileAfterTheLastBackslashOfTheWidePath) {
  // 0x5C is the trail byte of "表" (0x95 0x5C) in Shift-JIS: only wide splitting is safe.
  WString text = BuildDescription(Wide(u"Mirabo's Lyrics Plug-In"), Wide(u"1.12"),
                                  Wide(u"C:\\Program Files\\\u8868\\gen_\u8868.dll"));
  EXPECT_EQ(text, Wide(u"Mirabo's Lyrics Plug-In v1.12 [gen_\u8868.dll]"));
}

TEST(PluginDescriptionTest, CutNeverSplitsADoubleByteCharacter) {
  ASSERT_EQ(GetACP(), 932u);
  // One or two single-byte characters, then double-byte ones: 255 bytes hold
  // 1 + 127 × 2; with two, the 255th byte would be half a character.
  for (const auto& [lead, bytes] : {std::pair<const char16_t*, size_t>{u"a", 255}, {u"ab", 254}}) {
    WString text(lead);
    for (int i = 0; i < 200; ++i) text.Append(u'\u6B4C');
    char buffer[256];
    memset(buffer, 'x', sizeof buffer);
    ASSERT_EQ(CopyAnsiCut(text, buffer, sizeof buffer), bytes);
    EXPECT_EQ(buffer[bytes], 0);
    EXPECT_EQ(WString::FromAnsi(buffer, bytes), text.Substr(0, 128)) << bytes;
  }
}

TEST(PluginDescriptionTest, OneByteBufferHoldsOnlyTheTerminator) {
  char buffer[1] = {'x'};
  EXPECT_EQ(CopyAnsiCut(WString(u"\u6B4C.dll"), buffer, 1), 0u);
  EXPECT_EQ(buffer[0], 0);
}

}  // namespace
