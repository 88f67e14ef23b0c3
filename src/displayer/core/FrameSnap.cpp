#include "displayer/core/FrameSnap.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool Near(int32_t a, int32_t b, int32_t snap) { return std::llabs(int64_t(a) - b) <= snap; }

Rect At(Point p, int32_t w, int32_t h) { return Rect{p.x, p.y, p.x + w, p.y + h}; }

// Side by side: the frame's rows overlap the window's (widened by the snap length).
bool RowsMeet(const Rect& frame, const Rect& window, int32_t snap) {
  return int64_t(window.top) - snap <= frame.bottom && int64_t(window.bottom) + snap >= frame.top;
}

// One above the other: the columns overlap.
bool ColumnsMeet(const Rect& frame, const Rect& window, int32_t snap) {
  return int64_t(window.left) - snap <= frame.right && int64_t(window.right) + snap >= frame.left;
}

}  // namespace

Point SnapDragged(const Rect& moved, const SnapTargets& targets) {
  const int32_t s = targets.snapLength, w = moved.Width(), h = moved.Height();
  const Rect& area = targets.workArea;
  Point p{moved.left, moved.top};
  if (Near(moved.left, area.left, s)) p.x = area.left;
  if (Near(moved.top, area.top, s)) p.y = area.top;
  if (Near(moved.right, area.right, s)) p.x = area.right - w;
  if (Near(moved.bottom, area.bottom, s)) p.y = area.bottom - h;
  for (const Rect& o : targets.playerWindows) {
    if (RowsMeet(moved, o, s)) {
      if (Near(moved.left, o.right, s)) p.x = o.right;
      if (Near(moved.right, o.left, s)) p.x = o.left - w;
    }
    if (ColumnsMeet(moved, o, s)) {
      if (Near(moved.top, o.bottom, s)) p.y = o.bottom;
      if (Near(moved.bottom, o.top, s)) p.y = o.top - h;
    }
  }
  // Touching a window: line up the tops (or bottoms, or sides) too.
  const Rect m = At(p, w, h);
  for (const Rect& o : targets.playerWindows) {
    if (m.left == o.right || m.right == o.left) {
      if (Near(m.top, o.top, s))
        p.y = o.top;
      else if (Near(o.bottom, m.bottom, s))
        p.y += o.bottom - m.bottom;
    }
    if (m.top == o.bottom || m.bottom == o.top) {
      if (Near(m.left, o.left, s))
        p.x = o.left;
      else if (Near(m.right, o.right, s))
        p.x += o.right - m.right;
    }
  }
  return p;
}

Rect SnapSized(const Rect& proposed, SizingEdge edge, const SnapTargets& targets, int32_t minHeight) {
  const int32_t s = targets.snapLength;
  const Rect& area = targets.workArea;
  Rect p = proposed, r = proposed;
  if (Near(p.Height(), kSnapHeightOne, s))
    r.bottom = p.top + kSnapHeightOne;
  else if (Near(p.Height(), kSnapHeightTwo, s))
    r.bottom = p.top + kSnapHeightTwo;
  if (Near(p.left, area.left, s)) r.left = area.left;
  if (Near(p.top, area.top, s)) r.top = area.top;
  if (Near(p.right, area.right, s)) r.right = area.right;
  if (Near(p.bottom, area.bottom, s)) r.bottom = area.bottom;
  for (const Rect& o : targets.playerWindows) {
    if (RowsMeet(p, o, s)) {
      if (Near(p.left, o.right, s)) r.left = o.right;
      if (Near(p.right, o.left, s)) r.right = o.left;
    }
    if (ColumnsMeet(p, o, s) && Near(p.bottom, o.top, s)) r.bottom = o.top;
  }
  p = r;
  for (const Rect& o : targets.playerWindows) {
    if ((p.left == o.right || p.right == o.left) && Near(p.bottom, o.bottom, s)) r.bottom = o.bottom;
    if (p.top == o.bottom || p.bottom == o.top) {
      if (Near(p.right, o.right, s)) r.right = o.right;
      if (Near(p.left, o.left, s)) r.left = o.left;
    }
  }
  if (r.Width() < kMinFrameWidth) {
    // The edge held by the user moves; the opposite one stays.
    if (edge == SizingEdge::kLeft || edge == SizingEdge::kBottomLeft || edge == SizingEdge::kTopLeft)
      r.left = p.right - kMinFrameWidth;
    else if (edge == SizingEdge::kRight || edge == SizingEdge::kBottomRight || edge == SizingEdge::kTopRight)
      r.right = p.left + kMinFrameWidth;
  }
  // The bar's height comes from the settings file and may be of any size.
  if (r.Height() < minHeight)
    r.bottom = static_cast<int32_t>(std::min<int64_t>(int64_t(p.top) + minHeight, INT32_MAX));
  return r;
}
