#include "displayer/core/DisplayerColors.h"

#include <gtest/gtest.h>


namespace {

TEST(BlendColor, MixesEachChannelOnItsOwnTruncatesAndNeverCarries) {
  const struct {
    uint32_t a, b, share, blend;
  } cases[] = {
      // 0x3C2323 toward white at 75 %: (255 × 25 + 0x23 × 75) / 100 = 90.0 → 0x5A,
      // (255 × 25 + 0x3C × 75) / 100 = 108.75 → 0x6C; toward black 45, 26.25, 26.25.
      {0x3C2323, kWhiteColor, 75, 0x6C5A5A}, {0x3C2323, kBlackColor, 75, 0x2D1A1A},
      {0x123456, 0xABCDEF, 100, 0x123456},   {0x123456, 0xABCDEF, 0, 0xABCDEF},
      {0xFFFFFF, 0xFFFFFF, 50, 0xFFFFFF},    {0x0000FF, 0x000000, 150, 0x0000FF},  // a share over 100 is clamped
      {0xFF00FF00, 0, 100, 0x0000FF00},      // the unused top byte is dropped
  };
  for (const auto& c : cases) EXPECT_EQ(BlendColor(c.a, c.b, c.share), c.blend) << std::hex << c.a << " " << c.b;
}

TEST(DisplayerColors, SkinWinsOnlyWhereItSetsAColourAndTheUserLetsIt) {
  const SkinColorValues own{1, 2, 3, 4, 0x3C2323, 6};
  SkinColorValues skin;
  skin.fill(kUnsetColor);
  skin[1] = 0x102030;
  skin[4] = 0x000000;  // black is a colour, not "unset"

  DisplayerColors colors;
  colors.Recompute(own, true, skin);
  auto slots = [&] {
    std::vector<uint32_t> values;
    for (ColorSlot slot : {ColorSlot::kText, ColorSlot::kSung, ColorSlot::kBackground, ColorSlot::kInfo,
                           ColorSlot::kLightBevel, ColorSlot::kDarkBevel})
      values.push_back(colors[slot]);
    return values;
  };
  // The bevels of a black background: black toward white is 255 × 25 / 100.
  EXPECT_EQ(slots(), (std::vector<uint32_t>{1, 0x102030, 0, 6, 0x3F3F3F, 0}));
  colors.Recompute(own, false, skin);
  EXPECT_EQ(slots(), (std::vector<uint32_t>{1, 2, 0x3C2323, 6, 0x6C5A5A, 0x2D1A1A}));
}

}  // namespace
