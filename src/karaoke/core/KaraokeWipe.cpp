#include "karaoke/core/KaraokeWipe.h"

#include <algorithm>

int32_t WipeWidth(int32_t t1, int32_t w1, int32_t t2, int32_t w2, int32_t t) {
  if (t2 <= t1) return w2;
  const int64_t span = int64_t(t2) - t1;
  const int64_t into = std::clamp<int64_t>(int64_t(t) - t1, 0, span);
  return static_cast<int32_t>(w1 + (int64_t(w2) - w1) * into / span);
}

int32_t WipeWidthAt(const LyricsTimeline& timeline, int k, int32_t t, TextMeasure& measure) {
  TimeTag previous, next;
  if (!timeline.IsValidDisplayLine(k) || !timeline.TagsAround(k, t, previous, next)) return -1;
  const WString& text = timeline.DisplayLineText(k);
  const int32_t w1 = measure.PrefixWidth(text, previous.position);
  const int32_t w2 = previous.position == next.position ? w1 : measure.PrefixWidth(text, next.position);
  return std::max(WipeWidth(previous.time, w1, next.time, w2, t), 0);
}

WipeBlits ComposeWipe(const KaraokeLayout& layout, int row, int32_t lineX, int32_t lineWidth, int32_t sungWidth) {
  const KRect& place = layout.rows[row == 0 ? 0 : 1];
  const int32_t band = layout.lyrics.band;
  const int32_t edge = layout.lyrics.edge;
  const int64_t left = std::clamp<int64_t>(lineX, 0, layout.width);
  const int64_t right = std::clamp<int64_t>(int64_t(lineX) + std::max(lineWidth, 0), left, layout.width);
  // The text starts one edge in from the box; a fully sung text takes its right
  // outline along.
  int64_t split = int64_t(lineX) + edge + std::max(sungWidth, 0);
  if (sungWidth >= int64_t(lineWidth) - 2 * edge) split = right;
  split = std::clamp<int64_t>(split, left, right);
  WipeBlits blits;
  blits.sung.source = {int32_t(left), band, int32_t(split), 2 * band};
  blits.sung.x = int32_t(left);
  blits.sung.y = place.top;
  blits.unsung.source = {int32_t(split), 0, int32_t(right), band};
  blits.unsung.x = int32_t(split);
  blits.unsung.y = place.top;
  return blits;
}

namespace {

// One axis: the source span [low, high) goes to `at`; both start inside their surfaces
// and the span ends where either surface does.
void ClipAxis(int64_t& low, int64_t& high, int64_t& at, int64_t sourceSize, int64_t targetSize) {
  const int64_t skip = std::max<int64_t>({0, -low, -at});
  low += skip;
  at += skip;
  high = std::min({high, sourceSize, low + targetSize - at});
}

}  // namespace

Blit ClipBlit(const Blit& blit, int32_t sw, int32_t sh, int32_t tw, int32_t th) {
  int64_t left = blit.source.left, top = blit.source.top, right = blit.source.right, bottom = blit.source.bottom;
  int64_t x = blit.x, y = blit.y;
  ClipAxis(left, right, x, sw, tw);
  ClipAxis(top, bottom, y, sh, th);
  Blit clipped;
  if (right <= left || bottom <= top) return clipped;
  clipped.source = {int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
  clipped.x = int32_t(x);
  clipped.y = int32_t(y);
  return clipped;
}
