// The MP3 correction's clock, stream information, table bounds and slot patching.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "sources/CallsInProgress.h"
#include "sources/Mp3Clock.h"
#include "sources/Mp3Fingerprints.h"
#include "sources/PatchSlots.h"

namespace {

TEST(Mp3ClockTest, CountsTheAudioWrittenInEitherMode) {
  // 4608 bytes of 16-bit stereo at 44.1 kHz are 1152 frames, 26.12 ms: counting
  // blocks in whole milliseconds loses 0.12 ms a block, counting frames nothing.
  constexpr auto kF = Mp3ClockMode::kFrames, kB = Mp3ClockMode::kBlockMilliseconds;
  struct Row { Mp3ClockMode mode; int rateKHz, channels, blockBytes, blocks; int64_t frames; int32_t ms; };
  for (const Row& row : {Row{kF, 44, 2, 4608, 1, 1152, 26}, {kF, 44, 2, 4608, 100, 115200, 2612}, {kB, 44, 2, 4608, 1, 0, 26},
                         {kB, 44, 2, 4608, 100, 0, 2600}, {kF, 48, 1, 4608, 10, 23040, 480}, {kF, 22, 2, 4608, 1, 1152, 52},
                         {kF, 44, 2, 4610, 2, 2305, 52} /* the rest of a frame counts with the next block */}) {
    Mp3Clock clock(row.mode);
    ASSERT_TRUE(clock.SetStreamInfo(row.rateKHz, row.channels));
    for (int i = 0; i < row.blocks; ++i) clock.Advance(row.blockBytes);
    EXPECT_EQ(std::pair(clock.Frames(), clock.Milliseconds()), std::pair(row.frames, row.ms)) << row.blockBytes << " x" << row.blocks;
  }
  Mp3Clock clock;  // a new rate does not move the time: 1 s at 44.1 kHz, then 1 ms at 48 kHz
  for (int i = 0; i < 441; ++i) clock.Advance(400);
  clock.SetStreamInfo(48, -1), clock.Advance(192);
  EXPECT_EQ(clock.Milliseconds(), 1001);
}

TEST(Mp3ClockTest, StreamInformationOutOfRangeKeepsThePreviousFormat) {
  // A zero rate or zero channels would divide by zero on the next write.
  struct Row { int rateKHz, channels; bool accepted; int rate, outChannels; };
  for (const Row& row : {Row{48, -1, true, 48000, 2}, {11, 1, true, 11025, 1}, {22, 2, true, 22050, 2}, {-1, 1, true, 44100, 1},
                         {32, -1, true, 32000, 2}, {0, 2, false, 44100, 2}, {44, 0, false, 44100, 2}, {-2, 1, false, 44100, 2},
                         {48, -7, false, 44100, 2}, {5000000, 2, false, 44100, 2}, {48, 1000, false, 44100, 2}}) {
    Mp3StreamFormat format;
    EXPECT_EQ(ApplyStreamInfo(format, row.rateKHz, row.channels), row.accepted) << row.rateKHz << "/" << row.channels;
    EXPECT_EQ(std::pair(format.sampleRate, format.channels), std::pair(row.rate, row.outChannels)) << row.rateKHz << "/" << row.channels;
  }
}

TEST(Mp3FingerprintsTest, RecordsOnlyInsideTheTableAndTheSong) {
  Mp3Fingerprints table;
  ASSERT_TRUE(table.Allocate());
  table.SetSongLength(1800000);
  // 30 minutes: an interval of 163 ms, so entry 11,000 would start at 1,793,000.
  std::vector<uint8_t> block(4608, 0x5A);
  for (auto [clock, bytes, kept] : {std::tuple{0, 4608, true}, {100, 4608, false}, {1792999, 4608, true}, {1793000, 4608, false},
                                    {1799999, 4608, false}, {1800001, 4608, false}, {-50, 4608, false},
                                    {-1000000, 4608, false}, {5000, 100, false}, {5000, 101, true}})
    EXPECT_EQ(table.Record(clock, 0, 0, block.data(), bytes), kept) << clock;
  EXPECT_EQ(table.HighestRecorded(), 1792999);
}

TEST(PatchSlotsTest, PatchesOnlyOnceAndRestoresOnlyOurs) {
  uintptr_t table[3] = {10, 20, 30};
  SlotPatch<uintptr_t> patches[] = {{&table[0], 100}, {&table[2], 300}, {}};
  EXPECT_EQ(PatchSlots(patches, 3), 2);
  EXPECT_EQ(PatchSlots(patches, 3), 0);  // a second start never saves ours as the previous
  EXPECT_EQ(patches[0].saved, 10u);
  table[2] = 999;  // another plug-in patched over us
  int chained = -1;
  EXPECT_EQ(std::pair(RestoreSlots(patches, 3, &chained), chained), std::pair(1, 1));
  EXPECT_EQ(std::vector<uintptr_t>(table, table + 3), (std::vector<uintptr_t>{10, 20, 999}));
}

TEST(CallsInProgressTest, WaitsForTheLastCallToLeave) {
  CallsInProgress calls;
  auto guard = std::make_unique<CallsInProgress::Guard>(calls);
  EXPECT_FALSE(calls.WaitUntilIdle(std::chrono::milliseconds(5)));
  std::thread leaving([&] { guard.reset(); });
  EXPECT_TRUE(calls.WaitUntilIdle(std::chrono::seconds(10)));
  leaving.join();
}

}  // namespace
