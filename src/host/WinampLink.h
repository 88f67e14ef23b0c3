#pragma once
// The link to the Winamp player: answers the plug-in's questions with the player's
// WM_USER messages, and watches the player's four windows by subclassing them. The
// subclass procedures run on the player's thread and turn what they see into thread
// messages for the plug-in thread: a new playing file (noticed when the player
// retitles its main window), clicks on the plug-in's menu entries and on the Lyrics
// button painted on the player, moves of the window the Displayer sticks to, the
// player's activation and a change of skin.
//
// The player's windows outlive the plug-in. Destruction restores every procedure the
// link replaced; while a later subclasser still calls ours, ours stays installed,
// finds no link and passes everything to the procedure it replaced, which it keeps
// in a property of the window so that it needs no link to find it.
//
// Create and destroy the link on the thread that owns the player's windows (the
// player calls init and quit there): that thread runs the subclass procedures too,
// so none of them can be inside the link while it goes.

#include <windows.h>

#include "host/PlayerLink.h"
#include "host/ScopedHandles.h"

class WinampLink : public PlayerLink {
 public:
  // instance: the plug-in's module, where the built-in button bitmap and the skin
  // file's name live and beside which a skin file may lie.
  WinampLink(HWND mainWindow, HINSTANCE instance);
  ~WinampLink() override;

  int WindowCount() override { return 4; }
  bool GetSkinBitmapPath(WString& path) override;
  bool GetSkinFolder(WString& folder) override;
  HWND GetPlayerWindow(int index) override;
  bool AddSystemMenu(HMENU menu) override;
  // Takes the entry added by AddSystemMenu out of the player's system menu again;
  // the player would otherwise keep a handle to the menu after it is destroyed. Call
  // it before destroying that menu; the destructor does it too.
  void RemoveSystemMenu();
  bool ShowLyricsButton(bool show) override;
  int Play() override;
  int IsPlaying() override;
  bool GetPlayingFile(WString& file) override;
  int GetPosition() override;
  int GetLength() override;
  bool Seek(int milliseconds) override;

  // The bitmap the Lyrics button is drawn from, and whether it came from a skin file
  // (otherwise it is the built-in bitmap resource).
  HBITMAP ButtonBitmap();
  bool ButtonFromSkin();

  // How long the plug-in thread waits for the player to answer one message. A player
  // that is busy for longer gets a fallback answer; one that hangs is not waited for.
  static constexpr UINT kPlayerReplyTimeoutMs = 500;

 private:
  // PlayerSubclass.cpp: the procedures installed in the player's windows and the
  // messages they hand to the other parts.
  static LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK AuxWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void StartWatching();  // makes this the current link and subclasses the four windows
  void StopWatching();
  bool OnMainMessage(UINT message, WPARAM wParam, LPARAM lParam);  // true: swallowed
  void OnAuxMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void OnActivate(WPARAM wParam);
  void OnCommand(WPARAM wParam);
  void OnWindowGone(HWND hwnd);
  int AuxIndex(HWND hwnd);

  // SongDetection.cpp
  void CheckPlayingFile();

  // FollowerMove.cpp
  void FindAnchors();
  void Follow(int index, LPARAM lParam);
  void OnAuxLeftButtonDown(int index);

  // LyricsButton.cpp
  RECT ButtonRect() const;  // client coordinates, doubled in double size
  bool HitsButton(LPARAM lParam);
  void OnLeftButtonUp(LPARAM lParam);
  bool OnRightButtonUp(LPARAM lParam);
  void OnDisplayChange();
  void InvalidateButton();
  void PaintButton();
  void LoadButtonBitmap();
  void LoadBuiltInButtonBitmap();

  // SkinLookup.cpp
  bool AskSkinFolder(HWND player, WString& folder) const;
  bool FindSkinBitmap(HWND player, WString& path) const;
  WString SkinBitmapName() const;

  HWND Window(int index) const;  // 0 main, 1..3 auxiliary; caller holds a lock

  HINSTANCE instance_;
  HWND aux_[3] = {};  // playlist, equaliser, mini-browser
  int anchors_[4] = {};
  int mainAnchored_ = 0;
  RECT reference_ = {};
  RECT followerRect_ = {};
  OwnedBitmap buttonBitmap_;
  bool buttonFromSkin_ = false;
  HMENU systemMenuEntry_ = nullptr;  // the menu given to AddSystemMenu
  HMENU systemSubmenu_ = nullptr;    // where it went
  int lastPosition_ = -1000;
};
