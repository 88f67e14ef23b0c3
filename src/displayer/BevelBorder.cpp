#include "displayer/BevelBorder.h"

#include "displayer/core/DisplayerColors.h"
#include "host/ScopedHandles.h"

LRESULT InsetByBevel(WPARAM wParam, LPARAM lParam) {
  RECT* rect = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
  InflateRect(rect, -1, -1);
  return 0;
}

void PaintBevel(HWND window, const DisplayerColors& colors) {
  ScopedWindowDC dc(window, ScopedWindowDC::kWholeWindow);
  RECT bounds{};
  if (!dc || !GetWindowRect(window, &bounds)) return;
  const int w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
  OwnedPen light(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(colors[ColorSlot::kLightBevel])));
  OwnedPen dark(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(colors[ColorSlot::kDarkBevel])));
  {
    ScopedSelect pen(dc.Get(), light.Get());
    MoveToEx(dc.Get(), 0, h - 1, nullptr);
    LineTo(dc.Get(), 0, 0);
    LineTo(dc.Get(), w, 0);
  }
  ScopedSelect pen(dc.Get(), dark.Get());
  MoveToEx(dc.Get(), w - 1, 1, nullptr);
  LineTo(dc.Get(), w - 1, h - 1);
  LineTo(dc.Get(), 0, h - 1);
}
