#include "karaoke/core/RowSchedule.h"

void RowSchedule::Reset() {
  time_ = -1;
  nextLine_ = -1;
}

bool RowSchedule::SetTime(int32_t t) {
  const bool back = t < time_;
  // Forgetting only the time would leave the next line where it was, and every line
  // between the seek target and it would never be shown.
  if (back) nextLine_ = -1;
  time_ = t;
  return back;
}

void RowSchedule::Settle(const LyricsTimeline& timeline) {
  const int count = timeline.DisplayLineCount();
  // Untimed lyrics have nothing to sing along with: no line is ever handed out.
  if (!timeline.IsTimed()) {
    nextLine_ = count;
    return;
  }
  if (nextLine_ < 0 || nextLine_ > count) nextLine_ = timeline.NextTimedDisplayLine(-1);
  while (nextLine_ < count &&
         (timeline.DisplayLineEndTime(nextLine_) <= time_ || timeline.DisplayLineText(nextLine_).IsEmpty()))
    nextLine_ = timeline.NextTimedDisplayLine(nextLine_);
}

RowRender KaraokeRow::Update(const LyricsTimeline& timeline, RowSchedule& schedule, bool force) {
  schedule.Settle(timeline);
  const int64_t t = schedule.time_;
  const int next = schedule.nextLine_;
  const bool hasNext = timeline.IsValidDisplayLine(next);
  if (force) {
    state_ = State::Waiting;
    line_ = -1;
    StartRender();
  }
  switch (state_) {
    case State::Waiting:
      if (hasNext && t >= int64_t(timeline.DisplayLineTime(next)) - kRowLead) {
        line_ = next;
        schedule.nextLine_ = timeline.NextTimedDisplayLine(next);
        state_ = State::Showing;
        newLine_ = true;
        StartRender();
      }
      break;
    case State::Showing: {
      const int64_t start = timeline.DisplayLineTime(line_);
      const int64_t end = timeline.DisplayLineEndTime(line_);
      const bool nextNear = hasNext && timeline.DisplayLineTime(next) <= t + kRowNextNear;
      if (t < start - kRowLead || t >= end + kRowLinger || (t >= end + kRowMinLinger && nextNear)) {
        state_ = State::Clearing;
        clearEnd_ = static_cast<int32_t>(t + kRowClearDelay > INT32_MAX ? INT32_MAX : t + kRowClearDelay);
      }
      break;
    }
    case State::Clearing:
      if (t > clearEnd_) {
        state_ = State::Waiting;
        line_ = -1;
      }
      break;
  }
  return phase_ > 0 ? Step() : RowRender::None;
}

RowRender KaraokeRow::Step() {
  if (line_ < 0) {
    phase_ = 0;
    return RowRender::Empty;
  }
  const int phase = phase_--;
  return phase == 3 ? RowRender::UnsungBand : phase == 2 ? RowRender::SungBand : RowRender::Copy;
}
