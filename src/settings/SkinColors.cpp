#include "settings/SkinColors.h"

#include <cctype>
#include <string>

namespace {

bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// The settings read any value as the hexadecimal number it starts with, and read
// garbage as 0, black. A skin's value counts only when a number is really there and
// fits in 0xRRGGBB: anything else (garbage, an empty value, "FFFFFFFF", a negative
// number) would paint with a colour the skin never chose.
ColorValue SkinColorFromText(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  if (i >= text.size() || !IsHexDigit(text[i])) return kUnsetColor;
  const uint32_t number = ParseHexNumber(text);
  return number > 0xFFFFFFu ? kUnsetColor : SwapRedBlue(number);
}

}  // namespace

SkinColors::SkinColors(IniFile& skinFile) : SettingsStore(skinFile, kSection) {
  ResetToDefaults();
  Load();
}

std::vector<SettingEntry> SkinColors::Table() {
  // Read as text, so that a value that is no number can be told from black.
  return {
      AnsiSetting("Color", texts_[0], u""),      AnsiSetting("CurColor", texts_[1], u""),
      AnsiSetting("CurColor2", texts_[2], u""),  AnsiSetting("BKCurColor", texts_[3], u""),
      AnsiSetting("BKColor", texts_[4], u""),    AnsiSetting("InfoColor", texts_[5], u""),
  };
}

void SkinColors::CorrectLoadedValues() {
  for (int i = 0; i < kSkinColorCount; ++i) values_[i] = SkinColorFromText(texts_[i]);
}
