#pragma once
// The one place where the plug-in talks to the media player. Every other part asks
// it for the playing position, the song length, the playing file and the player's
// windows, and asks it to play or seek. WinampLink implements it over the player's
// window messages; tests give their own.
//
// Two threads use a link: the player's thread (window procedures that watch the
// player) and the plug-in thread (queries and setters). The fields below are shared
// between them and guarded by one mutex, reached through two lock objects: the
// player's thread takes playerThreadLock_, the plug-in thread pluginThreadLock_.

#include <windows.h>

#include <cstdint>

#include "base/WString.h"
#include "host/RecursiveMutex.h"

class PlayerLink {
 public:
  PlayerLink() : pluginThreadLock_(RecursiveMutex::Borrow{}, playerThreadLock_) {}
  virtual ~PlayerLink() = default;
  PlayerLink(const PlayerLink&) = delete;
  PlayerLink& operator=(const PlayerLink&) = delete;

  // 1 when a main window is known, else 0; the Winamp link has 4 player windows.
  virtual int WindowCount() { return MainWindow() ? 1 : 0; }
  // The skin's frame bitmap file, or false.
  virtual bool GetSkinBitmapPath(WString& path) { return false; }
  // The player's current skin folder, ending with a backslash; false for the
  // player's built-in skin, which has no folder.
  virtual bool GetSkinFolder(WString& folder) { return false; }
  // The window that moves with the player (the Displayer frame), or null.
  virtual void SetFollower(HWND follower) {
    MutexLock lock(pluginThreadLock_);
    follower_ = follower;
  }
  // 0 main, 1 playlist, 2 equaliser, 3 mini-browser; null for others or when absent.
  virtual HWND GetPlayerWindow(int index) { return index == 0 ? MainWindow() : nullptr; }
  // Where thread messages go; 0 until the plug-in thread runs.
  virtual void SetNotifyThread(uint32_t threadId) {
    MutexLock lock(pluginThreadLock_);
    notifyThread_ = threadId;
  }
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
  HWND MainWindow() {
    MutexLock lock(pluginThreadLock_);
    return mainWindow_;
  }
  // Posts a thread message to the notify thread from the player's thread; a missing
  // thread is no error (posting to thread 0 would fail anyway).
  void Notify(UINT message, WPARAM wParam, LPARAM lParam) {
    uint32_t thread;
    {
      MutexLock lock(playerThreadLock_);
      thread = notifyThread_;
    }
    if (thread) PostThreadMessageA(thread, message, wParam, lParam);
  }

  RecursiveMutex playerThreadLock_;
  RecursiveMutex pluginThreadLock_;  // borrows playerThreadLock_'s mutex
  HWND mainWindow_ = nullptr;
  HWND follower_ = nullptr;
  int buttonVisible_ = 0;
  WString playingFile_;  // wide path of the file last seen playing
  uint32_t notifyThread_ = 0;
};
