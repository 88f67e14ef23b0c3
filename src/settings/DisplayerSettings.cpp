#include "settings/DisplayerSettings.h"

DisplayerSettings::DisplayerSettings(IniFile& ini) : SettingsStore(ini, kSection) {
  ResetToDefaults();
  Load();
}

DisplayerSettings::~DisplayerSettings() { Save(); }

std::vector<SettingEntry> DisplayerSettings::Table() {
  return {
      AnsiSetting("Font", font, u"ＭＳ Ｐゴシック"),
      ByteSetting("FontItalic", fontItalic, 0),
      IntSetting("FontWeight", fontWeight, 400),
      IntSetting("FontHeight", fontHeight, -25),
      ColorSetting("Color", color, 0x969696),
      ColorSetting("CurColor", curColor, 0xDCDCD2),
      ColorSetting("CurColor2", curColor2, 0x9191AF),
      ColorSetting("BKCurColor", bkCurColor, 0x5A3232),
      ColorSetting("BKColor", bkColor, 0x3C2323),
      ColorSetting("InfoColor", infoColor, 0xD7B991),
      IntSetting("Wait", wait, kDefaultWait),
      IntSetting("Margin", margin, 4),
      IntSetting("SnapLen", snapLen, 10),
      RectSetting("WindowRect", windowRect, {0, 0, 640, 116}),
      IntSetting("UseSkinSetting", useSkinSetting, 1),
      IntSetting("Open", open, 1),
      IntSetting("Max", max, 0),
      IntSetting("Centering", centering, 0),
      IntSetting("LeftCentering", leftCentering, 1),
      IntSetting("TopMost", topMost, 0),
      IntSetting("InfoWindow", infoWindow, 1),
      IntSetting("FitWindow", fitWindow, 0),
      IntSetting("FitLyrics", fitLyrics, 1),
      IntSetting("HideNoLyrics", hideNoLyrics, 0),
      IntSetting("OnlyOver", onlyOver, 1),
      IntSetting("Sync", sync, 0),
      IntSetting("DispNoTimeTagLine", dispNoTimeTagLine, 1),
      IntSetting("SpaceBetLines", spaceBetLines, 2),
      IntSetting("MoveTogePlayer", moveTogePlayer, 1),
      IntSetting("MoveBeforehand", moveBeforehand, 1),
      AnsiSetting("InfoFormat", infoFormat, u"%1 / %2"),
      IntSetting("WindowShadeMode", windowShadeMode, 0),
      IntSetting("WSMWidth", wsmWidth, kMinShadeWidth),
      IntSetting("WSMHeight", wsmHeight, kDefaultShadeHeight),
  };
}

void DisplayerSettings::CorrectLoadedValues() {
  // The tick loop naps Wait / 10 times; a zero, negative or huge period would spin
  // or freeze the plug-in thread.
  if (wait < 1 || wait > 500) wait = kDefaultWait;
  // The bar must hold the caption pieces and the close box.
  if (wsmWidth < kMinShadeWidth) wsmWidth = kMinShadeWidth;
  shadeWidth = wsmWidth;
  // A bar without height could never be seen again, let alone unfolded; the saved key
  // keeps what the file said.
  shadeHeight = wsmHeight > 0 ? wsmHeight : kDefaultShadeHeight;
}
