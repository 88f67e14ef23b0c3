#include "settings/ColorCodec.h"

#include <gtest/gtest.h>

TEST(ColorCodecTest, WritesRgbHexUpperCaseWithoutLeadingZerosAndReadsItBack) {
  const std::pair<ColorValue, const char*> cases[] = {
      {0x000000FF, "FF0000"}, {0x00FF0000, "FF"}, {0x0000FF00, "FF00"}, {0x00000000, "0"}, {0x00000001, "10000"},
      {0x00008000, "8000"},   {0x00EFCDAB, "ABCDEF"}, {0x00FFFFFF, "FFFFFF"}, {0x00969696, "969696"}};
  for (const auto& [color, text] : cases) {
    EXPECT_EQ(FormatIniColor(color), text);
    ColorValue back = 0x777777;
    ASSERT_TRUE(ApplyIniColor(text, back)) << text;
    EXPECT_EQ(back, color) << text;
  }
}

TEST(ColorCodecTest, AllOnesKeepsTheColourAndGarbageGivesBlack) {
  ColorValue color = 0x00123456;
  EXPECT_FALSE(ApplyIniColor("FFFFFFFF", color));    // also what a missing key reads as
  EXPECT_FALSE(ApplyIniColor("FFFFFFFFFF", color));  // saturates to all ones
  EXPECT_EQ(color, 0x00123456u);
  for (const char* garbage : {"red", ""}) {
    color = 0x00123456;
    EXPECT_TRUE(ApplyIniColor(garbage, color));
    EXPECT_EQ(color, 0u) << garbage;
  }
}

TEST(ColorCodecTest, ParsesLikeStrtoul) {
  const std::pair<const char*, uint32_t> cases[] = {{"  1A", 0x1A}, {"0x10", 0x10}, {"ff0000", 0xFF0000}, {"12zz", 0x12}, {"0xg", 0},
                                                    {"-1", 0xFFFFFFFF}, {"100000000", 0xFFFFFFFF}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseHexNumber(text), value) << text;
  EXPECT_EQ(SwapRedBlue(0xAA112233u), 0xAA332211u);
}
