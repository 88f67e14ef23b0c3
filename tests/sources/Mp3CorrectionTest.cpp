// The MP3 correction: clock, stream information, table bounds, slot patching, calls in
// progress, and seeks against a synthetic decoder that lands off target as the player's does.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "sources/CallsInProgress.h"
#include "sources/Mp3Clock.h"
#include "sources/Mp3Fingerprints.h"
#include "sources/Mp3SeekCorrection.h"
#include "sources/PatchSlots.h"

namespace {

constexpr auto kF = Mp3ClockMode::kFrames, kB = Mp3ClockMode::kBlockMilliseconds;

TEST(Mp3ClockTest, CountsTheAudioWrittenInEitherMode) {
  // 4608 bytes of 16-bit stereo at 44.1 kHz are 1152 frames, 26.12 ms: counting
  // blocks in whole milliseconds loses 0.12 ms a block, counting frames nothing.
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

// Blocks that carry their own frame index, so each has its own fingerprint.
constexpr int kBlockBytes = 4608, kBlockFrames = 1152;  // 16-bit stereo at 44.1 kHz

struct SyntheticPlayback {
  SyntheticPlayback(Mp3ClockMode mode, int32_t lengthMs) : correction(mode) {
    correction.Allocate(), correction.BeginSong(), correction.SongStarted(lengthMs);
  }
  // The next block, through the correction; true when the output got it.
  bool DecodeBlock() {
    int64_t frame = nextBlock++ * kBlockFrames;
    std::memcpy(block.data(), &frame, sizeof frame);
    last = correction.Write(block.data(), kBlockBytes);
    if (seeking) firstAfterSeek = last, seeking = false;
    return last.write;
  }
  void PlayFor(int32_t ms) { for (int64_t n = int64_t{ms} * 44100 / 1000 / kBlockFrames; n > 0; --n) DecodeBlock(); }
  // The decoder writes `staleBlocks` blocks from where it was, then lands `errorMs`
  // from where it was sent and flushes to where it believes it is.
  Mp3SeekAction Seek(int32_t targetMs, int32_t errorMs, int staleBlocks = 0) {
    Mp3SeekAction action = correction.Seek(targetMs);
    seeking = true;
    for (int i = 0; i < staleBlocks; ++i) DecodeBlock();
    if (action.seekDecoder)
      nextBlock = (int64_t{action.seekTo} + errorMs) * 44100 / 1000 / kBlockFrames, correction.Flushed(action.seekTo);
    return action;
  }
  int64_t DecodeUntilHeard() { while (!DecodeBlock()) continue; return nextBlock - 1; }

  Mp3SeekCorrection correction;
  Mp3WriteAction last, firstAfterSeek;
  bool seeking = false;
  std::vector<uint8_t> block = std::vector<uint8_t>(kBlockBytes);
  int64_t nextBlock = 0;
};

TEST(Mp3SeekCorrectionTest, SeeksLandOnTheTruePosition) {
  // The first block heard is the first whose end passes the target. Frames: 1152 a
  // block at 44.1 kHz, so 2296 for 60 s (its end at 60003 ms); block count: 26 ms a
  // block, so 2307 (60008 ms). seekTo -1: the decoder is not moved.
  struct Row { Mp3ClockMode mode; int32_t length, heard, before, target, error; int stale; int32_t seekTo; int64_t block; int32_t clock; };
  for (const Row& row : {
           Row{kF, 240000, 90000, -1, 60000, 0, 0, 56000, 2296, 60003}, {kF, 240000, 90000, -1, 60000, 3900, 0, 56000, 2296, 60003},
           {kF, 240000, 90000, -1, 60000, -3000, 0, 56000, 2296, 60003}, {kF, 240000, 90000, -1, 2000, 0, 0, 0, 76, 2011},
           {kB, 240000, 90000, -1, 60000, 1500, 0, 56000, 2307, 60008}, {kB, 240000, 90000, -1, 60000, -2500, 0, 56000, 2307, 60008},
           // Blocks decoded before the decoder took the seek do not end the search.
           {kF, 240000, 90000, -1, 60000, 2000, 3, 56000, 2296, 60003},
           // Past what was heard: decoded and dropped; from far before it, back to its edge first.
           {kF, 240000, 30000, -1, 120000, 0, 0, -1, 4593, 120006}, {kF, 240000, 90000, 10000, 120000, 1000, 0, 85913, 4593, 120006},
           // Back into the end of a 30-minute song, past the last entry of the table.
           {kF, 1800000, 1799000, -1, 1795000, 700, 0, 1791000, 68714, 1795004}}) {
    SCOPED_TRACE(testing::Message() << row.heard << " -> " << row.target << " error " << row.error);
    SyntheticPlayback playback(row.mode, row.length);
    playback.PlayFor(row.heard);
    if (row.before >= 0) playback.Seek(row.before, 0), playback.DecodeUntilHeard();
    Mp3SeekAction action = playback.Seek(row.target, row.error, row.stale);
    EXPECT_EQ(action.seekDecoder ? action.seekTo : -1, row.seekTo);
    EXPECT_EQ(playback.DecodeUntilHeard(), row.block);
    EXPECT_EQ(playback.correction.State().clockMs, row.clock);
    // The seek's flush is handed over with the decoding thread's next write.
    EXPECT_TRUE(playback.firstAfterSeek.flush && playback.last.flush && playback.last.pauseAfterFlush &&
                playback.last.flushTo == row.clock);
    // The output's own clock restarts at the flush; the position is ours less its buffer.
    EXPECT_EQ(playback.correction.OutputTime(row.clock + 26, row.clock - 300), row.clock - 326);
  }
}

}  // namespace
