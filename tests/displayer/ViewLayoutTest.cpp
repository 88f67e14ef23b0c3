#include "displayer/core/ViewLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A pitch of 20 in a client 100 high: centre 40, k = 2.
ScrollPosition Target(int32_t line, int32_t count) { return ScrollTarget(line, 20, 0, 100, count); }

TEST(ScrollTarget, KeepsTheLineAtTheCentreBetweenTheEnds) {
  // At the top while the line is above the centre; one past k the first line is
  // pulled back to 0 and pushed down instead; near the end it stops and the band walks down.
  for (int32_t line : {-1, 0, 2}) EXPECT_EQ(Target(line, 20), (ScrollPosition{0, 0})) << line;
  EXPECT_EQ(Target(3, 20), (ScrollPosition{0, -20}));
  for (int32_t line = 3; line < 17; ++line) EXPECT_EQ(LineTop(Target(line, 20), line, 20), 40) << line;
  for (int32_t line : {17, 19}) EXPECT_EQ(Target(line, 20), (ScrollPosition{14, -20})) << line;
  EXPECT_GT(LineTop(Target(19, 20), 19, 20), 40);
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
  // Everything fits and the lines start lower down: a click above them is no line.
  EXPECT_EQ((std::vector<int32_t>{LineAtRow(scroll, 0, 20), LineAtRow(scroll, 39, 20), LineAtRow(scroll, 40, 20),
                                  LineAtRow(ScrollPosition{0, 7}, 3, 20), LineAtRow(scroll, 10, 0)}),
            (std::vector<int32_t>{15, 16, 17, -1, -1}));
}

// "dy, upper band, lower band, strips" of a move from line `from` to line `to` of 20.
std::string Plan(int32_t from, int32_t to) {
  const BandScroll plan = PlanBandScroll(Target(from, 20), from, Target(to, 20), to, 20, RowSpan{0, 100});
  std::string out = std::to_string(plan.dy) + ", " + std::to_string(plan.upperBand.top) + ".." +
                    std::to_string(plan.upperBand.bottom) + ", " + std::to_string(plan.lowerBand.top) + ".." +
                    std::to_string(plan.lowerBand.bottom) + ",";
  for (int i = 0; i < plan.stripCount; ++i)
    out += " " + std::to_string(plan.strips[i].top) + ".." + std::to_string(plan.strips[i].bottom);
  return out;
}

TEST(BandScroll, MovesEverythingButTheTwoBands) {
  // Line 9 to 10: the text moves up one pitch; the old band lands right above the
  // new one, which stays at the centre, and no gap is left between them.
  EXPECT_EQ(Plan(9, 10), "-20, 20..40, 40..60, 0..20 60..100");
  // When the text stands still only the band moves.
  EXPECT_EQ(Plan(1, 2), "0, 20..40, 40..60, 0..20 60..100");
  // A jump leaves a gap between the bands, scrolled on its own.
  EXPECT_EQ(Plan(0, 3), "-20, -20..0, 40..60, 0..40 60..100");
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
  const LineAlignment centred{true, true, 4}, block{false, true, 4}, left{false, false, 4};
  const struct {
    LineAlignment alignment;
    int32_t width, lineWidth, widest, x;
  } cases[] = {
      {centred, 200, 100, 150, 50}, {centred, 200, 260, 260, -30},  // wider than the view: left of 0
      {block, 200, 100, 150, 29},   {block, 200, 100, 200, 4},     {block, 200, 100, 250, 4},
      {LineAlignment{false, true, INT32_MAX}, 200, 100, 150, INT32_MAX}, {left, 200, 100, 150, 4},
  };
  for (const auto& c : cases) EXPECT_EQ(LineX(c.alignment, c.width, c.lineWidth, c.widest), c.x) << c.x;
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

TEST(FitFont, ScalesToTheRoomUnlessOnlyShrinkingAndKeepsOnePixel) {
  LinearProbe wide(10), narrow(4);
  const FittedFont fitted = FitFont(-25, 250, 200, true, wide);
  EXPECT_EQ((std::vector<int32_t>{fitted.logicalHeight, fitted.widestWidth, int32_t(wide.heights.size())}),
            (std::vector<int32_t>{-20, 200, 1}));
  EXPECT_EQ(FitFont(-25, 100, 200, true, narrow).logicalHeight, -25);
  EXPECT_TRUE(narrow.heights.empty());  // it fits already: nothing measured
  EXPECT_EQ(FitFont(-25, 100, 200, false, narrow).logicalHeight, -50);
  EXPECT_EQ(FitFont(-25, 0, 200, false, narrow).logicalHeight, -25);  // no lines: nothing to fit
  // A view narrower than its margins: one pixel, and nothing measured at height 0.
  EXPECT_EQ(FitFont(-25, 250, -8, true, wide).logicalHeight, -1);
  EXPECT_EQ(FitFont(25, 250, -8, true, wide).logicalHeight, 1);
  EXPECT_EQ(FitFont(-25, 250, 0, false, wide).logicalHeight, -1);
  for (int32_t height : wide.heights) EXPECT_NE(height, 0);
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

}  // namespace
