#pragma once
// The application object: owns the four settings objects, menu 114, the dummy
// window and one slot per plug-in window, and runs the plug-in thread's loop. There
// is no window timer: between messages the loop waits until the Displayer's Wait has
// passed and then ticks the Displayer and the Editor. The wait ends at once when a
// message arrives, and the time already waited counts towards the next tick, so
// messages are handled at once while the tick interval stays Wait ms.

#include <windows.h>

#include <array>
#include <memory>

#include "settings/DisplayerSettings.h"
#include "settings/EditorSettings.h"
#include "settings/CommonSettings.h"
#include "settings/IniFile.h"
#include "host/PlayerLink.h"
#include "host/PluginThread.h"
#include "host/PluginWindow.h"
#include "host/ScopedHandles.h"
#include "host/ThreadMessages.h"
#include "settings/KaraokeSettings.h"

class DummyWindow;

// The loop's wait between ticks: up to ms, ending early when a message (posted, sent
// or input) arrives for the calling thread. Answers the milliseconds waited.
DWORD WaitForMessageOrTimeout(DWORD ms);

struct PluginAppSetup {
  PlayerLink* link = nullptr;        // not owned; outlives the application object
  IniFile* ini = nullptr;            // not owned; outlives the application object
  WindowFactory* windows = nullptr;  // not owned; null: no window ever opens
  HINSTANCE instance = nullptr;      // resources (menu 114, icon 103); null: WindowBase::Instance()
  HMENU menu = nullptr;              // taken over instead of loading menu 114 (tests)
  Napper* napper = nullptr;          // null: a wait that ends when a message arrives
  DWORD startTimeoutMs = 10000;      // bound of the start handshake
};

class PluginApp : public PluginThread {
 public:
  // Reads the settings, starts the plug-in thread and returns once it runs its loop
  // (or has failed, or the bound passed): see Running().
  explicit PluginApp(const PluginAppSetup& setup);
  // Stops the thread (its windows go with it), writes the settings in the order
  // Editor, Karaoke, Displayer, common, and destroys menu 114. The player's system
  // menu may hold menu 114's submenu: the owner of the link takes that entry off first.
  ~PluginApp() override;

  bool Running() const noexcept { return running_; }

  CommonSettings& Common() { return *common_; }
  DisplayerSettings& Displayer() { return *displayer_; }
  KaraokeSettings& Karaoke() { return *karaoke_; }
  EditorSettings& Editor() { return *editor_; }
  PlayerLink& Link() { return *link_; }
  HMENU Menu() const { return menu_.Get(); }
  // The menu shown by the tray icon: the first submenu of menu 114, or the menu itself.
  HMENU PopupMenu() const;
  HINSTANCE Instance() const { return instance_; }
  // Plug-in thread only.
  PluginWindow* Window(WindowIndex index) const;
  bool IsOpen(WindowIndex index) const { return Window(index) != nullptr; }
  HWND DummyHandle() const;

  void SetMenuState(int index, bool open);
  bool MenuChecked(int index) const;

 protected:
  int Run() override;
  // A popup menu's modal loop (the tray menu) does not end on WM_QUIT: tell the
  // thread's windows to cancel it.
  void NudgeWhileStopping() override;

 private:
  bool WaitForStart();
  void StartLoop();
  void Idle();
  bool MessageWaiting() const;
  void Tick();
  DWORD Nap(DWORD ms);
  bool FilterWindowMessage(MSG& msg);
  void HandleThreadMessage(const MSG& msg);
  void OpenWindow(int index);
  void CloseWindow(int index, bool force);
  void ToggleWindow(int index, bool force);
  void OpenHelp();
  void SongChanged();
  void MoveFollower(int x, int y);
  void PlayerActivated(HWND player);
  void StopWindows();

  PlayerLink* link_;
  WindowFactory* windows_;
  Napper* napper_;
  HINSTANCE instance_;
  OwnedMenu menu_;
  std::unique_ptr<CommonSettings> common_;
  std::unique_ptr<DisplayerSettings> displayer_;
  std::unique_ptr<KaraokeSettings> karaoke_;
  std::unique_ptr<EditorSettings> editor_;
  // Plug-in thread only.
  std::unique_ptr<DummyWindow> dummy_;
  std::array<std::unique_ptr<PluginWindow>, 4> slots_;
  DWORD wait_ = 20;   // the tick period
  DWORD waited_ = 0;  // towards the next tick
  HMODULE helpLibrary_ = nullptr;
  // Set by the thread once it runs its loop.
  KernelHandle started_;
  bool running_ = false;
};
