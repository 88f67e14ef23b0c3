#include "settings/SkinColors.h"

#include <gtest/gtest.h>

#include <string>

#include "TestText.h"
#include "settings/MemoryIniFile.h"

namespace {

TEST(SkinColors, ReadsColoursAndLeavesWhatIsNoColourUnset) {
  MemoryIniFile file(
      "[Skin]\r\n"
      "Color=FF0000\r\n"      // 0xRRGGBB on disk, 0x00BBGGRR in memory
      "curcolor=0\r\n"        // black is a colour; key names ignore case
      "CurColor2=zz12\r\n"    // no number: black in the settings, unset here
      "BKCurColor=\r\n"
      "BKColor=1000000\r\n"   // more than 24 bits
      "InfoColor= 0x80 \r\n");  // read as the settings read it
  EXPECT_EQ(SkinColors(file).Values(), (SkinColorValues{0x0000FF, 0, kUnsetColor, kUnsetColor, kUnsetColor, 0x800000}));

  MemoryIniFile other("[Mirabo's Lyrics Displayer]\r\nColor=FF0000\r\n");  // no skin section
  EXPECT_EQ(SkinColors(other).Values(), UnsetSkinColors());
  for (const char* noColour : {"FFFFFFFF", "-1", "-", " "}) {
    MemoryIniFile one(std::string("[Skin]\r\nColor=") + noColour + "\r\n");
    EXPECT_EQ(SkinColors(one).Values()[0], kUnsetColor) << '"' << noColour << '"';
  }
}

TEST(SkinColors, NeverWritesTheSkinsFile) {
  // A settings object would add the four missing keys when it goes.
  const std::string text = "[Skin]\r\nColor=FF0000\r\nBKColor=zz\r\n";
  MemoryIniFile file(text);
  { SkinColors colors(file); }
  EXPECT_EQ(file.Text(), text);
  EXPECT_EQ(file.KeyCount("Skin"), 2u);
}

}  // namespace
