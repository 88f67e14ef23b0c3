#pragma once
// Where the karaoke screen puts its parts. Sizes in the settings are pixels of a
// screen 1280 pixels wide and scale with the real width; every value read from the
// INI file may be anything, so the arithmetic is 64-bit and each size is clamped to
// something a surface can have.

#include <cstdint>

class KaraokeSettings;

// Right and bottom exclusive, like a Win32 RECT.
struct KRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool operator==(const KRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// A font height (negative: character height, as for a Windows logical font), the
// edge drawn around its text and the box a line of it needs.
struct OutlinedFont {
  int32_t height = 0;   // logical height for the font
  int32_t edge = 0;     // outline width in pixels
  int32_t lineBox = 0;  // |height| + 2 × edge
  int32_t band = 0;     // height of one band of its surface (a row or half the info strip)
  // The top of a line box centred in a band.
  int32_t BoxTopInBand() const { return band / 2 - lineBox / 2; }
};

struct KaraokeLayout {
  int32_t width = 0, height = 0;  // the screen
  int32_t margin = 0;             // left and right
  int32_t bottom = 0;             // the lyrics rows' distance from the bottom edge
  OutlinedFont lyrics;
  OutlinedFont info;
  KRect rows[2];   // on screen: row 0 lowest, row 1 directly above it
  KRect infoStrip;  // across the top, two info bands high

  // Width left for a line between the margins.
  int32_t Available() const { return width - 2 * margin; }
  // The x of a line of this width on row 0 (centred at 66 %) or row 1 (at 33 %),
  // pushed inside the margins.
  int32_t RowX(int row, int32_t lineWidth) const;
  // The top of info line 0 or 1, each centred in its half of the strip.
  int32_t InfoTextTop(int line) const {
    return (line == 0 ? infoStrip.Height() / 4 : 3 * infoStrip.Height() / 4) - info.lineBox / 2;
  }
};

// A font smaller than this cannot be read and gives surfaces of no height (a
// LyricsHeight of 0 would make a screen that never opens).
constexpr int32_t kMinFontPixels = 8;

// width × value ÷ 1280, truncated toward zero, clamped to 32 bits.
int32_t ScaleTo1280(int32_t screenWidth, int32_t value);

KaraokeLayout ComputeKaraokeLayout(const KaraokeSettings& settings, int32_t screenWidth, int32_t screenHeight);
