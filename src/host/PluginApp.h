#pragma once
// The application object: owns the four settings objects, menu 114, the dummy
// window and one slot per plug-in window, and runs the plug-in thread's loop. There
// is no window timer: between messages the loop waits until the Displayer's Wait has
// passed and then ticks the open windows. The wait ends at once when a message
// arrives, and the time already waited counts towards the next tick, so messages are
// handled at once while the tick interval stays Wait ms. Windows reach each other
// only through this object, on the plug-in thread.

#include <windows.h>

#include <array>
#include <deque>
#include <functional>
#include <memory>

#include "settings/DisplayerSettings.h"
#include "settings/EditorSettings.h"
#include "settings/CommonSettings.h"
#include "settings/IniFile.h"
#include "host/ModalLoopGuard.h"
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
  HINSTANCE instance = nullptr;      // resources (menu, tray icon); null: WindowBase::Instance()
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
  // Menu 114's one popup, with the check marks: what the tray icon, the Displayer's
  // context menu and the player's system menu show.
  HMENU PopupMenu() const { return GetSubMenu(menu_.Get(), 0); }
  HINSTANCE Instance() const { return instance_; }
  // Plug-in thread only.
  PluginWindow* Window(WindowIndex index) const;
  bool IsOpen(WindowIndex index) const { return Window(index) != nullptr; }
  HWND DummyHandle() const;

  void SetMenuState(int index, bool open);
  bool MenuChecked(int index) const;

  // How windows reach each other; plug-in thread only. A window busy with a call or a
  // dialog of its own is not entered again: its part waits for the thread's loop.
  // The Options sheet wrote new settings: every open window takes up its own section.
  void ApplySettings();
  // The Options sheet wrote settings every window shares.
  void SettingsChanged();
  // The Editor's text goes to the Displayer as its lyrics; false when it is closed.
  bool ShowTextInDisplayer(const WString& text);

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
  void TickOutsideModalLoops();
  DWORD Nap(DWORD ms);
  void HandleMessage(MSG msg);
  bool FilterWindowMessage(MSG& msg);
  void HandleThreadMessage(const MSG& msg);
  void OpenWindow(int index);
  void CloseWindow(int index, bool force);
  bool MayClose(int index, bool force);
  void ToggleWindow(int index, bool force);
  void OpenHelp();
  template <class Call>
  void ForEachOpenWindow(Call call);
  template <class Call>
  void ForWindow(int index, Call call);
  void RunWaitingCalls();
  bool TickedWindowOpen() const;
  // Inside a call of ours or its own procedure (a dialog it opened): not entered now.
  bool Busy(int index, const PluginWindow& window) const;
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
  // Calls from this object into each window that have not returned yet: a window
  // sitting in a modal loop of its own gets no tick until it is back.
  std::array<int, 4> calling_{};
  // The start's reopen requests not handled yet.
  std::array<bool, 4> reopening_{};
  // Calls for windows that were busy then, oldest first.
  struct WaitingCall {
    int index;
    PluginWindow* window;
    std::function<void(PluginWindow&)> call;
  };
  std::deque<WaitingCall> waitingCalls_;
  ModalLoopGuard modal_{[this] { TickOutsideModalLoops(); }};
  DWORD wait_ = 20;   // the tick period
  DWORD waited_ = 0;  // towards the next tick
  OwnedModule helpLibrary_;
  // Set by the thread once it runs its loop.
  KernelHandle started_;
  bool running_ = false;
};
