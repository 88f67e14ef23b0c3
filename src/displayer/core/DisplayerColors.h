#pragma once
// The colours the lyrics view and the info window draw with: the settings' colours,
// each replaced by the skin's own when the skin sets it and the user lets the skin
// win, plus the two bevel shades of the views' 1-pixel borders, mixed from the
// background so that every skin gets a matching border.

#include <array>

#include "settings/ColorCodec.h"
#include "settings/SkinColors.h"

class DisplayerSettings;

// Slots in the order the view and the info window index them.
enum class ColorSlot { kText, kSung, kUnsung, kCurrentBackground, kBackground, kInfo, kLightBevel, kDarkBevel };

constexpr int kColorSlotCount = 8;
constexpr ColorValue kWhiteColor = 0x00FFFFFFu;
constexpr ColorValue kBlackColor = 0x00000000u;

// Mixes percent of colour into (100 - percent) of target, red, green and blue each on
// its own, truncating.
ColorValue BlendColor(ColorValue colour, ColorValue target, int percent);

class DisplayerColors {
 public:
  DisplayerColors();

  void Recompute(const DisplayerSettings& settings, const SkinColorValues& skin);
  // The same from the six colours the settings hold, for callers without a store.
  void Recompute(const SkinColorValues& own, bool useSkin, const SkinColorValues& skin);

  ColorValue operator[](ColorSlot slot) const { return slots_[static_cast<int>(slot)]; }

 private:
  std::array<ColorValue, kColorSlotCount> slots_{};
};
