#include "editor/core/TimeTagAdjust.h"

#include <algorithm>

namespace {

constexpr int64_t kFieldWeights[] = {60000, 1000, 10};

int32_t ClampTime(int64_t time) { return static_cast<int32_t>(std::clamp<int64_t>(time, 0, kMaxTime)); }

TimeTag LongTag(int64_t time) {
  TimeTag tag(ClampTime(time), 0);
  FormatTimeTag(tag, LongTagForm);
  return tag;
}

}  // namespace

int32_t ParseTimeField(const WString& field) {
  WString text = field;
  text.Trim();
  const size_t n = text.Length();
  if (n < 2 || text[0] != u'[' || text[n - 1] != u']') return -1;
  int64_t total = 0, value = 0;
  size_t index = 0;
  for (size_t i = 1; i < n; ++i) {
    const WChar c = text[i];
    if (c == u':' || i == n - 1) {
      if (index < 3) total += value * kFieldWeights[index];
      if (total > kMaxTime) return -1;  // eight minute digits are 6 x 10^12 ms
      ++index;
      value = 0;
    } else if (c >= u'0' && c <= u'9') {
      // Capped well above any time and below any overflow of value x 60000.
      value = std::min<int64_t>(value * 10 + (c - u'0'), int64_t(kMaxTime) + 1);
    } else {
      return -1;
    }
  }
  return static_cast<int32_t>(total);
}

bool RangeStart(const LyricsDocument& document, int& line, TimeTag& tag) {
  int found = line;
  if (found >= 0 && document.EarliestTag(found, tag)) return true;
  found = -1;
  if (!document.EarliestTag(found, tag)) return false;
  line = found;
  return true;
}

bool RangeEnd(const LyricsDocument& document, int& line, TimeTag& tag) {
  int found = line;
  if (found >= 0 && document.LatestTag(found, tag)) return true;
  found = -1;
  if (!document.LatestTag(found, tag)) return false;
  line = found;
  return true;
}

void RescaleTarget::MoveStart(int32_t time) {
  end_ = LongTag(int64_t(end_.time) + (int64_t(time) - start_.time));
  start_ = LongTag(time);
}

void RescaleTarget::MoveEnd(int32_t time) { end_ = LongTag(time); }

void RescaleTarget::TakeStartNow(int32_t position, int32_t sync) { MoveStart(ClampTime(int64_t(position) + sync)); }

void RescaleTarget::TakeEndNow(int32_t position, int32_t sync) { MoveEnd(ClampTime(int64_t(position) + sync)); }

void RescaleTarget::Order() {
  if (start_.time < 0) start_ = LongTag(0);
  if (end_.time < start_.time) end_ = LongTag(start_.time);
}

bool RescaleRange(LyricsTimeline& timeline, RescaleTarget target, int startLine, int endLine) {
  TimeTag oldStart, oldEnd;
  if (!RangeStart(timeline, startLine, oldStart) || !RangeEnd(timeline, endLine, oldEnd)) return false;
  target.Order();
  return timeline.RescaleTags(target.Start().time, target.End().time, oldStart.time, oldEnd.time) != 0;
}

bool ShiftByUnits(LyricsTimeline& timeline, int64_t units) {
  // Any shift past the largest time moves every tag to one end; no product overflows.
  const int64_t delta = std::clamp<int64_t>(units, -int64_t(kMaxTime), int64_t(kMaxTime)) * 10;
  return timeline.ShiftAllTags(static_cast<int>(std::clamp<int64_t>(delta, -int64_t(kMaxTime), kMaxTime))) != 0;
}
