#pragma once
// Where the lyrics view puts its lines: which line sits at the top and at what y so
// that the current line stays near the middle, where each line starts, and how far
// the font is scaled so the widest line fits the view.

#include <cstdint>

// The line drawn at the top of the view and the y at which its band begins (may be
// negative).
struct ScrollPosition {
  int32_t firstLine = 0;
  int32_t topOffset = 0;
  bool operator==(const ScrollPosition& other) const {
    return firstLine == other.firstLine && topOffset == other.topOffset;
  }
};

// Keeps line `line` at the centre of a client area of the given top and height, while
// the text can still move: at the top everything stays put and the band walks down;
// in the last lines the text stops and the band walks down below the centre.
ScrollPosition ScrollTarget(int32_t line, int32_t pitch, int32_t clientTop, int32_t clientHeight, int32_t lineCount);

// The band of line `index` under a scroll position, and the y of its text (half the
// line spacing below the band's top). Both stay inside 32 bits whatever the settings.
int32_t LineTop(const ScrollPosition& scroll, int32_t index, int32_t pitch);
int32_t LineTextTop(const ScrollPosition& scroll, int32_t index, int32_t pitch, int32_t spaceBetLines);

// The line whose band holds row y; a row above the first band gives -1 (no line).
int32_t LineAtRow(const ScrollPosition& scroll, int32_t y, int32_t pitch);

// How far the pixels move when the view goes from one scroll position to another.
int32_t ScrollDelta(const ScrollPosition& from, const ScrollPosition& to, int32_t pitch);

// Rows [top, bottom) of the client area.
struct RowSpan {
  int32_t top = 0;
  int32_t bottom = 0;
  bool IsEmpty() const { return top >= bottom; }
};

// The rows [top, top + height), cut off at the largest y.
RowSpan RowsFrom(int32_t top, int32_t height);

// A change of current line in timed lyrics: everything but the old and the new band
// moves by dy (strip by strip, so the bands are never smeared), then the two bands
// are painted afresh.
struct BandScroll {
  int32_t dy = 0;
  RowSpan upperBand, lowerBand;
  RowSpan strips[3];
  int stripCount = 0;
};

BandScroll PlanBandScroll(const ScrollPosition& from, int32_t oldLine, const ScrollPosition& to, int32_t newLine,
                          int32_t pitch, RowSpan client);

// The frame width that fits the widest line exactly, never below the least width.
int32_t FitWindowWidth(int32_t frameWidth, int32_t widestWidth, int32_t margin, int32_t viewClientWidth);

struct LineAlignment {
  bool centering = false;      // every line centred on its own
  bool leftCentering = false;  // the block centred, lines left-aligned
  int32_t margin = 0;
};

// The width left for text between the two margins; a margin from the settings may be
// anything, so the sum never overflows.
int32_t AvailableWidth(int32_t clientWidth, int32_t margin);

// The x at which a line starts; a centred line wider than the view starts left of 0.
int32_t LineX(const LineAlignment& alignment, int32_t clientWidth, int32_t lineWidth, int32_t widestWidth);

// Recreates the font at a logical height and measures the widest line with it.
class FontProbe {
 public:
  virtual ~FontProbe() = default;
  virtual int32_t WidestWidth(int32_t logicalHeight) = 0;
};

struct FittedFont {
  int32_t logicalHeight = 0;
  int32_t widestWidth = 0;
};

constexpr int kMaxFitRounds = 10;

// Scales the font's logical height (negative: character height) so the widest line
// fits `available`; with onlyShrink lyrics that already fit keep their font, else
// narrow lyrics grow. At most kMaxFitRounds remeasurements, and the height keeps its
// sign and at least one pixel even when the view is narrower than its margins.
FittedFont FitFont(int32_t logicalHeight, int32_t widestWidth, int32_t available, bool onlyShrink, FontProbe& probe);
