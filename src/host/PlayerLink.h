#pragma once
// The one place where the plug-in talks to the media player. Every other part asks
// it for the playing position, the song length, the playing file and the player's
// windows, and asks it to play or seek. WinampLink implements it over the player's
// window messages; tests give their own.

#include <windows.h>

#include <cstdint>

#include "base/WString.h"

class PlayerLink {
 public:
  virtual ~PlayerLink() = default;

  // 1 when a main window is known, else 0; the Winamp link has 4 player windows.
  virtual int WindowCount() { return mainWindow_ ? 1 : 0; }
  // The skin's frame bitmap file, or false.
  virtual bool GetSkinBitmapPath(WString& path) { return false; }
  // The window that moves with the player (the Displayer frame), or null.
  virtual void SetFollower(HWND follower) = 0;
  // 0 main, 1 playlist, 2 equaliser, 3 mini-browser; null for others or when absent.
  virtual HWND GetPlayerWindow(int index) { return index == 0 ? mainWindow_ : nullptr; }
  // Where thread messages go; 0 until the plug-in thread runs.
  virtual void SetNotifyThread(uint32_t threadId) = 0;
  virtual bool AddSystemMenu(HMENU menu) { return false; }
  virtual bool ShowLyricsButton(bool show) { return false; }
  // Sends the play command, then answers IsPlaying.
  virtual int Play() = 0;
  // 1 playing; paused and stopped give 0.
  virtual int IsPlaying() = 0;
  // The file last seen playing; false when there is none.
  virtual bool GetPlayingFile(WString& file) { return false; }
  // Milliseconds, jitter-filtered; negative when nothing plays.
  virtual int GetPosition() = 0;
  // Milliseconds; -1000 when the player knows no length.
  virtual int GetLength() = 0;
  virtual bool Seek(int milliseconds) { return false; }

 protected:
  HWND mainWindow_ = nullptr;
};
