#pragma once
// The plug-in thread's hidden window: it owns the tray icon, owns the Displayer (so
// the Displayer has no taskbar button) and receives the commands of menu 114 when
// the tray icon shows it.

#include <windows.h>
#include <shellapi.h>

#include "host/ScopedHandles.h"
#include "host/WindowBase.h"

class PluginApp;

class DummyWindow : public WindowBase {
 public:
  static constexpr const char* kClassName = "Mirabo's Dummy Window";
  static constexpr UINT kTrayMessage = WM_USER + 100;  // 1124
  static constexpr UINT kTrayIconId = 1;

  explicit DummyWindow(PluginApp& app);
  // Destroys the window (which takes the tray icon away) and unregisters the class,
  // so a later load of the library at another address registers it afresh.
  ~DummyWindow() override;

  // Registers the class, creates the window off screen and hides it.
  bool Open();
  bool HasTrayIcon() const { return icon_.hWnd != nullptr; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  LRESULT OnCreate();
  LRESULT OnDestroy();
  LRESULT OnCommand(WPARAM wParam);
  LRESULT OnTrayIcon(LPARAM mouseMessage);
  void OnTrayLeftClick();
  void OnTrayRightClick();

  PluginApp& app_;
  OwnedIcon smallIcon_;  // the class's small icon and the tray icon
  NOTIFYICONDATAA icon_{};
};
