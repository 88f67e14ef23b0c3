// The MP3 correction's state between the player's two threads: the decoding thread
// writes, flushes and reports the stream while the main thread starts, seeks and asks
// the position. Natively this program also runs under ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>
#include <vector>

#include "sources/Mp3SeekCorrection.h"

namespace {

TEST(Mp3ThreadsTest, DecodingThreadRacesSeeksAndPositionQueries) {
  constexpr int32_t kLength = 240000;
  Mp3SeekCorrection correction(Mp3ClockMode::kFrames);
  ASSERT_TRUE(correction.Allocate());
  correction.BeginSong();
  correction.SongStarted(kLength);
  std::atomic<bool> done{false};
  std::atomic<int> heard{0};

  std::thread decoder([&] {
    std::mt19937 random(7);
    std::vector<uint8_t> block(4608);
    for (int i = 0; i < 20000; ++i) {
      block[0] = static_cast<uint8_t>(i), block[1] = static_cast<uint8_t>(i >> 8);
      if (correction.Write(block.data(), static_cast<int>(block.size())).write) ++heard;
      switch (random() % 64) {
        case 0: correction.Flushed(static_cast<int32_t>(random() % kLength)); break;
        case 1: correction.SetStreamInfo(random() % 2 ? 44 : 48, 1 + random() % 2); break;
        default: break;
      }
    }
    done = true;
  });

  std::mt19937 random(11);
  int32_t lowest = 0;
  while (!done) {
    switch (random() % 8) {
      case 0: correction.Seek(static_cast<int32_t>(random() % kLength)); break;
      case 1: correction.EndSong(); break;
      case 2: correction.BeginSong(), correction.SongStarted(kLength); break;
      default: lowest = std::min(lowest, correction.OutputTime(0, 0)); break;
    }
    std::this_thread::yield();
  }
  decoder.join();
  // Every flush went to a time within the song and every clock counts up from there.
  EXPECT_GE(lowest, 0);
  EXPECT_GT(heard.load(), 0);
}

}  // namespace
