#pragma once
// The test MP3 input module's settings, set by a test through the module's export
// before play (or before a seek, for the seek's error). The module "decodes" a
// synthetic stream: blocks of 1152 sample frames of 16-bit audio whose first eight
// bytes hold the index of their first frame, so the output can tell exactly which
// audio it plays, and whose other bytes follow from that index, so every block has
// its own fingerprint.

#include <atomic>
#include <cstdint>
#include <cstring>

struct TestInputControl {
  std::atomic<int> lengthMs{240000};
  std::atomic<int> sampleRateKHz{44};  // as reported: 44 is 44,100 Hz
  std::atomic<int> channels{2};
  // Where a seek lands, from the point it was sent to. The module still reports the
  // point it was sent to, and flushes the output to it, as a drifting decoder does.
  std::atomic<int> seekErrorMs{0};
  // Stream information reports with a zero rate and channel count, before each block.
  std::atomic<bool> garbledStreamInfo{false};
  std::atomic<int> seeksTaken{0};
};

constexpr char kTestInputControlExport[] = "testInputControl";
typedef TestInputControl*(__cdecl* GetTestInputControlProc)();

constexpr int kTestBlockFrames = 1152;

// The first frame of a block, as the module wrote it.
inline int64_t TestBlockFrame(const char* block, int bytes) {
  int64_t frame = -1;
  if (bytes >= static_cast<int>(sizeof frame)) std::memcpy(&frame, block, sizeof frame);
  return frame;
}
