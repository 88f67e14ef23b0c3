#include "options/core/SheetValues.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr size_t kNumberChars = 8;

int32_t Clamp(int64_t value, int32_t low, int32_t high) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, low, high));
}

bool IsSpace(WChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

}  // namespace

int32_t ParseSheetNumber(const WString& text) {
  const size_t end = std::min(text.Length(), kNumberChars);
  size_t i = 0;
  while (i < end && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < end && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  int64_t value = 0;  // eight characters never overflow this
  for (; i < end && text[i] >= u'0' && text[i] <= u'9'; ++i) value = value * 10 + (text[i] - u'0');
  return static_cast<int32_t>(negative ? -value : value);
}

// 72 points to the inch: (71 - 72 × height) / dpi turns -25 pixels at 96 dpi into 19
// points, the size the user picked, and not the 18 that truncation would show.
int32_t FontSizeToPoints(int32_t fontSize, int32_t dpi) {
  dpi = std::max(dpi, kMinDpi);
  return Clamp((71 - int64_t(72) * fontSize) / dpi, INT32_MIN, INT32_MAX);
}

// -MulDiv(points, dpi, 72): rounded half away from zero.
int32_t PointsToFontSize(int32_t points, int32_t dpi) {
  points = std::clamp(points, 0, kMaxFontPoints);
  dpi = std::max(dpi, kMinDpi);
  const int64_t product = int64_t(points) * dpi;
  return static_cast<int32_t>(-((product + 36) / 72));
}

int32_t LyricsHeightShown(int32_t lyricsHeight) { return Clamp(std::llabs(int64_t(lyricsHeight)), 0, INT32_MAX); }

// LyricsHeight 0 would give the screen no font to draw with.
int32_t LyricsHeightStored(int32_t number) { return -std::clamp(number, kMinLyricsHeight, kMaxLyricsHeight); }

int32_t SpaceBetLinesStored(int32_t number) { return std::clamp(number, 0, kMaxSpaceBetLines); }

int32_t SyncStored(int32_t number) { return std::clamp(number, kMinSync, kMaxSync); }

void CopyAnsiText(const WString& text, char* buffer, size_t size) {
  if (size == 0) return;
  std::string ansi = text.ToAnsi();
  // Drop whole characters from the end until the rest fits.
  for (size_t keep = text.Length(); ansi.size() >= size && keep > 0;) {
    --keep;
    if (keep > 0 && text[keep] >= 0xDC00 && text[keep] <= 0xDFFF) --keep;  // a surrogate pair goes whole
    ansi = text.Substr(0, keep).ToAnsi();
  }
  const size_t length = std::min(ansi.size(), size - 1);
  std::memcpy(buffer, ansi.data(), length);
  buffer[length] = '\0';
}
