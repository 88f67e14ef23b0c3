#include "editor/core/KaraokeViewLayout.h"

#include <algorithm>
#include <cstdint>

namespace {

// Floor division: a row above the first one belongs to the line before it, where
// truncation toward zero would give the first row.
int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

}  // namespace

int32_t ClampToInt32(int64_t value) { return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

KaraokeMetrics KaraokeMetrics::FromTextHeight(int32_t textHeight) {
  KaraokeMetrics metrics;
  // A font the system refuses, or a height of a billion pixels, still lays out.
  metrics.textHeight = std::clamp<int32_t>(textHeight, 1, INT32_MAX / 4);
  metrics.spacing = metrics.textHeight / 2 + 1;
  metrics.margin = metrics.textHeight / 2 + 1;
  metrics.pitch = metrics.spacing + metrics.textHeight;
  return metrics;
}

KaraokeLayout KaraokeLayout::For(int32_t clientHeight, const KaraokeMetrics& metrics, int32_t caretLine) {
  KaraokeLayout layout;
  const int64_t pitch = std::max(metrics.pitch, 1);
  layout.caretRowTop = ClampToInt32(int64_t(clientHeight) / 2 - pitch / 2);
  const int64_t rowsAbove = layout.caretRowTop / pitch + 1;
  layout.topLine = ClampToInt32(std::max<int64_t>(0, int64_t(caretLine) - rowsAbove));
  layout.firstRowTop = ClampToInt32(layout.caretRowTop - (int64_t(caretLine) - layout.topLine) * pitch);
  return layout;
}

int32_t KaraokeLayout::RowTop(int32_t line, const KaraokeMetrics& metrics) const {
  return ClampToInt32(firstRowTop + (int64_t(line) - topLine) * std::max(metrics.pitch, 1));
}

int32_t KaraokeLayout::LineAt(int32_t y, const KaraokeMetrics& metrics) const {
  return ClampToInt32(FloorDiv(int64_t(y) - firstRowTop, std::max(metrics.pitch, 1)) + topLine);
}

bool KaraokeLayout::InCaretText(int32_t y, const KaraokeMetrics& metrics) const {
  const int64_t top = int64_t(caretRowTop) + metrics.TextOffset();
  return y >= top && y < top + metrics.textHeight;
}

int32_t PageStep(int32_t clientHeight, const KaraokeMetrics& metrics) {
  return ClampToInt32(int64_t(clientHeight) / (2 * int64_t(std::max(metrics.pitch, 1))));
}

int32_t ClampCaretLine(int64_t line, int32_t lineCount) {
  return static_cast<int32_t>(std::clamp<int64_t>(line, 0, std::max<int64_t>(int64_t(lineCount) - 1, 0)));
}

int32_t CaretScrollDelta(int32_t fromLine, int32_t toLine, const KaraokeMetrics& metrics) {
  return ClampToInt32((int64_t(fromLine) - toLine) * std::max(metrics.pitch, 1));
}

int32_t WipeX(int32_t margin, int32_t x0, int32_t x1, int32_t t0, int32_t t1, int32_t t) {
  if (t1 == t0) return ClampToInt32(int64_t(margin) + x1);
  // A long gap on a wide line: (x1 - x0) x (t - t0) passes 32 bits easily.
  int64_t x = int64_t(x0) + (int64_t(x1) - x0) * (int64_t(t) - t0) / (int64_t(t1) - t0);
  x = std::clamp<int64_t>(x, std::min(x0, x1), std::max(x0, x1));
  return ClampToInt32(x + margin);
}

WipeStrip WipeStripBetween(int32_t lastX, int32_t newX) {
  WipeStrip strip;
  strip.sung = newX > lastX;
  strip.left = std::min(lastX, newX);
  strip.right = std::max(lastX, newX);
  return strip;
}
