#pragma once
// What the plug-in thread needs of the windows it owns (Displayer, Karaoke
// Displayer, Editor, Options sheet), and the factory that makes them. The thread
// routes its messages through these and knows nothing else of the windows. Song,
// skin, settings and ticks go to every open window in the order of its index; a
// window leaves alone what is not its business.

#include <windows.h>

#include <memory>

#include "base/WString.h"
#include "host/ThreadMessages.h"

class PluginApp;

class PluginWindow {
 public:
  virtual ~PluginWindow() = default;  // destroys the window

  virtual HWND Handle() const = 0;
  // Whether the window may close now. The Editor asks the user about unsaved changes
  // (also when forced: force only decides whether a refusal counts).
  virtual bool MayClose(bool force) { return true; }
  // The player started another file: reload lyrics and song information.
  virtual void SongChanged() {}
  // The player's skin changed (the Displayer reloads its colours).
  virtual void SkinChanged() {}
  // The Options sheet wrote new values into this window's own settings: take them up
  // now (the Displayer lays itself out again, the Editor's view makes its font again).
  virtual void ApplySettings() {}
  // The Options sheet changed settings every window shares (the common page: lyrics
  // folder, tag reading); they count from the next song on, unless a window shows
  // something made from them now.
  virtual void SettingsChanged() {}
  // Lyrics text sent by another window (the Editor's Ctrl+T), shown as this window's
  // lyrics for the playing song. Only the Displayer takes it.
  virtual void ShowText(const WString& text) {}
  // One tick of the main loop: follow the playing position. Ticks go on while another
  // window of the thread is inside a modal loop, never while this one is.
  virtual void Tick() {}
  // The karaoke screen: while rendering, frames follow each other with no sleep. A
  // frame that failed answers false, and the loop naps briefly before the next.
  virtual bool IsRendering() { return false; }
  virtual bool DrawFrame() { return true; }
  // The Options sheet: true once the user closed it (its current page is gone).
  virtual bool HasEnded() { return false; }
  // Offers a window message before it is dispatched (dialog keys of the sheet, the
  // Editor's accelerators); true when taken.
  virtual bool PreTranslate(MSG& msg) { return false; }
};

class WindowFactory {
 public:
  virtual ~WindowFactory() = default;
  // Creates window `index` (0..3) on the calling thread; owner is the dummy window
  // (the Displayer's owner, so it has no taskbar button). Null when it cannot.
  virtual std::unique_ptr<PluginWindow> Create(WindowIndex index, PluginApp& app, HWND owner) = 0;
};

// The windows the plug-in ships.
std::unique_ptr<WindowFactory> MakeProductionWindowFactory();

// How the main loop waits between ticks; tests count naps on a clock of their own and
// learn when the loop has handled a thread message.
class Napper {
 public:
  virtual ~Napper() = default;
  // Waits up to ms and answers how long it waited: less when a message came first.
  virtual DWORD Nap(DWORD ms) = 0;
  virtual void Handled(UINT threadMessage) {}
};
