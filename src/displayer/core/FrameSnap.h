#pragma once
// The Displayer frame snaps to the work area's edges and to the player's windows while
// it is dragged or sized, lines its top or bottom up with a window it touches, and
// keeps its heights of one and two player windows (116 and 232) within reach.

#include <cstdint>
#include <vector>

#include "displayer/core/Geometry.h"

struct SnapTargets {
  Rect workArea;
  // The visible player windows, from the last index down to 0 (hidden ones left out).
  std::vector<Rect> playerWindows;
  int32_t snapLength = 10;
};

// The edge being dragged, numbered like the sizing message's edge codes.
enum class SizingEdge { kLeft = 1, kRight, kTop, kTopLeft, kTopRight, kBottom, kBottomLeft, kBottomRight };

constexpr int32_t kSnapHeightOne = 116;  // the main window's height
constexpr int32_t kSnapHeightTwo = 232;  // main window and equaliser
constexpr int32_t kMinFrameWidth = 275;
constexpr int32_t kMinFrameHeight = 32;

// The top-left corner for a frame dragged to `moved` (its size unchanged).
Point SnapDragged(const Rect& moved, const SnapTargets& targets);

// The sizing rectangle after snapping; minHeight is the bar's height in window-shade
// mode, else kMinFrameHeight.
Rect SnapSized(const Rect& proposed, SizingEdge edge, const SnapTargets& targets, int32_t minHeight);
