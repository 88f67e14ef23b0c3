#pragma once
// Fingerprints of the audio heard so far: for every interval of the song, the first
// bytes of the first block written in it and where the clock stood. After a seek the
// decoder lands somewhere near where it was asked to; matching its blocks against
// these finds where it really is.

#include <cstddef>
#include <cstdint>
#include <memory>

constexpr int kFingerprintEntries = 11000;
constexpr size_t kFingerprintBytes = 100;
// A short song would otherwise get intervals of a few milliseconds, shorter than a block.
constexpr int32_t kMinFingerprintInterval = 100;
// How far from where the clock believes it is a search looks, either way.
constexpr int32_t kFingerprintSearchReach = 4000;

struct Mp3Fingerprint {
  uint32_t used;
  int32_t base;    // the clock's base and frame count when the block was written
  int64_t frames;
  uint8_t bytes[kFingerprintBytes];
};

class Mp3Fingerprints {
 public:
  // The table is 1.3 MB: allocated once, and a failure is answered, not thrown.
  bool Allocate();
  bool Allocated() const { return entries_ != nullptr; }

  // A new song: forgets every entry. The interval is the length / 11,000, at least
  // kMinFingerprintInterval; the length is 0 until the decoder has told it.
  void Clear();
  void SetSongLength(int32_t lengthMs);
  int32_t Interval() const { return interval_; }
  int32_t HighestRecorded() const { return highestRecorded_; }

  // Keeps the block written at clock `clockMs` (base + frames) when its interval has no
  // entry yet. True when kept.
  bool Record(int32_t clockMs, int32_t base, int64_t frames, const void* block, int bytes);
  // The entry within kFingerprintSearchReach of clockMs whose bytes start the block,
  // nearest first; null when none does.
  const Mp3Fingerprint* Find(int32_t clockMs, const void* block, int bytes) const;
  // The number of 100-byte comparisons the last Find made (for the measurements).
  int LastComparisons() const { return lastComparisons_; }

 private:
  std::unique_ptr<Mp3Fingerprint[]> entries_;
  int32_t interval_ = kMinFingerprintInterval;
  int32_t songLength_ = 0;
  int32_t highestRecorded_ = 0;
  mutable int lastComparisons_ = 0;
};
