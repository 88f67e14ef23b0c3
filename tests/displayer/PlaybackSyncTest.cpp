#include "displayer/core/PlaybackSync.h"

#include <gtest/gtest.h>

#include "TestText.h"

namespace {

// Every character 10 pixels wide; counts the measurements.
class TenPixelWidths : public LineWidths {
 public:
  int32_t PrefixWidth(const WString& text, int32_t characters) override {
    ++measured;
    return 10 * std::min<int32_t>(characters, static_cast<int32_t>(text.Length()));
  }
  int measured = 0;
};

LyricsTimeline Parsed(const char* utf8) {
  LyricsTimeline timeline;
  timeline.ParseText(W(utf8));
  return timeline;
}

TEST(DisplayerPlayingTime, MinusOneOnlyWhenNotPlaying) {
  EXPECT_EQ(CorrectedPlayingTime(-1, 5000), -1);
  EXPECT_EQ(CorrectedPlayingTime(1000, -1001), 0);
  EXPECT_EQ(CorrectedPlayingTime(1000, -1500), -500);
  EXPECT_EQ(CorrectedPlayingTime(INT32_MAX, 10), INT32_MAX);
}

TEST(DisplayerLineForTime, MovesOnASecondEarlyOnlyFromBlankLinesAndBeforeTheFirst) {
  const char* const blank = "[00:05:00]first\n[00:08:00]\n[00:10:00]third\n";
  const char* const text = "[00:05:00]first\n[00:10:00]second\n";
  const char* const early = "[00:00:50]first\n[00:10:00]second\n";
  const struct {
    const char* lyrics;
    int32_t t;
    bool moveBeforehand;
    int expected;
  } cases[] = {
      {blank, 9000, true, 1},  {blank, 9001, true, 2},  {blank, 9001, false, 1},
      {text, 9500, true, 0},   {text, 10000, true, 1},  // a line with text stays to its stamp
      {early, -1, true, 0},    {early, -1, false, -1},  // stopped: an imminent first line
      {"[00:05:00]first\n", -1, true, -1}, {"", 1000, true, -1},
      {"[00:01:00]only", 60000, true, 1},  // past the end: the count, never further
  };
  for (const auto& c : cases) {
    LyricsTimeline timeline = Parsed(c.lyrics);
    if (!*c.lyrics) timeline = LyricsTimeline();
    EXPECT_EQ(LineForTime(timeline, c.t, c.moveBeforehand), c.expected) << c.lyrics << " at " << c.t;
  }
}

TEST(WipeOffset, InterpolatesBetweenTheTwoStampsWithoutDividingByNothing) {
  const struct {
    int32_t fromTime, fromX, toTime, toX, t, x;
  } cases[] = {
      {1000, 20, 2000, 60, 1000, 20}, {1000, 20, 2000, 60, 1500, 40},
      {1000, 20, 2000, 60, 1999, 59},  // truncated, never past the next tag
      {0, 0, 3, 10, 1, 3},
      // Equal or reversed times (overlapping karaoke lines) take the next width.
      {1000, 20, 1000, 60, 1000, 60}, {2000, 60, 1500, 30, 1800, 30}, {0, -5, 10, -1, 5, 0},
      {INT32_MIN, 0, INT32_MAX, 100, 0, 50},  // a span wider than 32 bits
  };
  for (const auto& c : cases) EXPECT_EQ(WipeOffset(c.fromTime, c.fromX, c.toTime, c.toX, c.t), c.x) << c.t;
  const std::vector<int32_t> extents{7, 15, 22};  // positions are clamped to the extents
  EXPECT_EQ((std::vector<int32_t>{PrefixWidthFromExtents(extents, 0), PrefixWidthFromExtents(extents, 2),
                                  PrefixWidthFromExtents(extents, 9), PrefixWidthFromExtents(extents, -3),
                                  PrefixWidthFromExtents({}, 2)}),
            (std::vector<int32_t>{0, 15, 22, 0, 0}));
}

TEST(KaraokeWipeTest, PaintsForwardSungAndBackwardUnsungAndNothingOutsideTheLines) {
  LyricsTimeline timeline = Parsed("[00:01:00]ab[00:02:00]cd[00:03:00]\n");
  TenPixelWidths widths;
  KaraokeWipe wipe;
  EXPECT_EQ(wipe.Offset(timeline, 0, 1500, widths), 10);
  wipe.SetSplitX(100 + 10);

  auto strip = [](const WipeStrip& s) {
    return (s.sung ? "sung " : "unsung ") + std::to_string(s.from) + ".." + std::to_string(s.to);
  };
  EXPECT_EQ(strip(wipe.Advance(timeline, 0, 2500, 100, widths)), "sung 110..130");
  EXPECT_TRUE(wipe.Advance(timeline, 0, 2500, 100, widths).IsEmpty());
  EXPECT_EQ(strip(wipe.Advance(timeline, 0, 1000, 100, widths)), "unsung 100..130");

  // A line x from a margin of any size: the split stops at the largest x.
  EXPECT_EQ(wipe.Advance(timeline, 0, 3000, INT32_MAX - 5, widths).to, INT32_MAX);
  // Nothing to wipe outside the lines.
  EXPECT_EQ(wipe.Offset(timeline, -1, 1500, widths) + wipe.Offset(timeline, timeline.DisplayLineCount(), 1500, widths), -2);
  EXPECT_TRUE(wipe.Advance(timeline, 1, 1500, 0, widths).IsEmpty());
}

TEST(KaraokeWipeTest, MeasuresOnlyWhenTheSurroundingTagsChange) {
  LyricsTimeline timeline = Parsed("[00:01:00]ab[00:02:00]cd[00:03:00]\n");
  TenPixelWidths widths;
  KaraokeWipe wipe;
  for (int32_t t = 1000; t < 2000; t += 20) wipe.Offset(timeline, 0, t, widths);
  EXPECT_EQ(widths.measured, 2);
  wipe.Offset(timeline, 0, 2000, widths);
  EXPECT_EQ(widths.measured, 4);
}

TEST(KaraokeWipeTest, OverlappingKaraokeLinesStayInsideTheLine) {
  // The second line starts before the first one's last syllable.
  LyricsTimeline timeline = Parsed("[00:10:00]ab[00:12:00]cd[00:13:00]\n[00:11:00]ef[00:14:00]\n");
  TenPixelWidths widths;
  KaraokeWipe wipe;
  for (int32_t t = 9000; t <= 15000; t += 50) {
    const int32_t offset = wipe.Offset(timeline, 0, t, widths);
    EXPECT_GE(offset, 0) << t;
    EXPECT_LE(offset, 40) << t;
  }
}

}  // namespace
