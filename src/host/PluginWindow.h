#pragma once
// What the plug-in thread needs of the windows it owns (Displayer, Karaoke
// Displayer, Editor, Options sheet), and the factory that makes them. The thread
// routes its messages through these and knows nothing else of the windows.

#include <windows.h>

#include <memory>

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
  // One tick of the main loop: follow the playing position.
  virtual void Tick() {}
  // The karaoke screen: while rendering, frames follow each other with no sleep.
  virtual bool IsRendering() { return false; }
  virtual void DrawFrame() {}
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
