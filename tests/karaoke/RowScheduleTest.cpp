#include "karaoke/core/RowSchedule.h"

#include <gtest/gtest.h>

#include <tuple>

#include "TestText.h"
#include "karaoke/core/KaraokeWipe.h"
#include "settings/KaraokeSettings.h"
#include "settings/MemoryIniFile.h"

namespace {

// The screen's two rows over a scripted clock, updated as the frame step does: the
// schedule's time first, then row 1 before row 0, with force after a seek back.
struct Rows {
  explicit Rows(const char* lyrics) {
    timeline.ParseText(W(lyrics));
    timeline.MakeKaraoke();  // lines end where the next begins
  }
  // Frames every 50 ms up to t (one frame at t when it lies behind the clock).
  void RunTo(int32_t t) {
    int32_t from = schedule.Time() < 0 || t < schedule.Time() ? t : schedule.Time() + 50;
    for (int32_t now = std::min(from, t); now <= t; now += 50) {
      const bool back = schedule.SetTime(now);
      row1.Update(timeline, schedule, back);
      row0.Update(timeline, schedule, back);
    }
  }
  static int Shown(const KaraokeRow& r) { return r.GetState() == KaraokeRow::State::Showing ? r.Line() : -1; }
  LyricsTimeline timeline;
  RowSchedule schedule;
  KaraokeRow row0, row1;
};

constexpr const char* kSong = "[00:10:00]one\n[00:20:00]two\n[00:21:00]three\n[00:40:00]four\n";

TEST(KaraokeRows, AlternateAppearTogetherClearAndRefillAfterASeekBack) {
  Rows rows(kSong);
  const struct { int32_t t; int row1, row0; } kScript[] = {
      {7950, -1, -1}, {8000, 0, -1},   // two seconds early, on row 1 first
      {18000, 0, 1},  {20050, 0, 1},   // the next line on the other row
      {20100, -1, 1},                  // sung 100 ms ago and the next line is near: cleared
      {20300, 2, 1},  {21450, 2, 1},   // lines 1 and 2, a second apart, on screen together
      {21500, 2, -1},                  // sung 500 ms ago: cleared
      {38000, 2, 3},  {40500, -1, 3},
      {15000, 0, -1}, {18000, 0, 1},   // back before line 0 ended: both rows refill from it
  };
  for (const auto& step : kScript) {
    rows.RunTo(step.t);
    EXPECT_EQ(std::make_pair(Rows::Shown(rows.row1), Rows::Shown(rows.row0)), std::make_pair(step.row1, step.row0))
        << step.t;
  }
}

TEST(KaraokeRows, ANewLineIsDrawnOverThreeFramesBeforeItIsWiped) {
  Rows rows(kSong);
  rows.schedule.SetTime(9000);
  for (RowRender step : {RowRender::UnsungBand, RowRender::SungBand, RowRender::Copy}) {
    EXPECT_FALSE(rows.row1.IsReadyToDraw());
    EXPECT_EQ(rows.row1.Update(rows.timeline, rows.schedule, false), step);
  }
  EXPECT_TRUE(rows.row1.IsReadyToDraw());
  EXPECT_EQ(rows.row1.Update(rows.timeline, rows.schedule, false), RowRender::None);
  EXPECT_EQ(rows.row0.Update(rows.timeline, rows.schedule, true), RowRender::Empty);  // forced, no line due
}

TEST(KaraokeRows, UntimedLyricsGiveNoRows) {
  Rows rows("one\ntwo\nthree\n");
  for (int32_t t : {0, 5000, 60000}) {
    rows.RunTo(t);
    EXPECT_EQ(rows.row1.Line() + rows.row0.Line(), -2) << t;
  }
}

TEST(KaraokeWipe, SplitBetweenTheStampsAroundTheTime) {
  const struct { int32_t t1, w1, t2, w2, t, split; } kCases[] = {
      {1000, 0, 2000, 100, 1500, 50},    {1000, 20, 2000, 100, 500, 20},   // before the previous stamp
      {1000, 20, 2000, 100, 2500, 100},  {1000, 20, 1000, 100, 1000, 100}, // after the next; equal times
      {2000, 20, 1000, 100, 1500, 100},  {0, 0, INT32_MAX, 2000000, INT32_MAX / 2, 999999},  // overlap; no overflow
  };
  for (const auto& c : kCases) EXPECT_EQ(WipeWidth(c.t1, c.w1, c.t2, c.w2, c.t), c.split) << c.t;
}

TEST(KaraokeWipe, SungBandUpToTheSplitUnsungBandAfterIt) {
  MemoryIniFile ini;
  // Band 102, edge 4, row 0 at 794.
  const KaraokeLayout layout = ComputeKaraokeLayout(KaraokeSettings(ini), 1280, 1024);
  // A box of 508 at x 100: the text starts at 104, its first 250 px are sung.
  const WipeBlits half = ComposeWipe(layout, 0, 100, 508, 250);
  EXPECT_EQ(std::make_tuple(half.sung.source, half.sung.x, half.sung.y),
            std::make_tuple(KRect{100, 102, 354, 204}, 100, 794));
  EXPECT_EQ(std::make_tuple(half.unsung.source, half.unsung.x), std::make_tuple(KRect{354, 0, 608, 102}, 354));
  // All 500 px of text sung: the right outline is sung too.
  const WipeBlits whole = ComposeWipe(layout, 1, 100, 508, 500);
  EXPECT_EQ(std::make_tuple(whole.sung.source, whole.sung.y), std::make_tuple(KRect{100, 102, 608, 204}, 692));
  EXPECT_TRUE(whole.unsung.IsEmpty());
}

}  // namespace
