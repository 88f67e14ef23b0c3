#pragma once
// How the Options sheet shows settings in its boxes and turns what the user typed
// back into settings: numbers read as the boxes' text, font heights in points or
// as positive pixels, and limits that keep every typed value one the windows accept.

#include <cstddef>
#include <cstdint>

#include "base/WString.h"

// A number typed into a box: at most its first 8 characters count; white space
// first, an optional sign, then the leading digits. No digits gives 0.
int32_t ParseSheetNumber(const WString& text);

// The Editor's FontSize (a negative pixel height) in points at dpi, rounded up as a
// font dialog would show it, and back as the negative height of points at dpi.
int32_t FontSizeToPoints(int32_t fontSize, int32_t dpi);
int32_t PointsToFontSize(int32_t points, int32_t dpi);

// The karaoke screen's LyricsHeight is shown as a positive size and stored negative.
int32_t LyricsHeightShown(int32_t lyricsHeight);
int32_t LyricsHeightStored(int32_t number);

// SpaceBetLines from the box: never below 0.
int32_t SpaceBetLinesStored(int32_t number);
// A Sync correction from its five-character box.
int32_t SyncStored(int32_t number);

// What the boxes allow; the values above are clamped to them.
constexpr int32_t kMinLyricsHeight = 8;     // smaller cannot be read on the screen
constexpr int32_t kMaxLyricsHeight = 999;   // the box's three digits
constexpr int32_t kMaxFontPoints = 999;
constexpr int32_t kMaxSpaceBetLines = 999;  // beyond that a line no longer fits a view
constexpr int32_t kMinSync = -9999, kMaxSync = 99999;  // five characters
constexpr int32_t kMinDpi = 1;

// Copies text into an ANSI buffer of size bytes, always terminated, cut before the
// character that does not fit: a Shift-JIS pair is never split.
void CopyAnsiText(const WString& text, char* buffer, size_t size);
