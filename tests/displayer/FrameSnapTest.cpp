#include "displayer/core/FrameSnap.h"

#include <gtest/gtest.h>

namespace {

// A 1920 × 1040 work area; the player's main window at 100, 100, 375 × 116.
SnapTargets Targets() {
  SnapTargets targets;
  targets.workArea = Rect{0, 0, 1920, 1040};
  targets.playerWindows = {Rect{100, 100, 375, 216}};
  targets.snapLength = 10;
  return targets;
}

Rect Frame(int32_t x, int32_t y, int32_t w, int32_t h) { return Rect{x, y, x + w, y + h}; }

TEST(SnapDragged, SnapsToThePlayerAndTheWorkAreaEdges) {
  const SnapTargets alone{Rect{0, 0, 1920, 1040}, {}, 10}, player = Targets();
  const struct {
    Rect frame;
    const SnapTargets& targets;
    Point expected;
  } cases[] = {
      {Frame(382, 107, 640, 116), player, {375, 100}},  // against the player, tops aligned
      {Frame(370, 60, 640, 150), player, {375, 66}},    // tops far apart: bottom 210 to the player's 216
      {Frame(95, 222, 640, 116), player, {100, 216}},   // below the player, left-aligned
      {Frame(700, 500, 640, 116), player, {700, 500}},  // far from everything
      {Frame(380, 400, 640, 116), player, {380, 400}},  // beside the player's column, far below it
      {Frame(1275, 1030, 640, 16), player, {1280, 1024}},
      {Frame(-9, 8, 640, 116), alone, {0, 0}},
  };
  for (const auto& c : cases) {
    const Point p = SnapDragged(c.frame, c.targets);
    EXPECT_TRUE(p.x == c.expected.x && p.y == c.expected.y) << c.frame.left << "," << c.frame.top << ": " << p.x << "," << p.y;
  }
}

TEST(SnapSized, SnapsEdgesWithinTheLeastSizeWhateverTheSnapLength) {
  const SnapTargets far{Rect{0, 0, 1920, 1040}, {}, 10}, player = Targets();
  const struct {
    Rect frame;
    SizingEdge edge;
    const SnapTargets& targets;
    int32_t leastHeight;
    Rect expected;
  } cases[] = {
      // Heights snap to one and two player windows.
      {Frame(500, 500, 640, 120), SizingEdge::kBottom, far, kMinFrameHeight, Frame(500, 500, 640, 116)},
      {Frame(500, 500, 640, 228), SizingEdge::kBottom, far, kMinFrameHeight, Frame(500, 500, 640, 232)},
      {Frame(500, 500, 640, 174), SizingEdge::kBottom, far, kMinFrameHeight, Frame(500, 500, 640, 174)},
      // The least width keeps the edge not being dragged.
      {Frame(800, 500, 100, 300), SizingEdge::kLeft, far, kMinFrameHeight, Rect{625, 500, 900, 800}},
      {Frame(800, 500, 100, 300), SizingEdge::kBottomRight, far, kMinFrameHeight, Frame(800, 500, 275, 300)},
      // The least height is the bar's in window-shade mode.
      {Frame(800, 500, 300, 5), SizingEdge::kBottom, far, kMinFrameHeight, Frame(800, 500, 300, 32)},
      {Frame(800, 500, 300, 5), SizingEdge::kBottom, far, 16, Frame(800, 500, 300, 16)},
      {Frame(800, 500, 300, 5), SizingEdge::kBottom, far, INT32_MAX, Rect{800, 500, 1100, INT32_MAX}},
      // Edges meet the player: right edge to its left, bottom to its bottom; left edge to its right.
      {Frame(-300, 100, 395, 120), SizingEdge::kBottomRight, player, kMinFrameHeight, Rect{-300, 100, 100, 216}},
      {Frame(383, 100, 400, 300), SizingEdge::kLeft, player, kMinFrameHeight, Rect{375, 100, 783, 400}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SnapSized(c.frame, c.edge, c.targets, c.leastHeight), c.expected) << c.frame.left << "," << c.frame.top;
  // SnapLen comes from the user's file: a huge one snaps to everything without overflowing.
  SnapTargets huge = Targets();
  huge.snapLength = INT32_MAX;
  const Point p = SnapDragged(Frame(700, 500, 640, 116), huge);
  EXPECT_TRUE(p.x >= -640 && p.x <= 1920) << p.x;
  EXPECT_GE(SnapSized(Frame(700, 500, 640, 120), SizingEdge::kRight, huge, kMinFrameHeight).Width(), kMinFrameWidth);
}

}  // namespace
