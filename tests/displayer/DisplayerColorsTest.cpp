#include "displayer/core/DisplayerColors.h"

#include <gtest/gtest.h>

#include "settings/DisplayerSettings.h"
#include "settings/MemoryIniFile.h"

namespace {

TEST(BlendColor, MixesEachChannelOnItsOwnAndTruncates) {
  // 0x3C2323 toward white at 75 %: (255 × 25 + 0x23 × 75) / 100 = 90.0 → 0x5A,
  // (255 × 25 + 0x3C × 75) / 100 = 108.75 → 0x6C.
  EXPECT_EQ(BlendColor(0x3C2323, kWhiteColor, 75), 0x6C5A5Au);
  EXPECT_EQ(BlendColor(0x3C2323, kBlackColor, 75), 0x2D1A1Au);  // 45, 26.25, 26.25
  EXPECT_EQ(BlendColor(0x123456, 0xABCDEF, 100), 0x123456u);
  EXPECT_EQ(BlendColor(0x123456, 0xABCDEF, 0), 0xABCDEFu);
}

TEST(BlendColor, NeverCarriesIntoTheNeighbouringChannel) {
  EXPECT_EQ(BlendColor(0xFFFFFF, 0xFFFFFF, 50), 0xFFFFFFu);
  EXPECT_EQ(BlendColor(0x0000FF, 0x000000, 150), 0x0000FFu);  // out-of-range share is clamped
  EXPECT_EQ(BlendColor(0xFF00FF00, 0, 100), 0x0000FF00u);     // the unused top byte is dropped
}

TEST(DisplayerColors, SkinWinsOnlyWhereItSetsAColourAndTheUserLetsIt) {
  const SkinColorValues own{1, 2, 3, 4, 0x3C2323, 6};
  SkinColorValues skin;
  skin.fill(kUnsetColor);
  skin[1] = 0x102030;
  skin[4] = 0x000000;  // black is a colour, not "unset"

  DisplayerColors colors;
  colors.Recompute(own, true, skin);
  EXPECT_EQ(colors[ColorSlot::kText], 1u);
  EXPECT_EQ(colors[ColorSlot::kSung], 0x102030u);
  EXPECT_EQ(colors[ColorSlot::kBackground], 0u);
  EXPECT_EQ(colors[ColorSlot::kLightBevel], 0x3F3F3Fu);  // black toward white: 255 × 25 / 100
  EXPECT_EQ(colors[ColorSlot::kDarkBevel], 0u);

  colors.Recompute(own, false, skin);
  EXPECT_EQ(colors[ColorSlot::kSung], 2u);
  EXPECT_EQ(colors[ColorSlot::kInfo], 6u);
  EXPECT_EQ(colors[ColorSlot::kLightBevel], 0x6C5A5Au);
  EXPECT_EQ(colors[ColorSlot::kDarkBevel], 0x2D1A1Au);
}

TEST(DisplayerColors, SettingsColoursFillTheirOwnSlots) {
  MemoryIniFile ini("[Mirabo's Lyrics Displayer]\nCurColor2=010203\nBKCurColor=040506\n");
  DisplayerSettings settings(ini);
  SkinColorValues skin;
  skin.fill(kUnsetColor);
  DisplayerColors colors;
  colors.Recompute(settings, skin);
  EXPECT_EQ(colors[ColorSlot::kUnsung], 0x030201u);
  EXPECT_EQ(colors[ColorSlot::kCurrentBackground], 0x060504u);
  EXPECT_EQ(colors[ColorSlot::kInfo], settings.infoColor);
}

}  // namespace
