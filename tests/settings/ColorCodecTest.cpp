#include "settings/ColorCodec.h"

#include <gtest/gtest.h>

TEST(ColorCodecTest, WritesRgbHexUpperCaseWithoutLeadingZeros) {
  EXPECT_EQ(FormatIniColor(0x000000FF), "FF0000");  // red
  EXPECT_EQ(FormatIniColor(0x00FF0000), "FF");      // blue
  EXPECT_EQ(FormatIniColor(0x0000FF00), "FF00");    // green
  EXPECT_EQ(FormatIniColor(0x00000000), "0");
  EXPECT_EQ(FormatIniColor(0x00000001), "10000");
}

TEST(ColorCodecTest, ReadsRgbHexBackIntoColorValues) {
  ColorValue color = 0x123456;
  EXPECT_TRUE(ApplyIniColor("ff0000", color));
  EXPECT_EQ(color, 0x000000FFu);
  for (ColorValue c : {0x0u, 0x1u, 0xFFu, 0x8000u, 0xABCDEFu, 0xFFFFFFu, 0x969696u}) {
    ColorValue back = 0x777777;
    ASSERT_TRUE(ApplyIniColor(FormatIniColor(c), back)) << c;
    EXPECT_EQ(back, c);
  }
}

TEST(ColorCodecTest, AllOnesKeepsTheColourAndGarbageGivesBlack) {
  ColorValue color = 0x00123456;
  EXPECT_FALSE(ApplyIniColor("FFFFFFFF", color));  // also what a missing key reads as
  EXPECT_FALSE(ApplyIniColor("FFFFFFFFFF", color));  // saturates to all ones
  EXPECT_EQ(color, 0x00123456u);
  EXPECT_TRUE(ApplyIniColor("red", color));
  EXPECT_EQ(color, 0u);
  color = 0x00123456;
  EXPECT_TRUE(ApplyIniColor("", color));
  EXPECT_EQ(color, 0u);
}

TEST(ColorCodecTest, ParsesLikeStrtoul) {
  EXPECT_EQ(ParseHexNumber("  1A"), 0x1Au);
  EXPECT_EQ(ParseHexNumber("0x10"), 0x10u);
  EXPECT_EQ(ParseHexNumber("12zz"), 0x12u);
  EXPECT_EQ(ParseHexNumber("0xg"), 0u);
  EXPECT_EQ(ParseHexNumber("-1"), 0xFFFFFFFFu);
  EXPECT_EQ(ParseHexNumber("100000000"), 0xFFFFFFFFu);
  EXPECT_EQ(SwapRedBlue(0x00112233u), 0x00332211u);
  EXPECT_EQ(SwapRedBlue(0xAA112233u), 0xAA332211u);
}
