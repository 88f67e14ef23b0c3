#pragma once
// The karaoke wipe of a row: how much of its line is sung at a time, and the two
// pieces of the row's surface (sung band and unsung band) that make the frame.

#include <cstdint>

#include "base/WString.h"
#include "karaoke/core/KaraokeLayout.h"
#include "lyrics/LyricsTimeline.h"

// Width of a line's first characters in the lyrics font.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  virtual int32_t PrefixWidth(const WString& text, int32_t characters) = 0;
};

// The sung width between a stamp at (t1, w1) and the next at (t2, w2):
// w1 + (w2 − w1) × (t − t1) ÷ (t2 − t1), with t held inside [t1, t2]; equal times,
// and a next stamp before the previous one, give w2.
int32_t WipeWidth(int32_t t1, int32_t w1, int32_t t2, int32_t w2, int32_t t);

// The sung width of display line k at t; -1 when it has no stamps.
int32_t WipeWidthAt(const LyricsTimeline& timeline, int k, int32_t t, TextMeasure& measure);

// One blit: from the row's surface at `source` to the screen at (x, y).
struct Blit {
  KRect source;
  int32_t x = 0, y = 0;
  bool IsEmpty() const { return source.Width() <= 0 || source.Height() <= 0; }
};

// The blit cut to what lies inside both its source surface (sw × sh) and its target
// (tw × th); DirectDraw refuses a blit that reaches outside either, and a refused
// blit would end the frame.
Blit ClipBlit(const Blit& blit, int32_t sw, int32_t sh, int32_t tw, int32_t th);

struct WipeBlits {
  Blit sung, unsung;
};

// The row's surface holds its line at lineX (its box, with the text edge pixels
// further in) in the upper band unsung and in the lower band sung. A line sung to
// its end is sung to its right edge too, outline included.
WipeBlits ComposeWipe(const KaraokeLayout& layout, int row, int32_t lineX, int32_t lineWidth, int32_t sungWidth);
