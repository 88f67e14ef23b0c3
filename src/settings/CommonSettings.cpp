#include "settings/CommonSettings.h"

CommonSettings::CommonSettings(IniFile& ini) : SettingsStore(ini, kSection) {
  ResetToDefaults();
  Load();
}

CommonSettings::~CommonSettings() { Save(); }

std::vector<SettingEntry> CommonSettings::Table() {
  return {
      WideSetting("LyricsFolder", lyricsFolder, u""),
      IntSetting("LyricsButton", lyricsButton, 1),
      IntSetting("FixSeekMP3", fixSeekMP3, 0),
      IntSetting("FixTimeMP3", fixTimeMP3, 0),
      WideSetting("ID3Exts", id3Exts, u"mp3;rmp"),
      IntSetting("ID3V2", id3V2, 1),
      IntSetting("SysTrayIcon", sysTrayIcon, 1),
  };
}

SourceOptions CommonSettings::ToSourceOptions() const {
  SourceOptions options;
  options.lyricsFolder = lyricsFolder;
  options.id3Exts = id3Exts;
  options.id3V2 = id3V2 != 0;
  return options;
}
