#include "displayer/core/PlaybackSync.h"

#include <algorithm>

int32_t CorrectedPlayingTime(int32_t position, int32_t sync) {
  if (position == -1) return -1;
  const int64_t sum = std::clamp<int64_t>(int64_t(position) + sync, INT32_MIN, INT32_MAX);
  return sum == -1 ? 0 : static_cast<int32_t>(sum);
}

// The tick's own time answers the look-ahead: asking the player again a few
// microseconds later would double the tick's cost for the same answer.
int LineForTime(LyricsTimeline& timeline, int32_t t, bool moveBeforehand) {
  const int base = timeline.DisplayLineAtTime(t);
  if (!moveBeforehand || !timeline.IsTimed()) return base;
  const int next = timeline.NextTimedDisplayLine(base);
  if (!timeline.IsValidDisplayLine(next)) return base;
  // Still more than the lead away: stay where the stamps say.
  if (int64_t(timeline.DisplayLineTime(next)) - kMoveBeforehandLead >= t) return base;
  if (base == -1) return next;
  if (!timeline.IsValidDisplayLine(base)) return base;
  return timeline.DisplayLineText(base).IsEmpty() ? next : base;
}

int32_t PrefixWidthFromExtents(const std::vector<int32_t>& extents, int32_t characters) {
  if (characters <= 0 || extents.empty()) return 0;
  const size_t count = std::min(static_cast<size_t>(characters), extents.size());
  return std::max(extents[count - 1], 0);
}

int32_t WipeOffset(int32_t previousTime, int32_t previousWidth, int32_t nextTime, int32_t nextWidth, int32_t t) {
  previousWidth = std::max(previousWidth, 0);
  nextWidth = std::max(nextWidth, 0);
  // Overlapping karaoke lines can put the next stamp before the previous one: there
  // is no span to share out, so the line counts as sung up to the next stamp.
  if (nextTime <= previousTime) return nextWidth;
  const int64_t span = int64_t(nextTime) - previousTime;
  const int64_t into = std::clamp<int64_t>(int64_t(t) - previousTime, 0, span);
  return static_cast<int32_t>(previousWidth + (int64_t(nextWidth) - previousWidth) * into / span);
}

int32_t SplitX(int32_t lineX, int32_t offset) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t(lineX) + offset, INT32_MIN, INT32_MAX));
}

void KaraokeWipe::Reset() {
  measured_ = false;
  measuredLine_ = -1;
  hasSplit_ = false;
  splitX_ = 0;
}

int32_t KaraokeWipe::Offset(const LyricsTimeline& timeline, int k, int32_t t, LineWidths& widths) {
  if (!timeline.IsValidDisplayLine(k)) return -1;
  if (!timeline.TagsAround(k, t, previous_, next_)) return -1;
  const bool same = measured_ && measuredLine_ == k && previous_.position == previousPosition_ &&
                    previous_.time == previousTime_ && next_.position == nextPosition_ && next_.time == nextTime_;
  if (!same) {
    const WString& text = timeline.DisplayLineText(k);
    previousPosition_ = previous_.position;
    nextPosition_ = next_.position;
    previousTime_ = previous_.time;
    nextTime_ = next_.time;
    previousWidth_ = widths.PrefixWidth(text, previousPosition_);
    nextWidth_ = widths.PrefixWidth(text, nextPosition_);
    measuredLine_ = k;
    measured_ = true;
  }
  return WipeOffset(previousTime_, previousWidth_, nextTime_, nextWidth_, t);
}

WipeStrip KaraokeWipe::Advance(const LyricsTimeline& timeline, int k, int32_t t, int32_t lineX,
                               LineWidths& widths) {
  WipeStrip strip;
  const int32_t offset = Offset(timeline, k, t, widths);
  if (offset < 0) return strip;
  const int32_t split = ::SplitX(lineX, offset);
  if (hasSplit_ && split != splitX_) {
    strip.sung = split > splitX_;
    strip.from = std::min(split, splitX_);
    strip.to = std::max(split, splitX_);
  }
  SetSplitX(split);
  return strip;
}
