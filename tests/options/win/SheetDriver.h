#pragma once
// Drives the Options sheet from the test's thread, as a user would: pages shown, check
// boxes and buttons clicked, with the plug-in thread answering in between.

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <functional>

#include "ProcessCensus.h"
#include "player/SubstitutePlayer.h"

namespace sheetdriver {

enum Page { kCommonPage, kDisplayerPage, kDisplayer2Page, kKaraokePage, kEditorPage, kAboutPage };
constexpr int kApplyButton = 0x3021;  // the sheet's own buttons

inline bool WaitFor(const std::function<bool()>& done) { return SubstitutePlayer::PumpUntil(done, 5000); }
inline HWND Sheet() { return ProcessWindow("#32770", "Options"); }
inline HWND Show(Page page) {
  PropSheet_SetCurSel(Sheet(), nullptr, page);
  return PropSheet_GetCurrentPageHwnd(Sheet());
}
inline void Click(HWND window, int id) { SendMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); }
inline bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }
inline bool Enabled(HWND window, int id) { return IsWindowEnabled(GetDlgItem(window, id)) != 0; }
inline bool ApplyEnabled() { return Enabled(Sheet(), kApplyButton); }
// Clicks Apply and waits until every changed page has been written.
inline bool Apply() {
  Click(Sheet(), kApplyButton);
  return WaitFor([] { return !ApplyEnabled(); });
}

}  // namespace sheetdriver
