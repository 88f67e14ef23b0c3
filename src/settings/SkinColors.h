#pragma once
// The colours a skin chooses for the Displayer: section "Skin" of gen_mrlyrics.txt in
// the skin's folder, with the keys and the colour form of the Displayer's own
// settings. The file belongs to the skin, not to us: it is only ever read, and a
// value that is not a colour leaves its slot unset rather than turning it black.

#include <array>

#include "base/WString.h"
#include "settings/ColorCodec.h"
#include "settings/SettingsStore.h"

// The colours that the Displayer's settings and a skin's gen_mrlyrics.txt can name.
constexpr int kSkinColorCount = 6;

// A skin colour the skin's file does not set.
constexpr ColorValue kUnsetColor = 0xFFFFFFFFu;

// The skin's Color, CurColor, CurColor2, BKCurColor, BKColor and InfoColor, in that
// order; kUnsetColor where the skin says nothing.
using SkinColorValues = std::array<ColorValue, kSkinColorCount>;

// Every slot unset: what a skin without the file sets.
inline SkinColorValues UnsetSkinColors() {
  SkinColorValues values;
  values.fill(kUnsetColor);
  return values;
}

// Private inheritance: the store's writes are out of reach, so nothing goes back to
// the skin's file.
class SkinColors : private SettingsStore {
 public:
  static constexpr const char* kSection = "Skin";
  static constexpr const char16_t* kFileName = u"gen_mrlyrics.txt";

  // Reads the six colours from the skin's file.
  explicit SkinColors(IniFile& skinFile);
  SkinColors(const SkinColors&) = delete;
  SkinColors& operator=(const SkinColors&) = delete;

  // Color, CurColor, CurColor2, BKCurColor, BKColor and InfoColor, as
  // DisplayerColors::Recompute takes them.
  const SkinColorValues& Values() const { return values_; }

 protected:
  std::vector<SettingEntry> Table() override;
  void CorrectLoadedValues() override;

 private:
  char texts_[kSkinColorCount][kColorCapacity] = {};
  SkinColorValues values_ = UnsetSkinColors();
};
