#pragma once
// The MP3 time and seek correction's state and decisions, shared by the player's two
// threads: its main thread (start, stop, seeks, position queries) and its decoding
// thread (write, flush, stream information). Every call takes the lock for a few
// dozen instructions and never calls out. The patched functions in the Win32 layer
// call the player's saved functions themselves, outside the lock, as the returned
// actions say; a flush of the output always goes to the saved flush, since ours would
// restart the clock.
//
// The patched functions, each holding a CallsInProgress::Guard throughout:
//   start(file)    BeginSong(); patch write, flush, stream information; saved start;
//                  then SongStarted(saved length) or, when it failed, unpatch and EndSong()
//   stop()         unpatch write, flush, stream information; EndSong(); saved stop
//   output time    OutputTime(saved written time, saved output time) of the output module
//   seek(t)        a = Seek(t); a.seekDecoder: saved set-output-time(a.seekTo)
//   stream info    SetStreamInfo(rate, channels); the saved one with the same arguments
//   write(data, n) a = Write(data, n); a.flush: saved flush(a.flushTo); a.pauseAfterFlush:
//                  Sleep(1); a.write: answer the saved write(data, n), else 0
//   flush(t)       saved flush(t); Flushed(t)
// The saved functions are called directly: nothing is unpatched around a call, which
// would open the slots to the other thread.

#include <cstdint>
#include <mutex>

#include "sources/Mp3Clock.h"
#include "sources/Mp3Fingerprints.h"

// What the patched write does with a block, in this order.
struct Mp3WriteAction {
  bool flush = false;             // the saved flush with flushTo
  int32_t flushTo = 0;
  bool pauseAfterFlush = false;   // then a millisecond for the output to settle
  bool write = true;              // the saved write with the block; else answer 0
};

// What the patched set-output-time does after the decision.
struct Mp3SeekAction {
  bool seekDecoder = false;       // the saved set-output-time with seekTo
  int32_t seekTo = 0;
};

class Mp3SeekCorrection {
 public:
  explicit Mp3SeekCorrection(Mp3ClockMode mode) : clock_(mode) {}
  Mp3SeekCorrection(const Mp3SeekCorrection&) = delete;
  Mp3SeekCorrection& operator=(const Mp3SeekCorrection&) = delete;

  // The fingerprint table; without it nothing may be patched.
  bool Allocate();

  // Start playing: BeginSong before the saved start, SongStarted with the decoder's
  // length once it succeeded (EndSong when it failed).
  void BeginSong();
  void SongStarted(int32_t lengthMs);
  void EndSong();

  // The decoder's stream information; the saved function gets the same arguments.
  void SetStreamInfo(int sampleRateKHz, int channels);
  Mp3WriteAction Write(const void* data, int bytes);
  // A flush through our slot (the decoder's own, after a seek), once the saved flush is done.
  void Flushed(int32_t timeMs);
  // A seek by the user.
  Mp3SeekAction Seek(int32_t targetMs);
  // The position the player shows: our clock less what the output still buffers.
  int32_t OutputTime(int32_t writtenMs, int32_t outputMs) const;

  struct Snapshot {
    int32_t clockMs, base;
    int64_t frames;
    bool searching, hasTarget;
    int32_t target, highestRecorded, interval;
    int lastComparisons;
  };
  Snapshot State() const;

 private:
  void StartSearch(int32_t seekPoint, int32_t target, Mp3SeekAction& action);

  mutable std::mutex mutex_;
  Mp3Clock clock_;
  Mp3Fingerprints table_;
  bool searching_ = false;
  bool hasTarget_ = false;      // write drops audio until the clock passes target_
  int32_t target_ = 0;
  bool flushRequested_ = false;  // a seek's flush, carried out by the next write
  bool seekInFlight_ = false;    // the decoder has not flushed for our seek yet
  int32_t seekTarget_ = 0;
};
