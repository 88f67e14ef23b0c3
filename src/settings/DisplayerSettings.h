#pragma once
// The Displayer's settings, section "Mirabo's Lyrics Displayer" of plugin.ini: its
// font, colours, tick period, frame rectangle and window-shade bar, and the switches
// of the Options sheet. Read when created (with corrections for values the rest of the
// plug-in must never see), written back whole when destroyed.

#include <cstdint>
#include <vector>

#include "settings/SettingsStore.h"

class DisplayerSettings : public SettingsStore {
 public:
  static constexpr const char* kSection = "Mirabo's Lyrics Displayer";
  static constexpr size_t kFaceSize = 32;     // a logical font's face name buffer
  static constexpr size_t kFormatSize = 260;  // the info format
  static constexpr int32_t kDefaultWait = 20;
  static constexpr int32_t kMinShadeWidth = 275;
  static constexpr int32_t kDefaultShadeHeight = 16;

  explicit DisplayerSettings(IniFile& ini);
  ~DisplayerSettings() override;
  DisplayerSettings(const DisplayerSettings&) = delete;
  DisplayerSettings& operator=(const DisplayerSettings&) = delete;

  char font[kFaceSize] = {};  // ANSI face name
  uint8_t fontItalic = 0;
  int32_t fontWeight = 0;
  int32_t fontHeight = 0;
  ColorValue color = 0;
  ColorValue curColor = 0;
  ColorValue curColor2 = 0;
  ColorValue bkCurColor = 0;
  ColorValue bkColor = 0;
  ColorValue infoColor = 0;
  int32_t wait = 0;
  int32_t margin = 0;
  int32_t snapLen = 0;
  SettingsRect windowRect;
  int32_t useSkinSetting = 0;
  int32_t open = 0;
  int32_t max = 0;
  int32_t centering = 0;
  int32_t leftCentering = 0;
  int32_t topMost = 0;
  int32_t infoWindow = 0;
  int32_t fitWindow = 0;
  int32_t fitLyrics = 0;
  int32_t hideNoLyrics = 0;
  int32_t onlyOver = 0;
  int32_t sync = 0;
  int32_t dispNoTimeTagLine = 0;
  int32_t spaceBetLines = 0;
  int32_t moveTogePlayer = 0;
  int32_t moveBeforehand = 0;
  char infoFormat[kFormatSize] = {};  // ANSI
  int32_t windowShadeMode = 0;
  int32_t wsmWidth = 0;
  int32_t wsmHeight = 0;

  // The window-shade bar's size while the plug-in runs: starts as the loaded
  // WSMWidth/WSMHeight and follows the bar, but is never saved (the saved keys keep
  // the loaded values).
  int32_t shadeWidth = 0;
  int32_t shadeHeight = 0;

 protected:
  std::vector<SettingEntry> Table() override;
  void CorrectLoadedValues() override;
};
