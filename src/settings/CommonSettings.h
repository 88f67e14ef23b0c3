#pragma once
// The settings every window shares, section "Mirabo's Lyrics Common" of plugin.ini:
// where lyrics are looked for, which files carry tags, and the plug-in's own
// decorations on the player. Read when created, written back whole when destroyed.

#include <cstdint>
#include <vector>

#include "base/WString.h"
#include "settings/SettingsStore.h"
#include "sources/SourceOptions.h"

class CommonSettings : public SettingsStore {
 public:
  static constexpr const char* kSection = "Mirabo's Lyrics Common";

  explicit CommonSettings(IniFile& ini);
  ~CommonSettings() override;
  CommonSettings(const CommonSettings&) = delete;
  CommonSettings& operator=(const CommonSettings&) = delete;

  WString lyricsFolder;
  int32_t lyricsButton = 1;
  int32_t fixSeekMP3 = 0;
  int32_t fixTimeMP3 = 0;
  WString id3Exts;
  int32_t id3V2 = 1;
  int32_t sysTrayIcon = 1;
  // The user's abbreviated language name (LOCALE_SABBREVLANGNAME), filled in by the
  // application object at start; never written to the file.
  WString language;

  SourceOptions ToSourceOptions() const;

 protected:
  std::vector<SettingEntry> Table() override;
};
