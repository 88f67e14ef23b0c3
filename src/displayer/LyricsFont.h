#pragma once
// The lyrics font of the Displayer's view and info strip: the face, weight, italic
// flag and height the user chose, every other field of the logical font fixed, and
// the measurements both windows make with it.

#include <windows.h>

#include <vector>

#include "base/WString.h"
#include "displayer/core/ViewLayout.h"
#include "host/ScopedHandles.h"

class DisplayerSettings;

LOGFONTW LyricsLogFont(const DisplayerSettings& settings, int32_t logicalHeight);

// The logical height to scale from: the stored one, or, for a stored 0 (the face's
// default size), the character height of the font GDI picked for it.
int32_t EffectiveLogicalHeight(HDC dc, HFONT font, int32_t storedHeight);

int32_t TextWidth(HDC dc, const WString& text);
int32_t TextWidth(HDC dc, const WString& text, size_t characters);
// The height of the rectangle DrawText computes for "A".
int32_t TextHeightOfA(HDC dc);

// Creates the lyrics font at the heights the fitting asks for and measures the widest
// of the given texts with it. The font of the last height asked is kept: after
// fitting, it is the font to draw with.
class LyricsFontProbe : public FontProbe {
 public:
  LyricsFontProbe(const DisplayerSettings& settings, HDC dc, const std::vector<const WString*>& texts)
      : settings_(settings), dc_(dc), texts_(texts) {}

  int32_t WidestWidth(int32_t logicalHeight) override;
  OwnedFont TakeFont() { return std::move(font_); }
  HFONT Font() const { return font_.Get(); }

 private:
  const DisplayerSettings& settings_;
  HDC dc_;
  const std::vector<const WString*>& texts_;
  OwnedFont font_;
};
