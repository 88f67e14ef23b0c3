// The karaoke screen's geometry, its lines, the two rows over time and the wipe.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "TestText.h"
#include "karaoke/core/DisplayModeChoice.h"
#include "karaoke/core/KaraokeLayout.h"
#include "karaoke/core/KaraokeLyrics.h"
#include "karaoke/core/KaraokeWipe.h"
#include "karaoke/core/RowSchedule.h"
#include "karaoke/core/SurfaceColours.h"
#include "settings/KaraokeSettings.h"
#include "settings/MemoryIniFile.h"

namespace {

TEST(KaraokeLayout, DefaultsOnAScreen1280Wide) {
  MemoryIniFile ini;
  KaraokeSettings settings(ini);
  const KaraokeLayout layout = ComputeKaraokeLayout(settings, 1280, 1024);
  // Lyrics: 85 px, edge 5 % = 4, box 93, band |(60 × -85 × 2 ÷ 100)| = 102.
  const OutlinedFont& lyrics = layout.lyrics;
  EXPECT_EQ(std::make_tuple(lyrics.height, lyrics.edge, lyrics.lineBox, lyrics.band, lyrics.BoxTopInBand()),
            std::make_tuple(-85, 4, 93, 102, 51 - 46));
  // Song information: 64 px, edge 3, box 70, band 76 (76.8 truncated), strip 152.
  EXPECT_EQ(std::make_tuple(layout.info.edge, layout.info.lineBox, layout.infoStrip.bottom, layout.InfoTextTop(1)),
            std::make_tuple(3, 70, 152, 114 - 35));
  EXPECT_EQ(std::make_tuple(layout.margin, layout.rows[0], layout.rows[1]),
            std::make_tuple(32, KRect{0, 1024 - 128 - 102, 1280, 1024 - 128}, KRect{0, 1024 - 128 - 204, 1280, 1024 - 128 - 102}));
  // Row 0 centred at 844 (66 %), row 1 at 422 (33 %), both kept inside the margins.
  EXPECT_EQ(std::make_tuple(layout.RowX(0, 400), layout.RowX(1, 400), layout.RowX(0, 1200), layout.RowX(1, 1300)),
            std::make_tuple(644, 222, 1248 - 1200, 32));
  // Half the width: 85 × 640 ÷ 1280 = 42 (toward zero), band 102 ÷ 2.
  const KaraokeLayout half = ComputeKaraokeLayout(settings, 640, 480);
  EXPECT_EQ(std::make_tuple(half.lyrics.height, half.lyrics.edge, half.lyrics.band), std::make_tuple(-42, 2, 51));
}

TEST(KaraokeLayout, AnyIniValueGivesSurfacesThatFitTheScreen) {
  MemoryIniFile ini;
  KaraokeSettings settings(ini);
  settings.lyricsHeight = 0;  // would give rows of no height: the screen would never open
  KaraokeLayout layout = ComputeKaraokeLayout(settings, 1280, 1024);
  EXPECT_EQ(std::make_pair(layout.lyrics.height, layout.lyrics.band),
            std::make_pair(-kMinFontPixels, kMinFontPixels + 4));
  for (int32_t extreme : {INT32_MIN, INT32_MAX}) {
    settings.lyricsHeight = settings.musicInfoHeight = settings.margin = settings.lyricsBottom = extreme;
    settings.edge = settings.edgeMin = extreme;
    layout = ComputeKaraokeLayout(settings, 1920, 1080);
    EXPECT_TRUE(layout.lyrics.band <= 540 && layout.rows[1].top >= 0 && layout.infoStrip.bottom <= 1080 &&
                layout.margin >= 0 && layout.margin <= 960) << extreme;
  }
}

struct TenPixels : TextMeasure {  // every character 10 pixels wide
  int32_t PrefixWidth(const WString& text, int32_t n) override { return 10 * std::min<int32_t>(n, int32_t(text.Length())); }
};

TEST(KaraokeLyrics, LongLinesAreCutUntilTheyFitAndUntimedLyricsGo) {
  MemoryIniFile ini;
  const KaraokeLayout layout = ComputeKaraokeLayout(KaraokeSettings(ini), 320, 240);  // 304 px between margins, edge 2
  TenPixels measure;
  LyricsTimeline timeline;
  // 34 characters and their edges need 344 px and are cut near the middle (where the
  // digits start, as Japanese text is cut, whatever the case of the language's name);
  // 30 need exactly the 304 px and stay whole.
  const std::string text = "[00:01:00]abcdefghijklmno1234567890abcdefghi\n[00:09:00]" + std::string(30, 'x');
  for (const char* language : {"JPN", "ENU"}) {
    const bool japanese = language[0] == 'J';
    timeline.ParseText(W(text.c_str()));
    EXPECT_TRUE(PrepareKaraokeLyrics(timeline, layout, measure, W(language)));
    ASSERT_EQ(timeline.DisplayLineCount(), 3);
    // Sung at once from 1 s to 9 s, the line is cut in time in proportion.
    EXPECT_EQ(std::make_tuple(timeline.DisplayLineText(0), timeline.DisplayLineTime(1),
                              timeline.DisplayLineText(2).Length()),
              std::make_tuple(W(japanese ? "abcdefghijklmno" : "abcdefghijklmno12"), japanese ? 4529 : 5000, size_t(30)))
        << language;
  }
  timeline.ParseText(W("no stamps\nat all\n"));
  EXPECT_FALSE(PrepareKaraokeLyrics(timeline, layout, measure, W("JPN")));
  EXPECT_EQ(timeline.DisplayLineCount(), 0);
}


// The screen's two rows over a scripted clock, updated as the frame step does: the
// schedule's time first, then row 1 before row 0, with force after a seek back.
constexpr const char* kSong = "[00:10:00]one\n[00:20:00]two\n[00:21:00]three\n[00:40:00]four\n";

struct Rows {
  Rows() { timeline.ParseText(W(kSong)), timeline.MakeKaraoke(); }  // lines end where the next begins
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

TEST(KaraokeRows, AlternateAppearTogetherClearAndRefillAfterASeekBack) {
  Rows rows;
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
  Rows rows;
  rows.schedule.SetTime(9000);
  for (RowRender step : {RowRender::UnsungBand, RowRender::SungBand, RowRender::Copy, RowRender::None}) {
    EXPECT_EQ(rows.row1.IsReadyToDraw(), step == RowRender::None);
    EXPECT_EQ(rows.row1.Update(rows.timeline, rows.schedule, false), step);
  }
  EXPECT_EQ(rows.row0.Update(rows.timeline, rows.schedule, true), RowRender::Empty);  // forced, no line due
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

// A line wider than the screen must not give a blit that reaches outside a surface.
TEST(KaraokeWipe, BlitsAreCutToBothSurfaces) {
  const struct { Blit blit; KRect source; int32_t x, y; } kCases[] = {
      {{{0, 0, 100, 50}, 10, 20}, {0, 0, 100, 50}, 10, 20},       // inside: unchanged
      {{{0, 0, 100, 50}, 600, 0}, {0, 0, 40, 50}, 600, 0},       // past the target's right edge
      {{{0, 0, 100, 50}, -30, -10}, {30, 10, 100, 50}, 0, 0},     // before its top-left corner
      {{{-20, 0, 700, 50}, 0, 0}, {0, 0, 320, 50}, 20, 0},        // wider than the source
  };
  for (const auto& c : kCases) {
    const Blit cut = ClipBlit(c.blit, 320, 100, 640, 480);
    EXPECT_EQ(std::make_tuple(cut.source, cut.x, cut.y), std::make_tuple(c.source, c.x, c.y)) << c.blit.x;
  }
  EXPECT_TRUE(ClipBlit({{0, 0, 100, 50}, 640, 0}, 320, 100, 640, 480).IsEmpty());
}

TEST(DisplayModeChoice, TheWantedModeThenTheSmallFallbackThenNothing) {
  const DisplayMode desktop8{1280, 1024, 8};
  const struct {
    int32_t width, height, bits;
    std::vector<DisplayMode> accepted;
    std::vector<DisplayMode> tried;
    bool chosen;
  } kCases[] = {
      {0, 0, 0, {{1280, 1024, 16}}, {{1280, 1024, 16}}, true},  // the desktop's size at 16 bits
      {800, 600, 24, {{640, 480, 16}}, {{800, 600, 24}, {640, 480, 16}}, true},
      {640, 480, 32, {}, {{640, 480, 32}, {640, 480, 16}}, false},
      {640, 480, 16, {}, {{640, 480, 16}}, false},  // the fallback is not asked twice
      {-5, 480, 16, {{640, 480, 16}}, {{640, 480, 16}}, true},  // no size: straight to the fallback
  };
  for (const auto& c : kCases) {
    std::vector<DisplayMode> tried;
    auto setMode = [&](const DisplayMode& mode) {
      tried.push_back(mode);
      return std::find(c.accepted.begin(), c.accepted.end(), mode) != c.accepted.end();
    };
    DisplayMode chosen;
    EXPECT_EQ(ChooseDisplayMode(c.width, c.height, c.bits, desktop8, setMode, chosen), c.chosen) << c.width;
    EXPECT_TRUE(tried == c.tried) << c.width;
    EXPECT_TRUE(!c.chosen || chosen == c.tried.back()) << c.width;
  }
}

// RGB565 as GDI makes it: the top bits of each channel.
uint32_t Rgb565(uint32_t c) { return (c & 0xF8) << 8 | (c >> 8 & 0xFC) << 3 | (c >> 19 & 0x1F); }

TEST(SurfaceColours, EdgeAndFillMoveOffColoursThatShareAPixel) {
  // 0xFCFCFC is white at 16 bits; the fill near black must miss black and white.
  OutlineColours pair = PairColours(0xFFFFFF, 0xFCFCFC, 0xFFFF, Rgb565);
  OutlineColours other = PairColours(0x000000, 0x0000FF, 0xFFFF, Rgb565);
  ChooseFill(0x000000, {&pair, &other}, Rgb565);
  EXPECT_EQ(pair.text, 0xFFFFu);
  EXPECT_NE(pair.edge, pair.text);
  for (uint32_t used : {pair.text, pair.edge, other.text, other.edge}) EXPECT_NE(pair.fill, used);
  EXPECT_EQ(other.fill, pair.fill);
}

}  // namespace
