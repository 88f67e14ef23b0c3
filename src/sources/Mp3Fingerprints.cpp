#include "sources/Mp3Fingerprints.h"

#include <cstring>
#include <new>

bool Mp3Fingerprints::Allocate() {
  if (!entries_) entries_.reset(new (std::nothrow) Mp3Fingerprint[kFingerprintEntries]);
  if (entries_) Clear();
  return entries_ != nullptr;
}

void Mp3Fingerprints::Clear() {
  interval_ = kMinFingerprintInterval;
  songLength_ = 0;
  highestRecorded_ = 0;
  if (!entries_) return;
  for (int i = 0; i < kFingerprintEntries; ++i) entries_[i].used = 0;
}

void Mp3Fingerprints::SetSongLength(int32_t lengthMs) {
  songLength_ = lengthMs;
  interval_ = lengthMs / kFingerprintEntries;
  if (interval_ < kMinFingerprintInterval) interval_ = kMinFingerprintInterval;
}

bool Mp3Fingerprints::Record(int32_t clockMs, int32_t base, int64_t frames, const void* block, int bytes) {
  // A block no longer than the fingerprint could not be told from its neighbours.
  if (!entries_ || bytes <= static_cast<int>(kFingerprintBytes)) return false;
  // The interval is truncated, so a song of about 18 minutes or more runs past entry
  // 11,000 before its end; and a flush to a negative time gives a negative clock
  // (which the division would put into entry 0).
  if (clockMs < 0 || clockMs > songLength_) return false;
  int32_t index = clockMs / interval_;
  if (index >= kFingerprintEntries) return false;
  Mp3Fingerprint& entry = entries_[index];
  if (entry.used) return false;
  std::memcpy(entry.bytes, block, kFingerprintBytes);
  entry.base = base;
  entry.frames = frames;
  entry.used = 1;
  if (clockMs > highestRecorded_) highestRecorded_ = clockMs;
  return true;
}

const Mp3Fingerprint* Mp3Fingerprints::Find(int32_t clockMs, const void* block, int bytes) const {
  lastComparisons_ = 0;
  if (!entries_ || bytes <= static_cast<int>(kFingerprintBytes)) return nullptr;
  // Nearest first, later before earlier: the decoder lands near where it was sent.
  const int32_t reach = kFingerprintSearchReach / interval_;
  const int64_t center = clockMs / interval_;
  auto matches = [&](int64_t index) {
    if (index < 0 || index >= kFingerprintEntries || !entries_[index].used) return false;
    ++lastComparisons_;
    return std::memcmp(entries_[index].bytes, block, kFingerprintBytes) == 0;
  };
  for (int32_t k = 0; k < reach; ++k) {
    if (matches(center + k)) return &entries_[center + k];
    if (k > 0 && matches(center - k)) return &entries_[center - k];
  }
  return nullptr;
}
