#pragma once
// The window classes of the substitute player (internal to the library).

#include <windows.h>

class SubstitutePlayer;

constexpr char kPlayerMainClass[] = "MrLyricsSubstitutePlayer";
constexpr UINT_PTR kClockTimer = 1;

HWND CreatePlayerMainWindow(SubstitutePlayer* player, int x, int y, int width, int height);
// index 1 playlist, 2 equaliser, 3 mini-browser; owned by the main window.
HWND CreatePlayerAuxWindow(SubstitutePlayer* player, int index, HWND owner, int x, int y, int w, int h);
const char* AuxClassName(int index);
