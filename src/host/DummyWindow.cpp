#include "host/DummyWindow.h"

#include <cstring>

#include "host/PluginApp.h"
#include "resources/resource.h"

DummyWindow::DummyWindow(PluginApp& app) : WindowBase(kClassName), app_(app) {
  smallIcon_.Reset(static_cast<HICON>(
      LoadImageA(app.Instance(), MAKEINTRESOURCEA(IDI_DISPLAYER), IMAGE_ICON, 16, 16, 0)));
  icon_.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon_.uID = kTrayIconId;
  icon_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  icon_.uCallbackMessage = kTrayMessage;
  icon_.hIcon = smallIcon_.Get();
  strncpy(icon_.szTip, "Mirabo's Lyrics Plug-In", sizeof icon_.szTip - 1);
}

DummyWindow::~DummyWindow() {
  Destroy();
  UnregisterWindowClass(kClassName);
}

bool DummyWindow::Open() {
  WNDCLASSEXA record{};
  record.hIcon = LoadIconA(app_.Instance(), MAKEINTRESOURCEA(IDI_DISPLAYER));
  record.hIconSm = smallIcon_.Get();
  // Already registered is fine (the class is unregistered again with the window).
  RegisterWindowClass(record, kClassName);
  if (!Create("", 0, 0, RECT{-100, -100, -1, -1}, nullptr, 0)) return false;
  Show(SW_HIDE);
  return true;
}

LRESULT DummyWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate();
    case WM_DESTROY: return OnDestroy();
    case WM_COMMAND: return OnCommand(wParam);
    case kTrayMessage: return OnTrayIcon(lParam);
    default: return WindowBase::WindowProc(message, wParam, lParam);
  }
}

LRESULT DummyWindow::OnCreate() {
  if (!app_.Common().sysTrayIcon) return 0;
  icon_.hWnd = Handle();
  if (!Shell_NotifyIconA(NIM_ADD, &icon_)) icon_.hWnd = nullptr;
  return 0;
}

LRESULT DummyWindow::OnDestroy() {
  if (icon_.hWnd && icon_.hWnd == Handle()) Shell_NotifyIconA(NIM_DELETE, &icon_);
  icon_.hWnd = nullptr;
  return 0;
}

LRESULT DummyWindow::OnCommand(WPARAM wParam) {
  unsigned id = LOWORD(wParam);
  if (id >= kFirstWindowCommand && id < kFirstWindowCommand + kWindowIndexCount) {
    app_.Post(TM_TOGGLE_WINDOW, id - kFirstWindowCommand, 0);
  }
  return 0;
}

LRESULT DummyWindow::OnTrayIcon(LPARAM mouseMessage) {
  if (mouseMessage == WM_LBUTTONUP) OnTrayLeftClick();
  if (mouseMessage == WM_RBUTTONUP) OnTrayRightClick();
  return 0;
}

void DummyWindow::OnTrayLeftClick() {
  if (!app_.IsOpen(kDisplayerWindow)) {
    app_.Post(TM_OPEN_WINDOW, kDisplayerWindow, 0);
  } else {
    SetForegroundWindow(Handle());
  }
}

void DummyWindow::OnTrayRightClick() {
  POINT cursor{};
  GetCursorPos(&cursor);
  SetForegroundWindow(Handle());
  TrackPopupMenu(app_.PopupMenu(), 0, cursor.x, cursor.y, 0, Handle(), nullptr);
  // Lets the menu close when the user clicks elsewhere afterwards.
  Post(WM_NULL);
}
