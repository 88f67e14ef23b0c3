#pragma once
// Plain rectangles, points and sizes for the windows' arithmetic, laid out like their
// Win32 counterparts (right and bottom exclusive) so the window code converts them
// field by field, while the rules stay testable without windows.h.

#include <cstdint>

struct Point {
  int32_t x = 0, y = 0;
};

struct Size {
  int32_t width = 0, height = 0;
};

struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  bool operator==(const Rect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
  bool operator!=(const Rect& other) const { return !(*this == other); }
};
