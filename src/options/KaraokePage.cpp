#include "options/KaraokePage.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cstdio>
#include <iterator>

#include "host/DialogHelpers.h"
#include "host/DirectDrawLibrary.h"
#include "host/PluginApp.h"
#include "host/ScopedHandles.h"
#include "options/core/SheetValues.h"
#include "resources/resource.h"

namespace {

constexpr int kColourButtons[] = {IDC_KARAOKE_COLOR_1A, IDC_KARAOKE_COLOR_1B,      IDC_KARAOKE_COLOR_2A,
                                  IDC_KARAOKE_COLOR_2B, IDC_KARAOKE_INFO_COLOR_A, IDC_KARAOKE_INFO_COLOR_B};
constexpr int kHeightCharacters = 3;
constexpr int kPathCharacters = 255;

int CALLBACK CollectFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM list) {
  reinterpret_cast<std::vector<FontFamily>*>(list)->push_back(
      FontFamily{font->lfFaceName, font->lfWeight, (type & TRUETYPE_FONTTYPE) != 0});
  return 1;
}

std::vector<FontFamily> ScreenFontFamilies() {
  std::vector<FontFamily> families;
  ScopedWindowDC screen(nullptr);
  if (!screen) return families;
  LOGFONTA any{};
  any.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExA(screen.Get(), &any, CollectFamily, reinterpret_cast<LPARAM>(&families), 0);
  return families;
}

std::string LoadAnsiString(HINSTANCE instance, UINT id) {
  char text[256] = {};
  LoadStringA(instance, id, text, sizeof text);
  return text;
}

}  // namespace

KaraokePage::KaraokePage(PluginApp& app) : OptionsPage(app, IDD_OPTIONS_KARAOKE) {}

// Both lists come from the display: modes through DirectDraw, and the faces only where
// DirectDraw answered, since the screen cannot open anywhere else. Asking DirectDraw
// takes half a second on some systems, so the lists are made when the page is first
// shown (a page never shown is never applied), not every time the sheet opens.
void KaraokePage::Fill() {
  const std::vector<DisplayMode> reported = EnumerateDisplayModes();  // none without DirectDraw
  modes_ = UsableDisplayModes(reported);
  faces_.clear();
  if (!reported.empty()) faces_ = TrueTypeFaces(ScreenFontFamilies());
  const KaraokeSettings& s = app_.Karaoke();
  FillModes();
  FillFaces();
  SetCheck(IDC_KARAOKE_ENLARGE, s.enlarge);
  SetCheck(IDC_KARAOKE_REDUCE, s.reduce);
  LimitText(IDC_KARAOKE_LYRICS_HEIGHT, kHeightCharacters);
  SetNumber(IDC_KARAOKE_LYRICS_HEIGHT, LyricsHeightShown(s.lyricsHeight));
  LimitText(IDC_KARAOKE_BG_FILE, kPathCharacters);
  SetAnsiText(IDC_KARAOKE_BG_FILE, s.bgFile);
  LimitText(IDC_KARAOKE_BG_FOLDER, kPathCharacters);
  SetAnsiText(IDC_KARAOKE_BG_FOLDER, s.bgFolder);
  colours_ = {s.lyricsColor1A, s.lyricsColor1B, s.lyricsColor2A, s.lyricsColor2B, s.musicInfoColorA, s.musicInfoColorB};
}

void KaraokePage::FillModes() {
  const KaraokeSettings& s = app_.Karaoke();
  HWND list = GetDlgItem(Handle(), IDC_KARAOKE_DISPLAY_MODE);
  wchar_t keep[64] = {};
  LoadStringW(app_.Instance(), IDS_KEEP_DISPLAY_MODE, keep, static_cast<int>(std::size(keep)));
  SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(keep));
  const std::string format = LoadAnsiString(app_.Instance(), IDS_DISPLAY_MODE_FORMAT);
  for (const DisplayMode& mode : modes_) {
    char text[64] = {};
    std::snprintf(text, sizeof text, format.c_str(), mode.width, mode.height, mode.bitsPerPixel);
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  SendMessageA(list, CB_SETCURSEL, SelectedModeEntry(modes_, s.width, s.height, s.bpp), 0);
}

void KaraokePage::FillFaces() {
  HWND list = GetDlgItem(Handle(), IDC_KARAOKE_FONT_FACE);
  for (const FontFamily& family : faces_) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(family.face.c_str()));
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(FaceEntry(faces_, app_.Karaoke().fontFace)), 0);
}

void KaraokePage::OnCommand(int id, int code) {
  if (code == CBN_SELCHANGE || code == EN_UPDATE) {
    MarkChanged();
    return;
  }
  if (code != BN_CLICKED) return;
  for (size_t i = 0; i < std::size(kColourButtons); ++i) {
    if (kColourButtons[i] == id) {
      PickColor(colours_[i]);
      return;
    }
  }
  switch (id) {
    case IDC_KARAOKE_ENLARGE:
    case IDC_KARAOKE_REDUCE: MarkChanged(); break;
    case IDC_KARAOKE_BROWSE_FILE: BrowseFile(); break;
    case IDC_KARAOKE_BROWSE_FOLDER: BrowseFolder(); break;
    default: break;
  }
}

void KaraokePage::BrowseFile() {
  const HINSTANCE instance = app_.Instance();
  std::string filter = LoadAnsiString(instance, IDS_BACKGROUND_FILES);
  filter.append(1, '\0').append("*.bmp;*.jpg;*.jpeg").append(1, '\0');
  filter.append(LoadAnsiString(instance, IDS_ALL_FILES)).append(1, '\0').append("*.*").append(2, '\0');
  char file[MAX_PATH] = {};
  OPENFILENAMEA record{};
  record.lStructSize = sizeof record;
  record.hwndOwner = Handle();
  record.lpstrFilter = filter.c_str();
  record.lpstrFile = file;
  record.nMaxFile = sizeof file;
  record.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  if (!GetOpenFileNameA(&record)) return;
  SetAnsiText(IDC_KARAOKE_BG_FILE, file);
  MarkChanged();
}

void KaraokePage::BrowseFolder() {
  BROWSEINFOA info{};
  info.hwndOwner = Handle();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  WString folder;
  if (!BrowseForFolder(info, folder)) return;
  SetText(IDC_KARAOKE_BG_FOLDER, folder);
  MarkChanged();
}

void KaraokePage::Apply() {
  KaraokeSettings& s = app_.Karaoke();
  const LRESULT entry = SendDlgItemMessageA(Handle(), IDC_KARAOKE_DISPLAY_MODE, CB_GETCURSEL, 0, 0);
  const DisplayMode mode = ModeOfEntry(modes_, entry == CB_ERR ? 0 : static_cast<int>(entry));
  s.height = mode.height;
  s.width = mode.width;
  s.bpp = mode.bitsPerPixel;
  // No face selected (none listed, or FontFace is not among them): keep the face and
  // its weight rather than read an entry that does not exist.
  const LRESULT face = SendDlgItemMessageA(Handle(), IDC_KARAOKE_FONT_FACE, CB_GETCURSEL, 0, 0);
  if (face >= 0 && static_cast<size_t>(face) < faces_.size()) {
    const FontFamily& family = faces_[static_cast<size_t>(face)];
    CopyAnsiText(WString::FromAnsi(family.face), s.fontFace, sizeof s.fontFace);
    s.fontWeight = family.weight;
  }
  s.enlarge = Check(IDC_KARAOKE_ENLARGE);
  s.reduce = Check(IDC_KARAOKE_REDUCE);
  s.lyricsHeight = LyricsHeightStored(Number(IDC_KARAOKE_LYRICS_HEIGHT));
  s.lyricsColor1A = colours_[0];
  s.lyricsColor1B = colours_[1];
  s.lyricsColor2A = colours_[2];
  s.lyricsColor2B = colours_[3];
  s.musicInfoColorA = colours_[4];
  s.musicInfoColorB = colours_[5];
  CopyAnsiText(Text(IDC_KARAOKE_BG_FILE), s.bgFile, sizeof s.bgFile);
  CopyAnsiText(Text(IDC_KARAOKE_BG_FOLDER), s.bgFolder, sizeof s.bgFolder);
}
