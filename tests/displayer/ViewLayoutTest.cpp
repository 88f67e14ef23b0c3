#include "displayer/core/ViewLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A pitch of 20 in a client 100 high: centre 40, k = 2.
ScrollPosition Target(int32_t line, int32_t count) { return ScrollTarget(line, 20, 0, 100, count); }

TEST(ScrollTarget, StaysAtTheTopWhileTheLineIsAboveTheCentre) {
  EXPECT_EQ(Target(0, 20), (ScrollPosition{0, 0}));
  EXPECT_EQ(Target(2, 20), (ScrollPosition{0, 0}));
  EXPECT_EQ(Target(-1, 20), (ScrollPosition{0, 0}));
}

TEST(ScrollTarget, KeepsTheLineAtTheCentre) {
  for (int32_t line = 3; line < 17; ++line) {
    const ScrollPosition scroll = Target(line, 20);
    EXPECT_EQ(LineTop(scroll, line, 20), 40) << line;
  }
  // One past k: the first line is pulled back to 0 and pushed down instead.
  EXPECT_EQ(Target(3, 20), (ScrollPosition{0, -20}));
}

TEST(ScrollTarget, StopsMovingNearTheEndAndTheBandWalksDown) {
  const ScrollPosition last = Target(19, 20);
  EXPECT_EQ(last, Target(17, 20));
  EXPECT_EQ(last, (ScrollPosition{14, -20}));
  EXPECT_GT(LineTop(last, 19, 20), 40);
}

TEST(ScrollTarget, EverythingThatFitsNeverMoves) {
  EXPECT_EQ(Target(4, 5), (ScrollPosition{0, 0}));
  EXPECT_EQ(ScrollTarget(4, 20, 7, 100, 5), (ScrollPosition{0, 7}));
  // A pitch of 0 (no font yet) neither divides by zero nor moves.
  EXPECT_EQ(ScrollTarget(3, 0, 0, 100, 5), (ScrollPosition{0, 0}));
  // A pitch past any screen (a line spacing from the file): far above, never wrapped.
  EXPECT_EQ(ScrollTarget(1, INT32_MAX, 0, 100, 5), (ScrollPosition{0, INT32_MIN}));
}

TEST(LineAtRow, FindsTheBandUnderThePointer) {
  const ScrollPosition scroll{14, -20};
  EXPECT_EQ(LineAtRow(scroll, 0, 20), 15);
  EXPECT_EQ(LineAtRow(scroll, 39, 20), 16);
  EXPECT_EQ(LineAtRow(scroll, 40, 20), 17);
  // Everything fits and the lines start lower down: a click above them is no line.
  EXPECT_EQ(LineAtRow(ScrollPosition{0, 7}, 3, 20), -1);
  EXPECT_EQ(LineAtRow(scroll, 10, 0), -1);
}

TEST(BandScroll, MovesEverythingButTheTwoBands) {
  // Line 9 to 10 in 20 lines: the text moves up one pitch; the old band lands right
  // above the new one, which stays at the centre.
  const ScrollPosition from = Target(9, 20), to = Target(10, 20);
  const BandScroll plan = PlanBandScroll(from, 9, to, 10, 20, RowSpan{0, 100});
  EXPECT_EQ(plan.dy, -20);
  EXPECT_EQ(plan.upperBand.top, 20);
  EXPECT_EQ(plan.lowerBand.top, 40);
  ASSERT_EQ(plan.stripCount, 2);  // no gap between adjacent bands
  EXPECT_EQ(plan.strips[0].bottom, 20);
  EXPECT_EQ(plan.strips[1].top, 60);
}

TEST(BandScroll, WhenTheTextStandsStillOnlyTheBandMoves) {
  const BandScroll plan = PlanBandScroll(Target(1, 20), 1, Target(2, 20), 2, 20, RowSpan{0, 100});
  EXPECT_EQ(plan.dy, 0);
  EXPECT_EQ(plan.upperBand.top, 20);
  EXPECT_EQ(plan.lowerBand.top, 40);
  // A jump leaves a gap between the bands, scrolled on its own.
  const BandScroll jump = PlanBandScroll(Target(0, 20), 0, Target(3, 20), 3, 20, RowSpan{0, 100});
  EXPECT_EQ(jump.dy, -20);
  EXPECT_EQ(jump.upperBand.top, -20);
  ASSERT_EQ(jump.stripCount, 2);
  EXPECT_EQ(jump.strips[0].top, 0);
  EXPECT_EQ(jump.strips[0].bottom, 40);
}

TEST(BandScroll, PitchAndSpacingOfAnySizeStayInsideThirtyTwoBits) {
  const BandScroll plan = PlanBandScroll(ScrollPosition{0, 0}, 0, ScrollPosition{0, 0}, 1, INT32_MAX, RowSpan{0, 100});
  EXPECT_EQ(plan.upperBand.bottom, INT32_MAX);
  EXPECT_EQ(plan.lowerBand.top, INT32_MAX);
  EXPECT_EQ(plan.lowerBand.bottom, INT32_MAX);
  EXPECT_EQ(plan.stripCount, 0);
  EXPECT_EQ(LineTextTop(ScrollPosition{0, 0}, 1, 20, 2), 21);
  EXPECT_EQ(LineTextTop(ScrollPosition{0, 0}, 2, 20, -6), 40);  // no negative spacing
  EXPECT_EQ(LineTextTop(ScrollPosition{0, 0}, 1, INT32_MAX, INT32_MAX), INT32_MAX);
  EXPECT_EQ(LineTextTop(ScrollPosition{3, 0}, -3, INT32_MAX, 0), INT32_MIN);
}

TEST(FitWindowWidth, FollowsTheWidestLineButKeepsTheCaption) {
  EXPECT_EQ(FitWindowWidth(640, 500, 4, 630), 518);
  EXPECT_EQ(FitWindowWidth(640, 50, 4, 630), 275);
}

TEST(AvailableWidth, MarginsFromTheFileNeverOverflow) {
  EXPECT_EQ(AvailableWidth(640, 4), 632);
  EXPECT_EQ(AvailableWidth(640, INT32_MAX), INT32_MIN);
  EXPECT_EQ(AvailableWidth(640, INT32_MIN), INT32_MAX);
}

TEST(LineX, FollowsTheAlignmentSwitches) {
  LineAlignment centred{true, true, 4};
  EXPECT_EQ(LineX(centred, 200, 100, 150), 50);
  EXPECT_EQ(LineX(centred, 200, 260, 260), -30);  // wider than the view: left of 0
  LineAlignment block{false, true, 4};
  EXPECT_EQ(LineX(block, 200, 100, 150), 29);
  EXPECT_EQ(LineX(block, 200, 100, 200), 4);
  EXPECT_EQ(LineX(block, 200, 100, 250), 4);
  EXPECT_EQ(LineX(LineAlignment{false, true, INT32_MAX}, 200, 100, 150), INT32_MAX);
  LineAlignment left{false, false, 4};
  EXPECT_EQ(LineX(left, 200, 100, 150), 4);
}

// The widest line perPixel pixels wide per pixel of character height, counted per call.
class LinearProbe : public FontProbe {
 public:
  explicit LinearProbe(int32_t perPixel) : perPixel(perPixel) {}
  int32_t WidestWidth(int32_t height) override {
    heights.push_back(height);
    return perPixel * (height < 0 ? -height : height);
  }
  int32_t perPixel;
  std::vector<int32_t> heights;
};

TEST(FitFont, ShrinksWideLyricsUntilTheyFit) {
  LinearProbe probe(10);
  const FittedFont fitted = FitFont(-25, 250, 200, true, probe);
  EXPECT_EQ(fitted.logicalHeight, -20);
  EXPECT_EQ(fitted.widestWidth, 200);
  EXPECT_EQ(probe.heights.size(), 1u);
}

TEST(FitFont, OnlyShrinkLeavesNarrowLyricsAloneOtherwiseTheyGrow) {
  LinearProbe probe(4);
  EXPECT_EQ(FitFont(-25, 100, 200, true, probe).logicalHeight, -25);
  EXPECT_TRUE(probe.heights.empty());
  EXPECT_EQ(FitFont(-25, 100, 200, false, probe).logicalHeight, -50);
  EXPECT_EQ(FitFont(-25, 0, 200, false, probe).logicalHeight, -25);  // no lines: nothing to fit
}

// Rounding that keeps measuring wider than the room: stops after ten rounds.
class StubbornProbe : public FontProbe {
 public:
  int32_t WidestWidth(int32_t height) override {
    ++calls;
    return 300 + height % 2;
  }
  int calls = 0;
};

TEST(FitFont, GivesUpAfterTenRounds) {
  StubbornProbe probe;
  FitFont(1000, 400, 200, true, probe);
  EXPECT_LE(probe.calls, kMaxFitRounds);
}

TEST(FitFont, ViewNarrowerThanItsMarginsKeepsOnePixel) {
  LinearProbe probe(10);
  EXPECT_EQ(FitFont(-25, 250, -8, true, probe).logicalHeight, -1);
  EXPECT_EQ(FitFont(25, 250, -8, true, probe).logicalHeight, 1);
  EXPECT_EQ(FitFont(-25, 250, 0, false, probe).logicalHeight, -1);
  for (int32_t height : probe.heights) EXPECT_NE(height, 0);
}

}  // namespace
