#include "displayer/core/DisplayerColors.h"

#include "settings/DisplayerSettings.h"

namespace {

uint32_t Channel(ColorValue color, int shift) { return (color >> shift) & 0xFFu; }

SkinColorValues OwnColors(const DisplayerSettings& settings) {
  return {settings.color, settings.curColor, settings.curColor2,
          settings.bkCurColor, settings.bkColor, settings.infoColor};
}

}  // namespace

ColorValue BlendColor(ColorValue colour, ColorValue target, int percent) {
  // A share outside 0..100 would push channels past 255 into their neighbours.
  percent = percent < 0 ? 0 : percent > 100 ? 100 : percent;
  // Each channel is at most 255 × 100, so the sums stay far inside 32 bits.
  const uint32_t keep = static_cast<uint32_t>(percent), mix = static_cast<uint32_t>(100 - percent);
  ColorValue blended = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const uint32_t channel = (Channel(target, shift) * mix + Channel(colour, shift) * keep) / 100;
    blended |= (channel & 0xFFu) << shift;
  }
  return blended;
}

DisplayerColors::DisplayerColors() { slots_.fill(kBlackColor); }

void DisplayerColors::Recompute(const DisplayerSettings& settings, const SkinColorValues& skin) {
  Recompute(OwnColors(settings), settings.useSkinSetting != 0, skin);
}

void DisplayerColors::Recompute(const SkinColorValues& own, bool useSkin, const SkinColorValues& skin) {
  for (int i = 0; i < kSkinColorCount; ++i)
    slots_[i] = useSkin && skin[i] != kUnsetColor ? skin[i] : own[i];
  const ColorValue background = slots_[static_cast<int>(ColorSlot::kBackground)];
  slots_[static_cast<int>(ColorSlot::kLightBevel)] = BlendColor(background, kWhiteColor, 75);
  slots_[static_cast<int>(ColorSlot::kDarkBevel)] = BlendColor(background, kBlackColor, 75);
}
