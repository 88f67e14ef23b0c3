#pragma once
// The arithmetic of the time-tag adjustment dialog: the time fields' grammar, the
// new start and end of a rescale and how they follow each other, and the range they
// replace. A verse timed against the wrong recording is stretched between two new
// times, or every stamp is shifted. The dialog only reads and writes its controls.

#include <cstdint>

#include "base/WString.h"
#include "lyrics/LyricsTimeline.h"

// A time field: "[m:s:c]" with spaces around allowed, only digits and ":" inside;
// the first field counts minutes, the second seconds, the third hundredths, further
// fields nothing. -1 (not a time) for anything else, and for a sum beyond the
// largest time.
int32_t ParseTimeField(const WString& text);

// The tag whose earliest (or latest) time is the old start (or end) of a rescale:
// that of line, or over all lines when line has none, in which case line moves to the
// winner's line. False when the document has no tag at all.
bool RangeStart(const LyricsDocument& document, int& line, TimeTag& tag);
bool RangeEnd(const LyricsDocument& document, int& line, TimeTag& tag);

// The new start A and the new end B of a rescale, as the two fields show them.
class RescaleTarget {
 public:
  const TimeTag& Start() const { return start_; }
  const TimeTag& End() const { return end_; }
  void SetStart(const TimeTag& tag) { start_ = tag; }
  void SetEnd(const TimeTag& tag) { end_ = tag; }

  // A new start moves the end with it, keeping the length of the range.
  void MoveStart(int32_t time);
  void MoveEnd(int32_t time);
  // The playing position (with the Editor's Sync, at least 0) as the new start or end.
  void TakeStartNow(int32_t position, int32_t sync);
  void TakeEndNow(int32_t position, int32_t sync);
  // Before the rescale: the start at least 0, the end not before the start.
  void Order();

 private:
  TimeTag start_;
  TimeTag end_;
};

// Every tag between the old start (the earliest tag of startLine) and the old end (the
// latest of endLine) moved linearly onto the target. True when something changed.
bool RescaleRange(LyricsTimeline& timeline, RescaleTarget target, int startLine, int endLine);
// Every tag moved by units x 10 ms (earlier for negative units, never below 0).
bool ShiftByUnits(LyricsTimeline& timeline, int64_t units);
