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

TEST(SnapDragged, LandsAgainstThePlayerAndAlignsTheTops) {
  const Point p = SnapDragged(Frame(382, 107, 640, 116), Targets());
  EXPECT_EQ(p.x, 375);
  EXPECT_EQ(p.y, 100);
}

TEST(SnapDragged, AlignsBottomsWhenTheTopsAreFarApart) {
  const Point p = SnapDragged(Frame(370, 60, 640, 150), Targets());
  EXPECT_EQ(p.x, 375);
  EXPECT_EQ(p.y, 66);  // bottom 210 moved to the player's 216
}

TEST(SnapDragged, SitsBelowThePlayerLeftAligned) {
  const Point p = SnapDragged(Frame(95, 222, 640, 116), Targets());
  EXPECT_EQ(p.x, 100);
  EXPECT_EQ(p.y, 216);
}

TEST(SnapDragged, FarFromEverythingStaysPut) {
  const Point p = SnapDragged(Frame(700, 500, 640, 116), Targets());
  EXPECT_EQ(p.x, 700);
  EXPECT_EQ(p.y, 500);
  // Beside the player's column but far below it: no side snap.
  const Point below = SnapDragged(Frame(380, 400, 640, 116), Targets());
  EXPECT_EQ(below.x, 380);
}

TEST(SnapDragged, WorkAreaEdges) {
  const Point p = SnapDragged(Frame(1275, 1030, 640, 16), Targets());
  EXPECT_EQ(p.x, 1280);
  EXPECT_EQ(p.y, 1024);
  const Point q = SnapDragged(Frame(-9, 8, 640, 116), SnapTargets{Rect{0, 0, 1920, 1040}, {}, 10});
  EXPECT_EQ(q.x, 0);
  EXPECT_EQ(q.y, 0);
}

TEST(SnapSized, HeightSnapsToOneAndTwoPlayerWindows) {
  const SnapTargets far{Rect{0, 0, 1920, 1040}, {}, 10};
  EXPECT_EQ(SnapSized(Frame(500, 500, 640, 120), SizingEdge::kBottom, far, kMinFrameHeight).Height(), 116);
  EXPECT_EQ(SnapSized(Frame(500, 500, 640, 228), SizingEdge::kBottom, far, kMinFrameHeight).Height(), 232);
  EXPECT_EQ(SnapSized(Frame(500, 500, 640, 174), SizingEdge::kBottom, far, kMinFrameHeight).Height(), 174);
}

TEST(SnapSized, LeastWidthKeepsTheEdgeNotBeingDragged) {
  const SnapTargets far{Rect{0, 0, 1920, 1040}, {}, 10};
  const Rect fromLeft = SnapSized(Frame(800, 500, 100, 300), SizingEdge::kLeft, far, kMinFrameHeight);
  EXPECT_EQ(fromLeft.right, 900);
  EXPECT_EQ(fromLeft.Width(), 275);
  const Rect fromRight = SnapSized(Frame(800, 500, 100, 300), SizingEdge::kBottomRight, far, kMinFrameHeight);
  EXPECT_EQ(fromRight.left, 800);
  EXPECT_EQ(fromRight.Width(), 275);
}

TEST(SnapSized, LeastHeightIsTheBarInWindowShadeMode) {
  const SnapTargets far{Rect{0, 0, 1920, 1040}, {}, 10};
  EXPECT_EQ(SnapSized(Frame(800, 500, 300, 5), SizingEdge::kBottom, far, kMinFrameHeight).Height(), 32);
  EXPECT_EQ(SnapSized(Frame(800, 500, 300, 5), SizingEdge::kBottom, far, 16).Height(), 16);
  EXPECT_EQ(SnapSized(Frame(800, 500, 300, 5), SizingEdge::kBottom, far, INT32_MAX).bottom, INT32_MAX);
}

TEST(SnapSized, EdgesMeetThePlayerAndTheBottomAligns) {
  // Right edge dragged near the player's left edge, bottom near its bottom.
  const Rect r = SnapSized(Frame(-300, 100, 395, 120), SizingEdge::kBottomRight, Targets(), kMinFrameHeight);
  EXPECT_EQ(r.right, 100);
  EXPECT_EQ(r.bottom, 216);
  const Rect left = SnapSized(Frame(383, 100, 400, 300), SizingEdge::kLeft, Targets(), kMinFrameHeight);
  EXPECT_EQ(left.left, 375);
}

}  // namespace

// SnapLen comes from the user's file: a huge one snaps to everything without overflowing.
TEST(Snap, HugeSnapLengthStaysInRange) {
  SnapTargets targets = Targets();
  targets.snapLength = INT32_MAX;
  const Point p = SnapDragged(Frame(700, 500, 640, 116), targets);
  EXPECT_GE(p.x, -640);
  EXPECT_LE(p.x, 1920);
  const Rect r = SnapSized(Frame(700, 500, 640, 120), SizingEdge::kRight, targets, kMinFrameHeight);
  EXPECT_GE(r.Width(), kMinFrameWidth);
}
