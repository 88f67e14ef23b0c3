// The Lyrics button the link paints on the player's main window: a left click on it
// toggles the Displayer, a right click the Karaoke Displayer. It is drawn from the
// skin's frame bitmap, or from the built-in one.
#include <windowsx.h>

#include "host/SkinFiles.h"
#include "host/ThreadMessages.h"
#include "host/WinampLink.h"
#include "host/WinampProtocol.h"
#include "resources/resource.h"

namespace {

// Where the Lyrics button sits on the player at normal size, and where it is taken
// from in the button bitmap.
constexpr RECT kButtonDestination = {239, 83, 269, 91};
constexpr RECT kButtonSource = {241, 10, 271, 18};

}  // namespace

RECT WinampLink::ButtonRect() const {
  RECT r = kButtonDestination;
  RECT window;
  // The player draws itself at double size in a main window of any other width.
  if (mainWindow_ && GetWindowRect(mainWindow_, &window) && window.right - window.left != kPlayerWidth)
    r = {r.left * 2, r.top * 2, r.right * 2, r.bottom * 2};
  return r;
}

bool WinampLink::HitsButton(LPARAM lParam) {
  MutexLock lock(playerThreadLock_);
  RECT r = ButtonRect();
  POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return mainWindow_ && PtInRect(&r, point);
}

void WinampLink::OnLeftButtonUp(LPARAM lParam) {
  if (HitsButton(lParam)) Notify(TM_TOGGLE_WINDOW, kDisplayerWindow, 0);
}

bool WinampLink::OnRightButtonUp(LPARAM lParam) {
  if (!HitsButton(lParam)) return false;
  Notify(TM_TOGGLE_WINDOW, kKaraokeWindow, 0);
  return true;
}

// The player announces a new skin with WM_DISPLAYCHANGE.
void WinampLink::OnDisplayChange() {
  MutexLock lock(playerThreadLock_);
  LoadButtonBitmap();
  Notify(TM_SKIN_CHANGED, 0, 0);
}

void WinampLink::InvalidateButton() {
  MutexLock lock(playerThreadLock_);
  RECT r = ButtonRect();
  if (mainWindow_) InvalidateRect(mainWindow_, &r, FALSE);
}

bool WinampLink::ShowLyricsButton(bool show) {
  MutexLock lock(pluginThreadLock_);
  buttonVisible_ = show ? 1 : 0;
  RECT r = ButtonRect();
  if (mainWindow_) InvalidateRect(mainWindow_, &r, FALSE);
  return true;
}

void WinampLink::PaintButton() {
  MutexLock lock(playerThreadLock_);
  if (!buttonVisible_ || !mainWindow_) return;
  OwnedRegion update(CreateRectRgn(0, 0, 0, 0));
  if (!update) return;
  int kind = GetUpdateRgn(mainWindow_, update.Get(), FALSE);
  if (kind == NULLREGION || kind == ERROR) return;
  RECT dest = ButtonRect();
  {
    ScopedPaint paint(mainWindow_);
    if (paint.Get() && buttonBitmap_) {
      OwnedMemoryDC memory(paint.Get());
      ScopedSelect select(memory.Get(), buttonBitmap_.Get());
      StretchBlt(paint.Get(), dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, memory.Get(),
                 kButtonSource.left, kButtonSource.top, kButtonSource.right - kButtonSource.left,
                 kButtonSource.bottom - kButtonSource.top, SRCCOPY);
    }
  }
  // The player's own procedure still paints everything it was asked to, except the
  // button.
  InvalidateRgn(mainWindow_, update.Get(), FALSE);
  ValidateRect(mainWindow_, &dest);
}

void WinampLink::LoadButtonBitmap() {
  MutexLock lock(playerThreadLock_);
  buttonBitmap_.Reset();
  WString path;
  if (FindSkinBitmap(mainWindow_, path)) {
    ScopedWindowDC dc(mainWindow_);
    if (dc) buttonBitmap_ = LoadBitmapFile(path, dc.Get());
  }
  buttonFromSkin_ = static_cast<bool>(buttonBitmap_);
  if (!buttonBitmap_) LoadBuiltInButtonBitmap();
}

// The built-in skin bitmap holds the Lyrics button too.
void WinampLink::LoadBuiltInButtonBitmap() {
  buttonBitmap_.Reset(LoadBitmapA(instance_, MAKEINTRESOURCEA(IDB_SKIN)));
  buttonFromSkin_ = false;
}

HBITMAP WinampLink::ButtonBitmap() {
  MutexLock lock(playerThreadLock_);
  return buttonBitmap_.Get();
}

bool WinampLink::ButtonFromSkin() {
  MutexLock lock(playerThreadLock_);
  return buttonFromSkin_;
}
