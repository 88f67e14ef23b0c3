#pragma once
// The background pictures of a song and when each is shown: the song's (or the
// settings') picture file and every picture in its folder, at most 100, in a shuffled
// order that repeats. Picture i starts at i × interval in each cycle.

#include <cstdint>
#include <vector>

#include "base/FileSystem.h"
#include "base/WString.h"
#include "karaoke/core/KaraokeLayout.h"

// Pseudo-random numbers for the shuffle; injected so tests can script them.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual uint32_t Next() = 0;
};

// The screen's own source: a linear congruential generator seeded once.
class SeededRandom : public RandomSource {
 public:
  explicit SeededRandom(uint32_t seed) : state_(seed) {}
  uint32_t Next() override;

 private:
  uint32_t state_;
};

constexpr int kMaxBackgrounds = 100;
constexpr int32_t kDefaultBackgroundInterval = 10000;
// A shorter interval would have a picture decoded nearly every frame.
constexpr int32_t kMinBackgroundInterval = 1000;
constexpr int32_t kBackgroundLookAhead = 10000;  // the next picture loads at most this early

// "bmp", "jpg" or "jpeg" in any case.
bool IsBackgroundPicture(const WString& path);

class BackgroundList {
 public:
  BackgroundList() { paths_.reserve(kMaxBackgrounds); }

  // Rebuilds the list from a file and a folder (either may be empty), skipping what
  // is missing or not a picture, then shuffles it. An interval of 0 or below is the
  // default, a very short one the least.
  void Build(FileSystem& fileSystem, const WString& file, const WString& folder, int32_t interval,
             RandomSource& random);

  int Count() const { return static_cast<int>(paths_.size()); }
  const WString& Path(int i) const { return paths_[i]; }
  int32_t Interval() const { return interval_; }
  int64_t StartTime(int i) const { return int64_t(i) * interval_; }
  int64_t CycleLength() const { return int64_t(Count()) * interval_; }

  // The picture shown at t (negative t counts as 0); -1 when the list is empty.
  int PictureAt(int32_t t) const;
  // The next change after t and the picture it brings; -1 when fewer than two
  // pictures (nothing ever changes).
  int64_t NextChangeAfter(int32_t t) const;
  int NextPictureAfter(int32_t t) const;

 private:
  void Add(FileSystem& fileSystem, const WString& path);

  std::vector<WString> paths_;
  int32_t interval_ = kDefaultBackgroundInterval;
};

// What the background renderer does in a frame.
struct BackgroundStep {
  bool render = false;  // fill with the colour and draw picture `shown`, fully loaded
  int shown = -1;       // the picture on screen (-1: the colour only)
  int load = -1;        // the picture being loaded ahead, or -1
  bool startLoad = false;   // `load` begins now, from nothing
  int32_t permille = 0;     // how far `load` should have got
};

// Which picture is on screen and which loads ahead of its change, so that the
// decoding is spread over the frames before the change.
class BackgroundSchedule {
 public:
  void Reset();
  BackgroundStep Update(const BackgroundList& list, int32_t t, bool force);

 private:
  int shown_ = -1;
  bool hasShown_ = false;
  int64_t pendingStart_ = -1;  // when the loading began
  int64_t pendingChange_ = -1; // when its picture is due
  int pendingPicture_ = -1;
};

// Where a picture of w × h goes on a screen of sw × sh: fitted inside keeping its
// aspect when it is larger than the screen in some direction and `reduce` is on, or
// smaller in both and `enlarge` is on; otherwise at its own size; always centred.
KRect FitPicture(int32_t w, int32_t h, int32_t sw, int32_t sh, bool enlarge, bool reduce);
