// The karaoke view's arithmetic: rows around the centred caret, hit tests, paging,
// scrolling and the wipe at extreme settings, and the lazily measured offsets.
#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "TestText.h"
#include "editor/core/KaraokeOffsets.h"
#include "editor/core/KaraokeViewLayout.h"
#include "lyrics/LyricsTimeline.h"

namespace {

TEST(KaraokeViewLayout, RowsHitTestsPagingScrollAndWipe) {
  const KaraokeMetrics m = KaraokeMetrics::FromTextHeight(26);  // s = m = 14, pitch 40
  EXPECT_EQ((std::array<int32_t, 3>{m.spacing, m.margin, m.pitch}), (std::array<int32_t, 3>{14, 14, 40}));
  // {client height, caret line, caret row top, top line, first row top}
  const struct { int32_t height, caret, caretTop, top, firstTop; } layouts[] = {
      {400, 0, 180, 0, 180}, {400, 3, 180, 0, 60}, {400, 10, 180, 5, -20}, {0, 2, -20, 1, -60}};
  for (const auto& c : layouts) {
    const KaraokeLayout l = KaraokeLayout::For(c.height, m, c.caret);
    EXPECT_EQ((std::array<int32_t, 4>{l.caretRowTop, l.topLine, l.firstRowTop, l.RowTop(c.caret, m)}),
              (std::array<int32_t, 4>{c.caretTop, c.top, c.firstTop, c.caretTop})) << c.height << " " << c.caret;
  }
  const KaraokeLayout l = KaraokeLayout::For(400, m, 3);  // rows of lines 0.. at 60, 100, ...
  for (auto [y, line] : {std::pair{60, 0}, {99, 0}, {100, 1}, {59, -1}, {0, -2}}) EXPECT_EQ(l.LineAt(y, m), line) << y;
  // The caret line's text: h rows from 180 + 7.
  for (auto [y, in] : {std::pair{186, false}, {187, true}, {212, true}, {213, false}})
    EXPECT_EQ(l.InCaretText(y, m), in) << y;
  EXPECT_EQ(PageStep(400, m), 5);
  EXPECT_EQ(ClampCaretLine(-1, 0), 0);  // no lines: the empty range holds line 0
  EXPECT_EQ(ClampCaretLine(int64_t(INT32_MAX) + 5, 10), 9);
  EXPECT_EQ(CaretScrollDelta(5, 3, m), 80);
  // An extreme FontSize: nothing wraps round.
  const KaraokeMetrics huge = KaraokeMetrics::FromTextHeight(INT32_MAX);
  EXPECT_EQ(CaretScrollDelta(INT32_MAX, 0, huge), INT32_MAX);
  EXPECT_EQ(KaraokeLayout::For(400, huge, INT32_MAX).RowTop(0, huge), INT32_MIN);

  // The wipe, margin 10: {x0, x1, t0, t1, t, x}.
  const struct { int32_t x0, x1, t0, t1, t, x; } wipes[] = {
      {0, 100, 1000, 3000, 2000, 60}, {0, 100, 1000, 1000, 5000, 110}, {0, 100, 1000, 3000, 9000, 110},
      {0, 100, 1000, 3000, 0, 10},    {50, 4000000, 0, INT32_MAX, INT32_MAX - 1, 4000009}};  // no overflow
  for (const auto& c : wipes) EXPECT_EQ(WipeX(10, c.x0, c.x1, c.t0, c.t1, c.t), c.x) << c.t;
}

// Seven pixels a character, counted.
struct CountingWidths : TextWidthSource {
  int32_t PrefixWidth(const WString&, int32_t characters) override { return ++calls, characters * 7; }
  int calls = 0;
};

TEST(KaraokeOffsets, OneBoundaryPerTickAWholeRowOnDemand) {
  LyricsTimeline timeline;
  timeline.ParseText(W("ab\n\nxyz"));
  KaraokeOffsets offsets;
  CountingWidths widths;
  offsets.Reset(timeline);
  EXPECT_TRUE(offsets.MeasureNext(timeline, widths));
  EXPECT_EQ(offsets.Table(0), (std::vector<int32_t>{0, 7, -1}));
  // Painting line 2 measures it whole; the background then finds only line 0's last.
  offsets.MeasureLine(timeline, 2, widths);
  EXPECT_EQ(offsets.Table(2), (std::vector<int32_t>{0, 7, 14, 21}));
  EXPECT_TRUE(offsets.MeasureNext(timeline, widths));
  EXPECT_FALSE(offsets.MeasureNext(timeline, widths));
  EXPECT_EQ(widths.calls, 5);
  // Indexes outside the tables answer 0 and measure nothing; a reload drops everything.
  for (auto [line, column] : {std::pair{-1, 0}, {3, 0}, {0, 3}, {0, -1}}) EXPECT_EQ(offsets.Offset(timeline, line, column, widths), 0);
  EXPECT_EQ(widths.calls, 5);
  timeline.ParseText(W("abcd"));
  offsets.Reset(timeline);
  EXPECT_EQ(offsets.Offset(timeline, 0, 4, widths), 28);
  EXPECT_TRUE(offsets.Table(1).empty());
}

}  // namespace
