// The MP3 correction's seeks, against a synthetic decoder whose blocks carry their own
// frame index and which lands off target after a seek, as the player's decoder does.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "sources/Mp3SeekCorrection.h"

namespace {

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
    if (action.seekDecoder) nextBlock = (int64_t{action.seekTo} + errorMs) * 44100 / 1000 / kBlockFrames;
    if (action.seekDecoder) correction.Flushed(action.seekTo);
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
  constexpr auto kF = Mp3ClockMode::kFrames, kB = Mp3ClockMode::kBlockMilliseconds;
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
    // The seek's flush waits for the decoding thread's next write.
    EXPECT_TRUE(playback.firstAfterSeek.flush);
    EXPECT_EQ(playback.correction.State().clockMs, row.clock);
    EXPECT_TRUE(playback.last.flush && playback.last.pauseAfterFlush && playback.last.flushTo == row.clock);
    // The output's own clock restarts at the flush; the position is ours less its buffer.
    EXPECT_EQ(playback.correction.OutputTime(row.clock + 26, row.clock - 300), row.clock - 326);
  }
}

}  // namespace
