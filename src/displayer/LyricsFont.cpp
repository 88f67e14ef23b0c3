#include "displayer/LyricsFont.h"

#include <algorithm>

#include "settings/DisplayerSettings.h"

LOGFONTW LyricsLogFont(const DisplayerSettings& settings, int32_t logicalHeight) {
  LOGFONTW font{};
  font.lfHeight = logicalHeight;
  font.lfWeight = settings.fontWeight;
  font.lfItalic = settings.fontItalic;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_STROKE_PRECIS;
  font.lfQuality = DRAFT_QUALITY;
  font.lfPitchAndFamily = VARIABLE_PITCH;
  // The face is stored in the ANSI code page; a cut name stays a terminated one.
  const WString face = WString::FromAnsi(settings.font, strnlen(settings.font, sizeof settings.font));
  const size_t length = std::min(face.Length(), static_cast<size_t>(LF_FACESIZE - 1));
  std::copy(face.CStr(), face.CStr() + length, reinterpret_cast<WChar*>(font.lfFaceName));
  return font;
}

int32_t EffectiveLogicalHeight(HDC dc, HFONT font, int32_t storedHeight) {
  if (storedHeight != 0) return storedHeight;
  ScopedSelect select(dc, font);
  TEXTMETRICW metrics{};
  if (!GetTextMetricsW(dc, &metrics)) return storedHeight;
  const int32_t characterHeight = metrics.tmHeight - metrics.tmInternalLeading;
  return characterHeight > 0 ? -characterHeight : storedHeight;
}

int32_t TextWidth(HDC dc, const WString& text, size_t characters) {
  characters = std::min(characters, text.Length());
  if (characters == 0) return 0;
  SIZE size{};
  if (!GetTextExtentPoint32W(dc, text.W(), static_cast<int>(characters), &size)) return 0;
  return size.cx;
}

int32_t TextWidth(HDC dc, const WString& text) { return TextWidth(dc, text, text.Length()); }

int32_t TextHeightOfA(HDC dc) {
  RECT rect{0, 0, 0, 0};
  DrawTextW(dc, L"A", 1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  return rect.bottom - rect.top;
}

int32_t LyricsFontProbe::WidestWidth(int32_t logicalHeight) {
  LOGFONTW logical = LyricsLogFont(settings_, logicalHeight);
  font_.Reset(CreateFontIndirectW(&logical));
  if (!font_) return -1;
  ScopedSelect select(dc_, font_.Get());
  int32_t widest = -1;
  for (const WString* text : texts_) widest = std::max(widest, TextWidth(dc_, *text));
  return widest;
}
