#include "karaoke/core/KaraokeLayout.h"

#include <algorithm>
#include <cstdlib>

#include "settings/KaraokeSettings.h"

namespace {

int32_t Clamp32(int64_t value, int64_t low, int64_t high) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, low, std::max(low, high)));
}

// The font of one kind of text. The band rule, |W × ((Edge + 55) × height × 2 ÷ 100)
// ÷ 1280|, gives a little room around the line box at sane settings; it is never
// allowed below the line box (the text would be cut) nor above half the screen (two
// bands must fit, and a surface is allocated from it).
OutlinedFont MakeFont(const KaraokeSettings& s, int32_t perWidth1280, int32_t width, int32_t screenHeight) {
  const int64_t height = ScaleTo1280(width, perWidth1280);
  const int64_t magnitude = std::clamp<int64_t>(std::llabs(height), kMinFontPixels, std::max(kMinFontPixels, screenHeight / 2));
  OutlinedFont font;
  // A height of 0 would ask Windows for its default size: the least character height
  // keeps the text and its surfaces predictable.
  font.height = static_cast<int32_t>(height > 0 ? magnitude : -magnitude);
  const int64_t edgePercent = std::clamp<int32_t>(s.edge, 0, 100);
  font.edge = Clamp32(std::max<int64_t>(magnitude * edgePercent / 100, s.edgeMin), 0, magnitude);
  font.lineBox = static_cast<int32_t>(magnitude + 2 * int64_t(font.edge));
  // Bounded so that no product below leaves 64 bits; larger values are cut by the
  // screen height anyway.
  const int64_t ruleHeight = std::clamp<int64_t>(perWidth1280, -(1 << 24), 1 << 24);
  const int64_t band = std::llabs(int64_t(width) * ((edgePercent + 55) * ruleHeight * 2 / 100) / 1280);
  font.band = Clamp32(std::max<int64_t>(band, font.lineBox), 1, std::max(1, screenHeight / 2));
  return font;
}

}  // namespace

int32_t ScaleTo1280(int32_t screenWidth, int32_t value) {
  return Clamp32(int64_t(screenWidth) * value / 1280, INT32_MIN, INT32_MAX);
}

int32_t KaraokeLayout::RowX(int row, int32_t lineWidth) const {
  const int64_t percent = row == 0 ? 66 : 33;
  int64_t x = int64_t(width) * percent / 100 - int64_t(lineWidth) / 2;
  if (x + lineWidth >= int64_t(width) - margin) x = int64_t(width) - margin - lineWidth;
  if (x < margin) x = margin;
  return Clamp32(x, INT32_MIN, INT32_MAX);
}

KaraokeLayout ComputeKaraokeLayout(const KaraokeSettings& s, int32_t screenWidth, int32_t screenHeight) {
  KaraokeLayout layout;
  layout.width = std::max(screenWidth, 1);
  layout.height = std::max(screenHeight, 1);
  const int32_t w = layout.width, h = layout.height;
  layout.margin = Clamp32(ScaleTo1280(w, s.margin), 0, w / 2);
  layout.lyrics = MakeFont(s, s.lyricsHeight, w, h);
  layout.info = MakeFont(s, s.musicInfoHeight, w, h);

  const int32_t band = layout.lyrics.band;
  // The two rows stay on the screen however large LyricsBottom is.
  layout.bottom = Clamp32(ScaleTo1280(w, s.lyricsBottom), 0, int64_t(h) - 2 * int64_t(band));
  const int32_t row0Bottom = h - layout.bottom;
  layout.rows[0] = {0, row0Bottom - band, w, row0Bottom};
  layout.rows[1] = {0, row0Bottom - 2 * band, w, row0Bottom - band};
  layout.infoStrip = {0, 0, w, Clamp32(2 * int64_t(layout.info.band), 1, h)};
  return layout;
}
