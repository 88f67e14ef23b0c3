#pragma once
// Hands the timed lyric lines out to the karaoke screen's two rows. The schedule is
// shared: the playing time and the next display line to hand out. Each row takes the
// next line two seconds before it is due, shows it, clears it after it was sung, and
// spreads the drawing of a new line over three frames. Times are the timeline's ms.

#include <cstdint>

#include "lyrics/LyricsTimeline.h"

class RowSchedule {
 public:
  // A new song: no line handed out yet. The rows' next update must be forced, so
  // none keeps a line of the old song.
  void Reset();
  // The frame's playing time. Answers true when the player went back: then the next
  // line is found again from the start, so the lines between the seek target and the
  // line that was next are shown too, and every row must be updated with force.
  bool SetTime(int32_t t);
  int32_t Time() const { return time_; }
  int NextLine() const { return nextLine_; }

 private:
  friend class KaraokeRow;
  // Moves the next line past lines that are over or empty.
  void Settle(const LyricsTimeline& timeline);

  int32_t time_ = -1;
  int nextLine_ = -1;
};

constexpr int32_t kRowLead = 2000;        // a line appears this long before its time
constexpr int32_t kRowClearDelay = 100;   // a clearing row stays empty this long
constexpr int32_t kRowLinger = 500;       // a sung line stays at most this long
constexpr int32_t kRowMinLinger = 100;    // ... or this long when the next line is near
constexpr int32_t kRowNextNear = 1000;

// What a row draws into its own surfaces during one update.
enum class RowRender {
  None,
  Empty,       // no line: fill with the transparent colour
  UnsungBand,  // the line outlined in the unsung colours, upper band
  SungBand,    // the line outlined in the sung colours, lower band
  Copy,        // the system-memory surface to the video-memory one
};

class KaraokeRow {
 public:
  enum class State { Showing = 1, Clearing = 2, Waiting = 3 };

  // One frame; answers the render step to carry out now.
  RowRender Update(const LyricsTimeline& timeline, RowSchedule& schedule, bool force);
  // The surfaces were lost and restored: draw the same content again.
  void Redraw() { StartRender(); }

  State GetState() const { return state_; }
  int Line() const { return line_; }
  // The wipe is drawn only for a shown line whose three render steps are done.
  bool IsReadyToDraw() const { return state_ == State::Showing && line_ >= 0 && phase_ == 0; }
  // True once after a new line was taken: the wipe's measurements are stale.
  bool TakeNewLine() {
    bool fresh = newLine_;
    newLine_ = false;
    return fresh;
  }

 private:
  void StartRender() { phase_ = 3; }
  RowRender Step();

  State state_ = State::Waiting;
  int line_ = -1;
  int phase_ = 0;  // 3: unsung band next, 2: sung band, 1: copy, 0: done
  int32_t clearEnd_ = 0;
  bool newLine_ = false;
};
