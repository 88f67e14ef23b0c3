#pragma once
// One message to a player window that gives up after WinampLink's reply bound, or at
// once when the window's thread is hung; a message to a window of the calling thread
// is a plain call. False when the player did not answer (result is then untouched).

#include <windows.h>

bool AskPlayer(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr);
