#include "settings/KaraokeSettings.h"

KaraokeSettings::KaraokeSettings(IniFile& ini) : SettingsStore(ini, kSection) {
  ResetToDefaults();
  Load();
}

KaraokeSettings::~KaraokeSettings() { Save(); }

std::vector<SettingEntry> KaraokeSettings::Table() {
  return {
      WrittenLast(AnsiSetting("InfoFormat1", infoFormat1, u"%1")),
      WrittenLast(AnsiSetting("InfoFormat2", infoFormat2, u"%2")),
      AnsiSetting("BGFile", bgFile, u""),
      AnsiSetting("BGFolder", bgFolder, u""),
      IntSetting("Enlarge", enlarge, 1),
      IntSetting("Reduce", reduce, 1),
      IntSetting("MusicInfoHeight", musicInfoHeight, -64),
      IntSetting("LyricsHeight", lyricsHeight, -85),
      ColorSetting("LyricsColor1A", lyricsColor1A, 0xFFFFFF),
      ColorSetting("LyricsColor1B", lyricsColor1B, 0x000000),
      ColorSetting("LyricsColor2A", lyricsColor2A, 0xFF9696),
      ColorSetting("LyricsColor2B", lyricsColor2B, 0x000000),
      ColorSetting("MusicInfoColorA", musicInfoColorA, 0xFFFFFF),
      ColorSetting("MusicInfoColorB", musicInfoColorB, 0x000000),
      ColorSetting("BGColor", bgColor, 0x000000),
      IntSetting("FontWeight", fontWeight, 400),
      AnsiSetting("FontFace", fontFace, u"ＭＳ Ｐゴシック"),
      IntSetting("Margin", margin, 32),
      IntSetting("Edge", edge, 5),
      IntSetting("EdgeMin", edgeMin, 2),
      IntSetting("LyricsBottom", lyricsBottom, 128),
      IntSetting("Interval", interval, 10000),
      IntSetting("Height", height, 0),
      IntSetting("Width", width, 0),
      IntSetting("BPP", bpp, 0),
  };
}
