#pragma once
// The thread messages through which the player link, the entries, the tray icon and
// the windows ask the plug-in thread to open, close or update its windows. All are
// posted to the plug-in thread with no window handle.

#include "resources/resource.h"

// wParam 0, lParam 0: sent by init until the thread accepts it.
constexpr unsigned TM_START = 0x401;
// wParam WindowIndex.
constexpr unsigned TM_OPEN_WINDOW = 0x402;
// wParam WindowIndex, lParam force (1: close even when the window would rather not).
constexpr unsigned TM_CLOSE_WINDOW = 0x403;
// wParam WindowIndex, lParam force (used when it closes).
constexpr unsigned TM_TOGGLE_WINDOW = 0x404;
// The player started another file.
constexpr unsigned TM_SONG_CHANGED = 0x406;
// The player's skin changed.
constexpr unsigned TM_SKIN_CHANGED = 0x407;
// wParam screen x, lParam screen y: where the Displayer moves with the player.
constexpr unsigned TM_MOVE_FOLLOWER = 0x408;
// lParam the player's main window: one of the player's windows was activated.
constexpr unsigned TM_PLAYER_ACTIVATED = 0x409;

enum WindowIndex : int {
  kDisplayerWindow = 0,
  kKaraokeWindow = 1,
  kEditorWindow = 2,
  kOptionsWindow = 3,
  kHelpWindow = 4,  // no window: opens the help file
  kWindowIndexCount = 5,
};

// Menu 114 and the player's system-menu entry carry one command per WindowIndex.
constexpr unsigned kFirstWindowCommand = ID_OPEN_DISPLAYER;
