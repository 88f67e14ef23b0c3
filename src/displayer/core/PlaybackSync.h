#pragma once
// Turns the playing time into the Displayer's current line and into the x up to which
// a karaoke line is sung. Pure arithmetic over the timeline; the font comes in
// through the small interface below so the rules run without a window.

#include <cstdint>
#include <vector>

#include "base/WString.h"
#include "lyrics/LyricsTimeline.h"

// Widths of a line's leading characters in the view's font.
class LineWidths {
 public:
  virtual ~LineWidths() = default;
  virtual int32_t PrefixWidth(const WString& text, int32_t characters) = 0;
};

// The player's position plus the Sync correction. -1 means "not playing" and nothing
// else: a correction that lands exactly on -1 gives 0.
int32_t CorrectedPlayingTime(int32_t position, int32_t sync);

// A blank line is left this long before the next timed line when MoveBeforehand is on.
constexpr int32_t kMoveBeforehandLead = 1000;

// The display line to show as current at time t: the timeline's own answer, moved on
// early from a blank line (or onto the first line) when moveBeforehand is set and the
// next timed line is less than a second after t.
int LineForTime(LyricsTimeline& timeline, int32_t t, bool moveBeforehand);

// The width of the first `characters` characters from a line's cumulative extents
// (extents[i]: width of characters 0..i, as GetTextExtentExPoint reports them).
// Positions past the end give the whole width, positions before the start 0.
int32_t PrefixWidthFromExtents(const std::vector<int32_t>& extents, int32_t characters);

// The sung width at t between a tag at (previousTime, previousWidth) and the next at
// (nextTime, nextWidth). Equal times, and a next tag earlier than the previous one
// (overlapping karaoke lines), give the next tag's width; never negative.
int32_t WipeOffset(int32_t previousTime, int32_t previousWidth, int32_t nextTime, int32_t nextWidth, int32_t t);

// The x of the split between the sung and the unsung part: the line's x plus the
// wipe offset, both of which may come from settings of any size.
int32_t SplitX(int32_t lineX, int32_t offset);

// The strip that a tick repaints: [from, to) in the sung colour when the wipe moved
// forward, in the unsung colour when the player went back inside the line.
struct WipeStrip {
  int32_t from = 0;
  int32_t to = 0;
  bool sung = true;
  bool IsEmpty() const { return from >= to; }
};

// The karaoke wipe of the current line: measures only when the tags around t change.
class KaraokeWipe {
 public:
  // Forgets the measured widths and the painted split (a new line or a full paint).
  void Reset();

  // The wipe offset of display line k at t; -1 when k has no line to wipe.
  int32_t Offset(const LyricsTimeline& timeline, int k, int32_t t, LineWidths& widths);

  // Moves the split to lineX + offset at t and answers the strip to repaint.
  WipeStrip Advance(const LyricsTimeline& timeline, int k, int32_t t, int32_t lineX, LineWidths& widths);

  // A full paint draws the split itself; later ticks continue from it.
  void SetSplitX(int32_t x) {
    splitX_ = x;
    hasSplit_ = true;
  }
  int32_t SplitX() const { return splitX_; }

 private:
  bool measured_ = false;
  int measuredLine_ = -1;
  int32_t previousPosition_ = 0, nextPosition_ = 0;
  int32_t previousTime_ = 0, nextTime_ = 0;
  int32_t previousWidth_ = 0, nextWidth_ = 0;
  int32_t splitX_ = 0;
  bool hasSplit_ = false;
  TimeTag previous_, next_;  // reused so a tick does not allocate
};
