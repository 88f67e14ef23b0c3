#include "displayer/core/ViewLayout.h"

#include <algorithm>

#include "displayer/core/FrameSnap.h"

namespace {

int32_t Saturated(int64_t value) { return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

}  // namespace

ScrollPosition ScrollTarget(int32_t line, int32_t pitch, int32_t clientTop, int32_t clientHeight, int32_t lineCount) {
  // A font with no height still gives every line a row of its own.
  const int64_t p = std::max(pitch, 1);
  const int64_t centre = clientHeight / 2 - p / 2 + clientTop;
  const int64_t k = (centre - clientTop) / p;
  ScrollPosition scroll{0, clientTop};
  if (line <= k || p * lineCount <= clientHeight) return scroll;
  int64_t first;
  if (int64_t(lineCount) - line - 1 > k)
    first = line - k - 1;
  else
    first = int64_t(lineCount) - 2 * (k + 1);
  int64_t top = centre - (k + 1) * p;
  if (first < 0) {
    top += p * -first;
    first = 0;
  }
  scroll.firstLine = static_cast<int32_t>(first);
  scroll.topOffset = Saturated(top);
  return scroll;
}

int32_t LineTop(const ScrollPosition& scroll, int32_t index, int32_t pitch) {
  return Saturated(scroll.topOffset + (int64_t(index) - scroll.firstLine) * pitch);
}

int32_t LineTextTop(const ScrollPosition& scroll, int32_t index, int32_t pitch, int32_t spaceBetLines) {
  return Saturated(int64_t(LineTop(scroll, index, pitch)) + std::max(spaceBetLines, 0) / 2);
}

RowSpan RowsFrom(int32_t top, int32_t height) { return RowSpan{top, Saturated(int64_t(top) + height)}; }

int32_t LineAtRow(const ScrollPosition& scroll, int32_t y, int32_t pitch) {
  if (pitch <= 0) return -1;
  const int64_t into = int64_t(y) - scroll.topOffset;
  // Rounds down, so a row just above the first band is not taken for it.
  const int64_t rows = into >= 0 ? into / pitch : -((-into + pitch - 1) / pitch);
  const int64_t line = scroll.firstLine + rows;
  return line < 0 || line > INT32_MAX ? -1 : static_cast<int32_t>(line);
}

int32_t ScrollDelta(const ScrollPosition& from, const ScrollPosition& to, int32_t pitch) {
  return Saturated((int64_t(from.firstLine) - to.firstLine) * pitch - from.topOffset + to.topOffset);
}

BandScroll PlanBandScroll(const ScrollPosition& from, int32_t oldLine, const ScrollPosition& to, int32_t newLine,
                          int32_t pitch, RowSpan client) {
  BandScroll plan;
  plan.dy = ScrollDelta(from, to, pitch);
  const int32_t newTop = LineTop(to, newLine, pitch);
  const int32_t oldTop = Saturated(int64_t(LineTop(from, oldLine, pitch)) + plan.dy);  // where the old band lands
  plan.upperBand = RowsFrom(std::min(newTop, oldTop), pitch);
  plan.lowerBand = RowsFrom(std::max(newTop, oldTop), pitch);
  for (RowSpan strip : {RowSpan{client.top, plan.upperBand.top}, RowSpan{plan.upperBand.bottom, plan.lowerBand.top},
                        RowSpan{plan.lowerBand.bottom, client.bottom}})
    if (!strip.IsEmpty()) plan.strips[plan.stripCount++] = strip;
  return plan;
}

int32_t FitWindowWidth(int32_t frameWidth, int32_t widestWidth, int32_t margin, int32_t viewClientWidth) {
  const int64_t width = int64_t(frameWidth) + widestWidth + 2 * int64_t(margin) - viewClientWidth;
  return static_cast<int32_t>(std::clamp<int64_t>(width, kMinFrameWidth, INT32_MAX));
}

int32_t AvailableWidth(int32_t clientWidth, int32_t margin) {
  return Saturated(int64_t(clientWidth) - 2 * int64_t(margin));
}

int32_t LineX(const LineAlignment& alignment, int32_t clientWidth, int32_t lineWidth, int32_t widestWidth) {
  if (alignment.centering) return static_cast<int32_t>((int64_t(clientWidth) - lineWidth) / 2);
  if (alignment.leftCentering && clientWidth - int64_t(widestWidth) > 0)
    return Saturated(alignment.margin + (int64_t(clientWidth) - widestWidth) / 2);
  return alignment.margin;
}

namespace {

// available × height ÷ widest, but never 0 and never of the other sign: a view
// narrower than its margins would otherwise ask for a font upside down.
int32_t ScaledHeight(int32_t height, int32_t widest, int32_t available) {
  if (available <= 0) return height < 0 ? -1 : 1;
  const int64_t scaled = int64_t(available) * height / widest;
  const int64_t magnitude = std::clamp<int64_t>(scaled < 0 ? -scaled : scaled, 1, INT32_MAX);
  return static_cast<int32_t>(height < 0 ? -magnitude : magnitude);
}

}  // namespace

FittedFont FitFont(int32_t logicalHeight, int32_t widestWidth, int32_t available, bool onlyShrink, FontProbe& probe) {
  FittedFont fitted{logicalHeight, widestWidth};
  if (widestWidth <= 0 || (onlyShrink && widestWidth <= available)) return fitted;
  for (int round = 0; round < kMaxFitRounds; ++round) {
    const int32_t height = ScaledHeight(fitted.logicalHeight, fitted.widestWidth, available);
    if (height == fitted.logicalHeight) break;  // measuring again would answer the same
    fitted.logicalHeight = height;
    fitted.widestWidth = probe.WidestWidth(height);
    if (fitted.widestWidth <= available || fitted.widestWidth <= 0) break;
  }
  return fitted;
}
