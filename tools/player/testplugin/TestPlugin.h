#pragma once
// A minimal general-purpose plug-in for the substitute player's own tests and for
// the demo when the real plug-in is not built: it records the calls it gets, and
// runs a thread with a window that asks the player for its position on a timer, as
// a real plug-in's thread does while the player is in quit.

#include <windows.h>

struct TestPluginState {
  int initCalls;
  int configCalls;
  int quitCalls;
  char order[64];            // "init,config,quit," as the entries were called
  HWND parentAtInit;         // the descriptor's fields as init found them
  HINSTANCE instanceAtInit;
  LRESULT versionAtInit;     // the player's answer to the version query
  volatile LONG positionQueries;  // position queries sent by the plug-in thread
  volatile LONG lastPosition;
  HWND window;               // the thread's window while it runs
  DWORD threadId;
  bool threadEnded;          // set by quit once the thread is gone
};

constexpr char kTestPluginStateExport[] = "TestPluginGetState";
typedef TestPluginState*(__cdecl* TestPluginGetStateProc)();
constexpr char kTestPluginWindowClass[] = "MrLyricsTestPluginWindow";
