#include "options/OptionsPage.h"

#include <string>
#include <vector>

#include "host/DialogHelpers.h"
#include "host/PluginApp.h"
#include "host/ScopedHandles.h"
#include "options/core/SheetValues.h"

OptionsPage::OptionsPage(PluginApp& app, int dialogId) : PropertyPageBase(app.Instance(), dialogId, nullptr), app_(app) {}

// Setting a box's text sends EN_UPDATE to the page at once: until the page is
// filled, those are ours, not the user's, and must not mark the page changed (a
// page only looked at would be written on OK, and Apply would light up at once).
LRESULT OptionsPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      filled_ = false;
      Fill();
      filled_ = true;
      return TRUE;
    case WM_COMMAND:
      if (filled_) OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    default: return PropertyPageBase::WindowProc(message, wParam, lParam);
  }
}

void OptionsPage::SetText(int id, const WString& text) const { SetDlgItemTextW(Handle(), id, text.W()); }

WString OptionsPage::Text(int id) const {
  HWND control = GetDlgItem(Handle(), id);
  const int length = GetWindowTextLengthW(control);
  if (length <= 0) return WString();
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  const int copied = GetWindowTextW(control, buffer.data(), length + 1);
  return WString(reinterpret_cast<const WChar*>(buffer.data()), static_cast<size_t>(copied > 0 ? copied : 0));
}

void OptionsPage::LimitText(int id, int characters) const {
  SendDlgItemMessageA(Handle(), id, EM_LIMITTEXT, static_cast<WPARAM>(characters), 0);
}

void OptionsPage::SetNumber(int id, int32_t value) const {
  SetText(id, WString::FromAnsi(std::to_string(value)));
}

int32_t OptionsPage::Number(int id) const { return ParseSheetNumber(Text(id)); }

void OptionsPage::Enable(int id, bool enable) const { EnableWindow(GetDlgItem(Handle(), id), enable); }

void OptionsPage::PickColor(ColorValue& colour) {
  COLORREF chosen = colour;
  if (!ChooseColorDialog(Handle(), chosen)) return;
  colour = chosen;
  MarkChanged();
}

int OptionsPage::Dpi() const {
  ScopedWindowDC dc(Handle());
  return dc ? GetDeviceCaps(dc.Get(), LOGPIXELSY) : 96;
}
