#include "settings/EditorSettings.h"

EditorSettings::EditorSettings(IniFile& ini) : SettingsStore(ini, kSection) {
  ResetToDefaults();
  Load();
}

EditorSettings::~EditorSettings() { Save(); }

std::vector<SettingEntry> EditorSettings::Table() {
  return {
      IntSetting("NotSyncSpace", notSyncSpace, 0),
      IntSetting("PassSpace", passSpace, 0),
      IntSetting("AlwaysOpen", alwaysOpen, 0),
      IntSetting("Sync", sync, 0),
      RectSetting("WindowRect", windowRect, {0, 0, 420, 240}),
      IntSetting("Open", open, 0),
      IntSetting("IdealCursor", idealCursor, 1),
      IntSetting("NextTimeTag", nextTimeTag, 0),
      IntSetting("FontSize", fontSize, -25),
      ColorSetting("Color", color, 0x969696),
      ColorSetting("CurColor", curColor, 0xDCDCD2),
      ColorSetting("CurColor2", curColor2, 0x9191AF),
      ColorSetting("BKCurColor", bkCurColor, 0x5A3232),
      ColorSetting("BKColor", bkColor, 0x3C2323),
      ColorSetting("EditLineColor", editLineColor, 0xC3A582),
      NeverWritten(WideSetting("FileName", fileName, u"")),
  };
}
