#include "options/DisplayerPage.h"

#include <commdlg.h>

#include <cstring>

#include "host/PluginApp.h"
#include "resources/resource.h"

namespace {

// The colour buttons in the order of the page's copies.
constexpr int kColourButtons[] = {IDC_DISPLAYER_COLOR,         IDC_DISPLAYER_CUR_COLOR, IDC_DISPLAYER_CUR_COLOR2,
                                  IDC_DISPLAYER_BK_CUR_COLOR, IDC_DISPLAYER_BK_COLOR,  IDC_DISPLAYER_INFO_COLOR};

// The Displayer's check boxes and the flags they show.
struct Switch {
  int id;
  int32_t DisplayerSettings::*flag;
};
constexpr Switch kSwitches[] = {
    {IDC_DISPLAYER_TOP_MOST, &DisplayerSettings::topMost},
    {IDC_DISPLAYER_CENTERING, &DisplayerSettings::centering},
    {IDC_DISPLAYER_LEFT_CENTERING, &DisplayerSettings::leftCentering},
    {IDC_DISPLAYER_FIT_WINDOW, &DisplayerSettings::fitWindow},
    {IDC_DISPLAYER_FIT_LYRICS, &DisplayerSettings::fitLyrics},
    {IDC_DISPLAYER_ONLY_OVER, &DisplayerSettings::onlyOver},
    {IDC_DISPLAYER_HIDE_NO_LYRICS, &DisplayerSettings::hideNoLyrics},
    {IDC_DISPLAYER_INFO_WINDOW, &DisplayerSettings::infoWindow},
    {IDC_DISPLAYER_USE_SKIN, &DisplayerSettings::useSkinSetting},
};

}  // namespace

DisplayerPage::DisplayerPage(PluginApp& app) : OptionsPage(app, IDD_OPTIONS_DISPLAYER) {}

void DisplayerPage::Fill() {
  const DisplayerSettings& s = app_.Displayer();
  for (const Switch& each : kSwitches) SetCheck(each.id, s.*each.flag);
  Enable(IDC_DISPLAYER_ONLY_OVER, s.fitLyrics == 1);
  // The Displayer's logical font, with the fields it always makes it with.
  font_ = LOGFONTA{};
  font_.lfHeight = s.fontHeight;
  font_.lfWeight = s.fontWeight;
  font_.lfItalic = s.fontItalic;
  font_.lfCharSet = DEFAULT_CHARSET;
  font_.lfClipPrecision = CLIP_STROKE_PRECIS;
  font_.lfQuality = DRAFT_QUALITY;
  font_.lfPitchAndFamily = VARIABLE_PITCH;
  static_assert(sizeof font_.lfFaceName == sizeof s.font);
  std::memcpy(font_.lfFaceName, s.font, sizeof s.font);
  font_.lfFaceName[sizeof font_.lfFaceName - 1] = '\0';
  colours_ = {s.color, s.curColor, s.curColor2, s.bkCurColor, s.bkColor, s.infoColor};
}

void DisplayerPage::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  if (id == IDC_DISPLAYER_FONT) {
    PickFont();
    return;
  }
  for (size_t i = 0; i < std::size(kColourButtons); ++i) {
    if (kColourButtons[i] == id) {
      PickColor(colours_[i]);
      return;
    }
  }
  OnCheckClicked(id);
}

// Centring and left-aligned centring exclude each other, as do fitting the window to
// the lyrics and the lyrics to the window; "only when too wide" belongs to the latter.
void DisplayerPage::OnCheckClicked(int id) {
  const bool checked = Check(id) == 1;
  switch (id) {
    case IDC_DISPLAYER_CENTERING:
      if (checked) SetCheck(IDC_DISPLAYER_LEFT_CENTERING, 0);
      break;
    case IDC_DISPLAYER_LEFT_CENTERING:
      if (checked) SetCheck(IDC_DISPLAYER_CENTERING, 0);
      break;
    case IDC_DISPLAYER_FIT_WINDOW:
      if (checked) {
        SetCheck(IDC_DISPLAYER_FIT_LYRICS, 0);
        Enable(IDC_DISPLAYER_ONLY_OVER, false);
      }
      break;
    case IDC_DISPLAYER_FIT_LYRICS:
      if (checked) SetCheck(IDC_DISPLAYER_FIT_WINDOW, 0);
      Enable(IDC_DISPLAYER_ONLY_OVER, checked);
      break;
    default: break;
  }
  for (const Switch& each : kSwitches) {
    if (each.id == id) MarkChanged();
  }
}

void DisplayerPage::PickFont() {
  LOGFONTA chosen = font_;
  CHOOSEFONTA record{};
  record.lStructSize = sizeof record;
  record.hwndOwner = Handle();
  record.lpLogFont = &chosen;
  record.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
  if (!ChooseFontA(&record)) return;
  font_ = chosen;
  MarkChanged();
}

void DisplayerPage::Apply() {
  DisplayerSettings& s = app_.Displayer();
  for (const Switch& each : kSwitches) s.*each.flag = Check(each.id);
  s.fontHeight = font_.lfHeight;
  s.fontWeight = font_.lfWeight;
  s.fontItalic = font_.lfItalic;
  std::memcpy(s.font, font_.lfFaceName, sizeof s.font);
  s.font[sizeof s.font - 1] = '\0';
  s.color = colours_[0];
  s.curColor = colours_[1];
  s.curColor2 = colours_[2];
  s.bkCurColor = colours_[3];
  s.bkColor = colours_[4];
  s.infoColor = colours_[5];
  // The sheet keeps the Displayer's place in the z-order, so it is never hidden
  // behind a Displayer that stays on top.
  SetWindowPos(Sheet(), s.topMost == 1 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // The Displayer recomputes its colours (the bevels from BKColor among them).
  app_.ApplySettings();
}
