// The MP3 correction's seeks, against a synthetic decoder whose blocks carry their own
// frame index and which lands off target after a seek, as the player's decoder does.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "sources/Mp3SeekCorrection.h"

namespace {

constexpr int kBlockBytes = 4608;  // 1152 frames of 16-bit stereo at 44.1 kHz
constexpr int kBlockFrames = 1152;

class SyntheticPlayback {
 public:
  SyntheticPlayback(Mp3ClockMode mode, int32_t lengthMs) : correction(mode), block_(kBlockBytes) {
    EXPECT_TRUE(correction.Allocate());
    correction.BeginSong();
    correction.SongStarted(lengthMs);
  }

  // The decoder writes its next block through the correction; true when it reached
  // the output module.
  bool DecodeBlock() {
    int64_t frame = nextBlock_++ * kBlockFrames;
    for (int word = 0; word < kBlockBytes / 8; ++word) {
      int64_t value = frame * 1000 + word;
      std::memcpy(&block_[word * 8], &value, 8);
    }
    last = correction.Write(block_.data(), kBlockBytes);
    if (last.flush) ++flushes;
    return last.write;
  }
  void PlayFor(int32_t ms) {
    for (int64_t blocks = int64_t{ms} * 44100 / 1000 / kBlockFrames; blocks > 0; --blocks) DecodeBlock();
  }
  // The user's seek. The decoder writes `staleBlocks` blocks from where it was, then
  // lands `errorMs` from where it was sent and flushes to where it believes it is.
  Mp3SeekAction Seek(int32_t targetMs, int32_t errorMs, int staleBlocks = 0) {
    Mp3SeekAction action = correction.Seek(targetMs);
    for (int i = 0; i < staleBlocks; ++i) DecodeBlock();
    if (action.seekDecoder) {
      nextBlock_ = (int64_t{action.seekTo} + errorMs) * 44100 / 1000 / kBlockFrames;
      correction.Flushed(action.seekTo);
    }
    return action;
  }
  // The index of the first block the output hears.
  int64_t DecodeUntilHeard() {
    while (!DecodeBlock()) {
    }
    return nextBlock_ - 1;
  }

  Mp3SeekCorrection correction;
  Mp3WriteAction last;
  int flushes = 0;

 private:
  std::vector<uint8_t> block_;
  int64_t nextBlock_ = 0;
};

TEST(Mp3SeekCorrectionTest, SeeksLandOnTheTruePosition) {
  // First heard block b: the first whose end passes the target. Frames: 1152 per
  // block at 44.1 kHz, so b = 2296 for 60 s (its end at 60003 ms); block count: 26 ms
  // a block, so b = 2307 (60008 ms).
  constexpr auto kF = Mp3ClockMode::kFrames, kB = Mp3ClockMode::kBlockMilliseconds;
  struct Row { Mp3ClockMode mode; int32_t length, heard, before, target, error; int stale; int32_t seekTo; int64_t block; int32_t clock; };
  const Row rows[] = {
      {kF, 240000, 90000, -1, 60000, 0, 0, 56000, 2296, 60003},
      {kF, 240000, 90000, -1, 60000, 3900, 0, 56000, 2296, 60003},
      {kF, 240000, 90000, -1, 60000, -3000, 0, 56000, 2296, 60003},
      {kB, 240000, 90000, -1, 60000, 1500, 0, 56000, 2307, 60008},
      {kB, 240000, 90000, -1, 60000, -2500, 0, 56000, 2307, 60008},
      // Blocks decoded before the decoder took the seek do not end the search.
      {kF, 240000, 90000, -1, 60000, 2000, 3, 56000, 2296, 60003},
      {kF, 240000, 90000, -1, 2000, 0, 0, 0, 76, 2011},
      // Past what was heard, from far before it: back to its edge first.
      {kF, 240000, 90000, 10000, 120000, 1000, 0, 85913, 4593, 120006},
      // Back into the end of a 30-minute song, past the last entry of the table.
      {kF, 1800000, 1799000, -1, 1795000, 700, 0, 1791000, 68714, 1795004},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.heard << " -> " << row.target << " error " << row.error);
    SyntheticPlayback playback(row.mode, row.length);
    playback.PlayFor(row.heard);
    if (row.before >= 0) {
      playback.Seek(row.before, 0);
      playback.DecodeUntilHeard();
    }
    Mp3SeekAction action = playback.Seek(row.target, row.error, row.stale);
    EXPECT_TRUE(action.seekDecoder);
    EXPECT_EQ(action.seekTo, row.seekTo);
    EXPECT_EQ(playback.DecodeUntilHeard(), row.block);
    EXPECT_EQ(playback.correction.State().clockMs, row.clock);
    EXPECT_TRUE(playback.last.flush && playback.last.pauseAfterFlush);
    EXPECT_EQ(playback.last.flushTo, row.clock);
    EXPECT_FALSE(playback.correction.State().searching);
    // The output's own clock restarts at the flush; the position is ours less its buffer.
    EXPECT_EQ(playback.correction.OutputTime(row.clock + 26, row.clock - 300), row.clock - 326);
  }
}

TEST(Mp3SeekCorrectionTest, SeekPastTheHeardDecodesOnAndDrops) {
  SyntheticPlayback playback(Mp3ClockMode::kFrames, 240000);
  playback.PlayFor(30000);
  Mp3SeekAction action = playback.Seek(120000, 0);
  EXPECT_FALSE(action.seekDecoder);
  // The seek's flush waits for the decoding thread's next write.
  EXPECT_FALSE(playback.DecodeBlock());
  EXPECT_TRUE(playback.last.flush);
  EXPECT_EQ(playback.last.flushTo, 0);
  EXPECT_FALSE(playback.last.pauseAfterFlush);
  EXPECT_EQ(playback.DecodeUntilHeard(), 4593);
  EXPECT_EQ(playback.last.flushTo, 120006);
  EXPECT_EQ(playback.flushes, 2);
  // Heard audio is recorded again, so a seek back into it searches.
  playback.PlayFor(1000);
  EXPECT_TRUE(playback.correction.Seek(120500).seekDecoder);
}

TEST(Mp3SeekCorrectionTest, DecoderFlushRestartsTheClockAndStopClearsTheSeek) {
  SyntheticPlayback playback(Mp3ClockMode::kFrames, 240000);
  playback.PlayFor(5000);
  playback.correction.Flushed(42000);
  EXPECT_EQ(playback.correction.State().clockMs, 42000);
  playback.correction.Seek(1000);
  playback.correction.EndSong();
  auto state = playback.correction.State();
  EXPECT_FALSE(state.searching || state.hasTarget);
  EXPECT_TRUE(playback.DecodeBlock());
  EXPECT_FALSE(playback.last.flush);
}

}  // namespace
