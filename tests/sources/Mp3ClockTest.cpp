// The MP3 correction's clock, stream information, fingerprint table and slot patching.
#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "sources/CallsInProgress.h"
#include "sources/Mp3Clock.h"
#include "sources/Mp3Fingerprints.h"
#include "sources/PatchSlots.h"

namespace {

TEST(Mp3ClockTest, CountsTheAudioWrittenInEitherMode) {
  // 4608 bytes of 16-bit stereo at 44.1 kHz are 1152 frames, 26.12 ms: the block
  // count mode loses the 0.12 ms of every block, the frame mode nothing.
  struct Row { Mp3ClockMode mode; int rateKHz, channels, blockBytes, blocks; int64_t frames; int32_t ms; };
  const Row rows[] = {
      {Mp3ClockMode::kFrames, 44, 2, 4608, 1, 1152, 26},
      {Mp3ClockMode::kFrames, 44, 2, 4608, 100, 115200, 2612},
      {Mp3ClockMode::kBlockMilliseconds, 44, 2, 4608, 1, 0, 26},
      {Mp3ClockMode::kBlockMilliseconds, 44, 2, 4608, 100, 0, 2600},
      {Mp3ClockMode::kFrames, 48, 1, 4608, 10, 23040, 480},
      {Mp3ClockMode::kFrames, 22, 2, 4608, 1, 1152, 52},
      // Blocks that end inside a frame: the rest counts with the next block.
      {Mp3ClockMode::kFrames, 44, 2, 4610, 2, 2305, 52},
      {Mp3ClockMode::kFrames, 44, 2, 0, 3, 0, 0},
  };
  for (const Row& row : rows) {
    Mp3Clock clock(row.mode);
    ASSERT_TRUE(clock.SetStreamInfo(row.rateKHz, row.channels));
    for (int i = 0; i < row.blocks; ++i) clock.Advance(row.blockBytes);
    EXPECT_EQ(clock.Frames(), row.frames) << row.blockBytes << " x" << row.blocks;
    EXPECT_EQ(clock.Milliseconds(), row.ms) << row.blockBytes << " x" << row.blocks;
  }
}

TEST(Mp3ClockTest, FlushesAndRateChangesKeepTheTime) {
  Mp3Clock clock;
  clock.Restart(60000);
  for (int i = 0; i < 441; ++i) clock.Advance(400);  // 100 frames each: 1 s
  EXPECT_EQ(clock.Milliseconds(), 61000);
  ASSERT_TRUE(clock.SetStreamInfo(48, -1));
  EXPECT_EQ(clock.Milliseconds(), 61000);
  clock.Advance(192);  // 48 frames: 1 ms at the new rate
  EXPECT_EQ(clock.Milliseconds(), 61001);
}

TEST(Mp3ClockTest, StreamInformationOutOfRangeKeepsThePreviousFormat) {
  struct Row { int rateKHz, channels; bool accepted; int rate, outChannels; };
  const Row rows[] = {
      {48, -1, true, 48000, 2}, {11, 1, true, 11025, 1}, {22, 2, true, 22050, 2}, {44, -1, true, 44100, 2},
      {32, 2, true, 32000, 2},  {-1, 1, true, 44100, 1}, {-1, -1, true, 44100, 2},
      // A zero rate or zero channels would divide by zero on the next write.
      {0, 2, false, 44100, 2}, {44, 0, false, 44100, 2}, {-2, 2, false, 44100, 2}, {48, -7, false, 44100, 2},
      {5000000, 2, false, 44100, 2}, {48, 1000, false, 44100, 2},
  };
  for (const Row& row : rows) {
    Mp3StreamFormat format;
    EXPECT_EQ(ApplyStreamInfo(format, row.rateKHz, row.channels), row.accepted) << row.rateKHz << "/" << row.channels;
    EXPECT_EQ(format.sampleRate, row.rate) << row.rateKHz << "/" << row.channels;
    EXPECT_EQ(format.channels, row.outChannels) << row.rateKHz << "/" << row.channels;
  }
}

TEST(Mp3FingerprintsTest, IntervalFollowsTheSongLength) {
  Mp3Fingerprints table;
  for (auto [length, interval] : {std::pair<int32_t, int32_t>{240000, 100}, {1800000, 163}, {0, 100}, {-1, 100},
                                  {2147483647, 195225}}) {
    table.SetSongLength(length);
    EXPECT_EQ(table.Interval(), interval) << length;
  }
}

TEST(Mp3FingerprintsTest, RecordsOnlyInsideTheTableAndTheSong) {
  std::vector<uint8_t> block(4608, 0x5A);
  Mp3Fingerprints table;
  ASSERT_TRUE(table.Allocate());
  table.SetSongLength(1800000);  // 30 minutes: interval 163, so entry 11,000 starts at 1,793,000
  struct Row { int32_t clock; int bytes; bool kept; };
  const Row rows[] = {
      {0, 4608, true},         {100, 4608, false},  // entry 0 is taken
      {1792999, 4608, true},   {1793000, 4608, false}, {1799999, 4608, false},
      {1800001, 4608, false},  {-50, 4608, false},  {-1000000, 4608, false},
      {5000, 100, false},      {5000, 101, true},
  };
  for (const Row& row : rows) EXPECT_EQ(table.Record(row.clock, 0, 0, block.data(), row.bytes), row.kept) << row.clock;
  EXPECT_EQ(table.HighestRecorded(), 1792999);
}

TEST(Mp3FingerprintsTest, SearchComparesAtMostTwiceTheReach) {
  Mp3Fingerprints table;
  ASSERT_TRUE(table.Allocate());
  table.SetSongLength(240000);
  std::vector<uint8_t> block(4608);
  for (int32_t clock = 0; clock < 240000; clock += 100) {
    block[0] = static_cast<uint8_t>(clock / 100);
    block[1] = static_cast<uint8_t>(clock / 25600);
    table.Record(clock, clock, 0, block.data(), 4608);
  }
  block[0] = 0xFF, block[1] = 0xFF;  // matches nothing
  EXPECT_EQ(table.Find(120000, block.data(), 4608), nullptr);
  EXPECT_LE(table.LastComparisons(), 2 * 40);
  block[0] = 1210 % 256, block[1] = 121000 / 25600;  // 1 s after the clock
  const Mp3Fingerprint* found = table.Find(120000, block.data(), 4608);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->base, 121000);
  EXPECT_EQ(table.Find(125000, block.data(), 4608), nullptr);  // 4 s away: out of reach
}

TEST(PatchSlotsTest, PatchesOnlyOnceAndRestoresOnlyOurs) {
  uintptr_t table[3] = {10, 20, 30};
  SlotPatch<uintptr_t> patches[] = {{&table[0], 100}, {&table[2], 300}, {}};
  EXPECT_EQ(PatchSlots(patches, 3), 2);
  EXPECT_EQ(PatchSlots(patches, 3), 0);  // a second start: ours is never saved as the previous
  EXPECT_EQ(table[0], 100u);
  EXPECT_EQ(patches[0].saved, 10u);
  EXPECT_EQ(patches[1].saved, 30u);
  table[2] = 999;  // another plug-in patched over us
  int chained = -1;
  EXPECT_EQ(RestoreSlots(patches, 3, &chained), 1);
  EXPECT_EQ(chained, 1);
  EXPECT_EQ(table[0], 10u);
  EXPECT_EQ(table[1], 20u);
  EXPECT_EQ(table[2], 999u);
  EXPECT_EQ(RestoreSlots(patches, 3, &chained), 0);  // a second removal changes nothing
}

TEST(CallsInProgressTest, WaitsForTheLastCallToLeave) {
  CallsInProgress calls;
  EXPECT_TRUE(calls.WaitUntilIdle(std::chrono::milliseconds(0)));
  auto guard = std::make_unique<CallsInProgress::Guard>(calls);
  {
    CallsInProgress::Guard nested(calls);
    EXPECT_EQ(calls.Running(), 2);
  }
  EXPECT_FALSE(calls.WaitUntilIdle(std::chrono::milliseconds(5)));
  std::thread leaving([&] { guard.reset(); });
  EXPECT_TRUE(calls.WaitUntilIdle(std::chrono::seconds(10)));
  leaving.join();
}

}  // namespace
