#include "options/CommonPage.h"

#include <shlobj.h>

#include "host/DialogHelpers.h"
#include "host/PluginApp.h"
#include "resources/resource.h"

CommonPage::CommonPage(PluginApp& app) : OptionsPage(app, IDD_OPTIONS_COMMON) {}

void CommonPage::Fill() {
  const CommonSettings& s = app_.Common();
  SetCheck(IDC_COMMON_TRAY_ICON, s.sysTrayIcon);
  SetCheck(IDC_COMMON_LYRICS_BUTTON, s.lyricsButton);
  SetCheck(IDC_COMMON_ID3V2, s.id3V2);
  SetCheck(IDC_COMMON_FIX_SEEK, s.fixSeekMP3);
  SetCheck(IDC_COMMON_FIX_TIME, s.fixTimeMP3);
  Enable(IDC_COMMON_FIX_TIME, s.fixSeekMP3 == 1);
  SetText(IDC_COMMON_LYRICS_FOLDER, s.lyricsFolder);
}

void CommonPage::OnCommand(int id, int code) {
  switch (id) {
    case IDC_COMMON_FIX_SEEK:
      if (code != BN_CLICKED) break;
      Enable(IDC_COMMON_FIX_TIME, Check(IDC_COMMON_FIX_SEEK) == 1);
      MarkChanged();
      break;
    case IDC_COMMON_TRAY_ICON:
    case IDC_COMMON_LYRICS_BUTTON:
    case IDC_COMMON_ID3V2:
    case IDC_COMMON_FIX_TIME:
      if (code == BN_CLICKED) MarkChanged();
      break;
    case IDC_COMMON_LYRICS_FOLDER:
      if (code == EN_UPDATE) MarkChanged();
      break;
    case IDC_COMMON_BROWSE_FOLDER:
      if (code == BN_CLICKED) BrowseFolder();
      break;
    default: break;
  }
}

void CommonPage::BrowseFolder() {
  BROWSEINFOA info{};
  info.hwndOwner = Handle();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  WString folder;
  if (!BrowseForFolder(info, folder)) return;
  SetText(IDC_COMMON_LYRICS_FOLDER, folder);
  MarkChanged();
}

// The tray icon and the MP3 fixes count from the next start; the folder and the tag
// switch from the next song; the button shows or goes at once.
void CommonPage::Apply() {
  CommonSettings& s = app_.Common();
  s.sysTrayIcon = Check(IDC_COMMON_TRAY_ICON);
  s.lyricsButton = Check(IDC_COMMON_LYRICS_BUTTON);
  s.id3V2 = Check(IDC_COMMON_ID3V2);
  s.fixSeekMP3 = Check(IDC_COMMON_FIX_SEEK);
  s.fixTimeMP3 = Check(IDC_COMMON_FIX_TIME);
  // Read whole: the setting holds up to 1,024 bytes, where a 260-byte read would cut
  // it, perhaps inside a Shift-JIS pair.
  s.lyricsFolder = Text(IDC_COMMON_LYRICS_FOLDER);
  app_.Link().ShowLyricsButton(s.lyricsButton != 0);
  app_.SettingsChanged();
}
