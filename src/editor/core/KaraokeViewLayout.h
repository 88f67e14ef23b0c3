#pragma once
// Where the karaoke edit view puts its rows: the caret line always sits at the
// vertical centre and the text moves around it by whole rows. Also the metrics made
// from the font's text height, the hit tests of clicks, the page step, the scroll of a
// caret move and the x of the playing line's wipe. Settings such as the font size may
// be anything, so every product is worked out in 64 bits and clamped to 32.

#include <cstdint>

// Made from the height of "A" in the view's font.
struct KaraokeMetrics {
  int32_t textHeight = 0;  // h
  int32_t spacing = 0;     // s: between text rows; half of it above the text
  int32_t margin = 0;      // m: the text's left edge
  int32_t pitch = 1;       // s + h, never below 1

  static KaraokeMetrics FromTextHeight(int32_t textHeight);
  // The y of a row's text below the row's top.
  int32_t TextOffset() const { return spacing / 2; }
};

// Clamps a 64-bit intermediate into the 32-bit coordinate space.
int32_t ClampToInt32(int64_t value);

struct KaraokeLayout {
  int32_t caretRowTop = 0;  // the y of the caret line's row
  int32_t topLine = 0;      // the first line drawn
  int32_t firstRowTop = 0;  // the y of the top line's row

  // The layout for a client area clientHeight high with the caret on caretLine.
  static KaraokeLayout For(int32_t clientHeight, const KaraokeMetrics& metrics, int32_t caretLine);

  // The y of line's row (clamped to 32 bits).
  int32_t RowTop(int32_t line, const KaraokeMetrics& metrics) const;
  // The line whose row holds y, counted from the top line without regard to the line
  // count: the caller checks it. Rows above the first row give lines before topLine.
  int32_t LineAt(int32_t y, const KaraokeMetrics& metrics) const;
  // Whether y lies on the caret line's text (where a click stamps).
  bool InCaretText(int32_t y, const KaraokeMetrics& metrics) const;
};

// Page Up and Page Down move the caret by half a window of rows.
int32_t PageStep(int32_t clientHeight, const KaraokeMetrics& metrics);
// A caret line moved by delta lines, clamped to 0 .. lineCount - 1 (0 with no lines).
int32_t ClampCaretLine(int64_t line, int32_t lineCount);
// How far the pixels move when the caret goes from one line to another.
int32_t CaretScrollDelta(int32_t fromLine, int32_t toLine, const KaraokeMetrics& metrics);

// The x of the boundary between the sung and the unsung part of the playing line: from
// the tag before the time (at x0, t0) to the tag after it (x1, t1), linear in time and
// kept between the two; at x1 when the two times are equal. x0 and x1 are widths of
// the line's text, margin added here.
int32_t WipeX(int32_t margin, int32_t x0, int32_t x1, int32_t t0, int32_t t1, int32_t t);

// The strip a tick repaints when the wipe moves from lastX to newX: [left, right), in
// the sung colour when the song went on, in the unsung colour after a seek back.
struct WipeStrip {
  int32_t left = 0;
  int32_t right = 0;
  bool sung = false;
  bool IsEmpty() const { return left >= right; }
};
WipeStrip WipeStripBetween(int32_t lastX, int32_t newX);
