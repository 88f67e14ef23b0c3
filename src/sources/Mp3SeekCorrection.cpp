#include "sources/Mp3SeekCorrection.h"

#include <algorithm>

using Lock = std::lock_guard<std::mutex>;

bool Mp3SeekCorrection::Allocate() {
  Lock lock(mutex_);
  return table_.Allocate();
}

void Mp3SeekCorrection::BeginSong() {
  Lock lock(mutex_);
  clock_.Restart(0);
  table_.Clear();
  searching_ = hasTarget_ = flushRequested_ = seekInFlight_ = false;
}

void Mp3SeekCorrection::SongStarted(int32_t lengthMs) {
  Lock lock(mutex_);
  table_.SetSongLength(lengthMs);
}

void Mp3SeekCorrection::EndSong() {
  Lock lock(mutex_);
  searching_ = hasTarget_ = flushRequested_ = seekInFlight_ = false;
}

void Mp3SeekCorrection::SetStreamInfo(int sampleRateKHz, int channels) {
  Lock lock(mutex_);
  clock_.SetStreamInfo(sampleRateKHz, channels);
}

Mp3WriteAction Mp3SeekCorrection::Write(const void* data, int bytes) {
  Mp3WriteAction action;
  Lock lock(mutex_);
  // The seek's flush came from the main thread while this thread might have been
  // inside the output's write; it is done here, between two writes.
  if (flushRequested_) {
    action.flush = true;
    action.flushTo = 0;
    flushRequested_ = false;
  }
  int32_t clock = clock_.Milliseconds();
  if (!searching_) {
    table_.Record(clock, clock_.Base(), clock_.Frames(), data, bytes);
  } else if (const Mp3Fingerprint* found = table_.Find(clock, data, bytes)) {
    clock_.Set(found->base, found->frames);
    searching_ = false;
  }
  clock_.Advance(bytes);
  if (!hasTarget_) return action;
  clock = clock_.Milliseconds();
  if (clock <= target_) {
    action.write = false;
    return action;
  }
  action.flush = true;
  action.flushTo = clock;
  action.pauseAfterFlush = true;
  hasTarget_ = false;
  return action;
}

void Mp3SeekCorrection::Flushed(int32_t timeMs) {
  Lock lock(mutex_);
  clock_.Restart(timeMs);
  // Blocks decoded before the decoder took our seek may have matched their own
  // fingerprints and passed the target; its flush marks where the sought audio
  // begins, so the search and the target start over from here.
  if (seekInFlight_) {
    searching_ = true;
    hasTarget_ = true;
    target_ = seekTarget_;
    seekInFlight_ = false;
  }
}

void Mp3SeekCorrection::StartSearch(int32_t seekPoint, int32_t target, Mp3SeekAction& action) {
  searching_ = true;
  flushRequested_ = true;
  hasTarget_ = true;
  target_ = target;
  seekInFlight_ = true;
  seekTarget_ = target;
  action.seekDecoder = true;
  action.seekTo = std::max(seekPoint, 0);
}

Mp3SeekAction Mp3SeekCorrection::Seek(int32_t targetMs) {
  Mp3SeekAction action;
  Lock lock(mutex_);
  const int32_t highest = table_.HighestRecorded();
  const int32_t clock = clock_.Milliseconds();
  // Into what was heard: a little before the target, so the decoder's error either
  // way lands in recorded audio, which the writes then recognise. Back into what was
  // not recorded (the end of a long song, past the last entry) the same way: decoding
  // on and dropping would never go back, and the seek would be lost.
  if (targetMs <= highest || targetMs < clock) {
    StartSearch(targetMs - kFingerprintSearchReach, targetMs, action);
  } else if (highest - kFingerprintSearchReach > clock) {
    // Past what was heard, from well before it: back to the edge of the known audio
    // first, then decode on from there.
    StartSearch(highest - kFingerprintSearchReach, targetMs, action);
  } else {
    // Past what was heard, from near its edge: the decoder is not moved; its audio is
    // dropped until the clock passes the target.
    flushRequested_ = true;
    hasTarget_ = true;
    target_ = targetMs;
    seekInFlight_ = false;
  }
  return action;
}

int32_t Mp3SeekCorrection::OutputTime(int32_t writtenMs, int32_t outputMs) const {
  int64_t clock;
  {
    Lock lock(mutex_);
    clock = clock_.Milliseconds();
  }
  int64_t time = clock - static_cast<int64_t>(writtenMs) + outputMs;
  return static_cast<int32_t>(std::clamp<int64_t>(time, INT32_MIN, INT32_MAX));
}

Mp3SeekCorrection::Snapshot Mp3SeekCorrection::State() const {
  Lock lock(mutex_);
  return {clock_.Milliseconds(), clock_.Base(), clock_.Frames(), searching_, hasTarget_, target_,
          table_.HighestRecorded(), table_.Interval(), table_.LastComparisons()};
}
