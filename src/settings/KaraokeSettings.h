#pragma once
// The karaoke screen's settings, section "Mirabo's Karaoke Displayer" of plugin.ini:
// backgrounds, fonts, colours, layout (in pixels of a 1280-pixel-wide screen) and the
// display mode. Read when created, written back whole when destroyed; the two info
// formats are read first but written last.

#include <cstdint>
#include <vector>

#include "settings/SettingsStore.h"

class KaraokeSettings : public SettingsStore {
 public:
  static constexpr const char* kSection = "Mirabo's Karaoke Displayer";
  static constexpr size_t kFaceSize = 32;    // a logical font's face name buffer
  static constexpr size_t kTextSize = 260;   // paths and info formats

  explicit KaraokeSettings(IniFile& ini);
  ~KaraokeSettings() override;
  KaraokeSettings(const KaraokeSettings&) = delete;
  KaraokeSettings& operator=(const KaraokeSettings&) = delete;

  char bgFile[kTextSize] = {};    // ANSI
  char bgFolder[kTextSize] = {};  // ANSI
  int32_t enlarge = 0;
  int32_t reduce = 0;
  int32_t musicInfoHeight = 0;
  int32_t lyricsHeight = 0;
  ColorValue lyricsColor1A = 0;
  ColorValue lyricsColor1B = 0;
  ColorValue lyricsColor2A = 0;
  ColorValue lyricsColor2B = 0;
  ColorValue musicInfoColorA = 0;
  ColorValue musicInfoColorB = 0;
  ColorValue bgColor = 0;
  int32_t fontWeight = 0;
  char fontFace[kFaceSize] = {};  // ANSI
  int32_t margin = 0;
  int32_t edge = 0;
  int32_t edgeMin = 0;
  int32_t lyricsBottom = 0;
  int32_t interval = 0;
  int32_t height = 0;
  int32_t width = 0;
  int32_t bpp = 0;
  char infoFormat1[kTextSize] = {};  // ANSI
  char infoFormat2[kTextSize] = {};  // ANSI

 protected:
  std::vector<SettingEntry> Table() override;
};
