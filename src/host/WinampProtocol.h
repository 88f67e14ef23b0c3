#pragma once
// The player's side of the contract: the general-purpose plug-in descriptor and the
// window messages the plug-in sends to the player's main window, with what each
// carries and what comes back. Shared by the plug-in and the substitute player.

#include <windows.h>

// The descriptor the one export hands to the player. 32-bit fields on the 32-bit
// player; pointer-sized on 64-bit builds.
struct WinampGeneralPurposePlugin {
  int version;              // kGeneralPurposePluginVersion
  char* description;        // ANSI text shown in the player's plug-in list
  int(__cdecl* init)();     // 0
  void(__cdecl* config)();
  void(__cdecl* quit)();
  HWND hwndParent;          // the player's main window, filled in before init
  HINSTANCE hDllInstance;   // the plug-in's module, filled in before init
};

constexpr int kGeneralPurposePluginVersion = 0x10;
constexpr char kGeneralPurposePluginExport[] = "winampGetGeneralPurposePlugin";
typedef WinampGeneralPurposePlugin*(__cdecl* GetGeneralPurposePluginProc)();

// WM_USER messages to the main window: the operation travels in lParam.
constexpr UINT kPlayerMessage = WM_USER;
// wParam 0 -> the player's version (0x2005 or more is required).
constexpr LPARAM kIpcGetVersion = 0;
// wParam 0 -> 1 playing, 3 paused, 0 stopped.
constexpr LPARAM kIpcIsPlaying = 104;
// wParam 0 -> position in ms (-1 when nothing plays); wParam 1 -> length in s (-1 unknown).
constexpr LPARAM kIpcGetOutputTime = 105;
// wParam target ms -> 0 on success.
constexpr LPARAM kIpcJumpToTime = 106;
// wParam 0 -> index of the current playlist entry.
constexpr LPARAM kIpcGetListPosition = 125;
// wParam pointer to a 260-byte buffer that receives the current skin's folder.
constexpr LPARAM kIpcGetSkin = 201;
// wParam entry index -> pointer to the entry's ANSI file name in the player's memory.
constexpr LPARAM kIpcGetPlaylistFile = 211;

// WM_COMMAND ids of the player.
constexpr WPARAM kPlayerCommandPlay = 40045;

// The player's windows other than the main one, by class name.
constexpr char kPlaylistClass[] = "Winamp PE";
constexpr char kEqualizerClass[] = "Winamp EQ";
constexpr char kMiniBrowserClass[] = "Winamp MB";

// The player's main window at normal size; double size doubles both.
constexpr int kPlayerWidth = 275;
constexpr int kPlayerHeight = 116;
