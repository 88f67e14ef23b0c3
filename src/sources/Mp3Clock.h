#pragma once
// The MP3 correction's own clock: the playing time counted from the audio actually
// handed to the output module, instead of the decoder's own (drifting) idea of it.

#include <cstdint>

// The PCM format the decoder writes. The player's MP3 decoder always writes 16-bit
// samples; the rate and channel count come from its stream information.
struct Mp3StreamFormat {
  int sampleRate = 44100;  // Hz
  int channels = 2;
  int bitsPerSample = 16;

  int FrameBytes() const { return bitsPerSample / 8 * channels; }
};

// How the clock counts. kFrames keeps the exact sample-frame count; kBlockMilliseconds
// (FixTimeMP3 off) adds each block's length in whole milliseconds, truncated, as the
// player itself counts.
enum class Mp3ClockMode { kFrames, kBlockMilliseconds };

// Applies the decoder's stream information: a sample rate in kHz (11, 22 and 44 are
// the 11025, 22050 and 44100 families; -1 for unchanged) and a channel count (-1 for
// unchanged). Values out of the sane range keep the previous ones. True when accepted.
bool ApplyStreamInfo(Mp3StreamFormat& format, int sampleRateKHz, int channels);

// Time in milliseconds = frames * 1000 / sample rate + base, in 64-bit arithmetic.
class Mp3Clock {
 public:
  explicit Mp3Clock(Mp3ClockMode mode = Mp3ClockMode::kFrames) : mode_(mode) {}

  Mp3ClockMode Mode() const { return mode_; }
  const Mp3StreamFormat& Format() const { return format_; }
  // The stream information, as ApplyStreamInfo. Frames counted at an old sample rate
  // are folded into the base first, so a change of rate does not move the time.
  bool SetStreamInfo(int sampleRateKHz, int channels);

  // Starts again at baseMs with no frames (a flush to that time).
  void Restart(int32_t baseMs);
  // Back to a position taken from a fingerprint.
  void Set(int32_t baseMs, int64_t frames);
  // Counts a block of `bytes` bytes of audio.
  void Advance(int bytes);

  int32_t Milliseconds() const;
  int32_t Base() const { return base_; }
  int64_t Frames() const { return frames_; }

 private:
  Mp3ClockMode mode_;
  Mp3StreamFormat format_;
  int32_t base_ = 0;
  int64_t frames_ = 0;
  int carryBytes_ = 0;  // the part of a frame a block ended in, counted with the next
};
