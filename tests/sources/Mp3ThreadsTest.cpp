// The decoding thread writes, flushes and reports the stream while the main thread
// starts, seeks and asks the position. Natively this also runs under ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>
#include <vector>

#include "sources/Mp3SeekCorrection.h"

TEST(Mp3ThreadsTest, DecodingThreadRacesSeeksAndPositionQueries) {
  Mp3SeekCorrection correction(Mp3ClockMode::kFrames);
  ASSERT_TRUE(correction.Allocate());
  std::atomic<bool> done{false};
  std::thread decoder([&] {
    std::mt19937 random(7);
    std::vector<uint8_t> block(4608);
    for (int i = 0; i < 20000; ++i, block[0] = static_cast<uint8_t>(i)) {
      correction.Write(block.data(), static_cast<int>(block.size()));
      if (random() % 64 == 0) correction.Flushed(static_cast<int32_t>(random() % 240000));
      if (random() % 64 == 0) correction.SetStreamInfo(random() % 2 ? 44 : 48, 1 + random() % 2);
    }
    done = true;
  });
  int32_t lowest = 0;
  for (uint32_t round = 0; !done; ++round, std::this_thread::yield()) {
    if (round % 50 == 0) correction.BeginSong(), correction.SongStarted(240000);
    if (round % 7 == 0) correction.Seek(static_cast<int32_t>(round * 7919 % 240000));
    lowest = std::min(lowest, correction.OutputTime(0, 0));
  }
  decoder.join();
  EXPECT_GE(lowest, 0);  // every flush was to a time in the song, and the clock counts up from it
}
