#pragma once
// The Editor's settings, section "Mirabo's Lyrics Editor" of plugin.ini: stamping
// behaviour, the window rectangle, the karaoke view's font and colours, and the crash
// marker FileName, which is read at start but written only on its own, the moment it
// changes (SaveFileName), never with the others.

#include <cstdint>
#include <vector>

#include "base/WString.h"
#include "settings/SettingsStore.h"

class EditorSettings : public SettingsStore {
 public:
  static constexpr const char* kSection = "Mirabo's Lyrics Editor";

  explicit EditorSettings(IniFile& ini);
  ~EditorSettings() override;
  EditorSettings(const EditorSettings&) = delete;
  EditorSettings& operator=(const EditorSettings&) = delete;

  int32_t nextTimeTag = 0;
  int32_t idealCursor = 0;
  int32_t passSpace = 0;
  int32_t notSyncSpace = 0;
  int32_t alwaysOpen = 0;
  int32_t sync = 0;
  int32_t open = 0;
  SettingsRect windowRect;
  // Karaoke view metrics, not stored: replaced when the view makes its font.
  int32_t karaokeLeftMargin = 8;
  int32_t karaokeRowSpacing = 16;
  int32_t fontSize = 0;
  ColorValue color = 0;
  ColorValue curColor = 0;
  ColorValue curColor2 = 0;
  ColorValue bkCurColor = 0;
  ColorValue bkColor = 0;
  ColorValue editLineColor = 0;
  WString fileName;

  // Writes FileName at once (the crash marker must be on disk before a crash).
  bool SaveFileName() { return SaveKey("FileName"); }

 protected:
  std::vector<SettingEntry> Table() override;
};
