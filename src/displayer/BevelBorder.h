#pragma once
// The 1-pixel bevel around the lyrics view and the info strip: light on the left and
// top, dark on the right and bottom, both mixed from the background colour.

#include <windows.h>

class DisplayerColors;

// WM_NCCALCSIZE: the client area is the window inset by one pixel on each side.
LRESULT InsetByBevel(WPARAM wParam, LPARAM lParam);
// WM_NCPAINT.
void PaintBevel(HWND window, const DisplayerColors& colors);
