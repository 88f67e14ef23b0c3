#include "player/modules/ManualOutput.h"

#include <algorithm>
#include <deque>
#include <mutex>

#include "player/modules/TestInputControl.h"

namespace manual_output {
namespace {

struct Block {
  int64_t frame;  // the song's frame the block begins with (-1: not a test block)
  int64_t bytes;
};

// Written by the decoding thread, played and asked by the player's thread.
struct State {
  std::mutex mutex;
  int rate = 44100, frameBytes = 4;
  int64_t baseMs = 0;  // the time of the last flush
  int64_t written = 0, played = 0;  // bytes since then
  std::deque<Block> queue;
  int64_t consumed = 0;  // bytes of the first block played
  int64_t headFrame = -1;
  int64_t taken = 0;
  bool paused = false;

  int64_t BytesPerSecond() const { return static_cast<int64_t>(rate) * frameBytes; }
  int64_t Capacity() const { return kBufferMs * BytesPerSecond() / 1000; }
  void Reset(int64_t timeMs) {
    baseMs = timeMs;
    written = played = consumed = 0;
    queue.clear();
    headFrame = -1;
  }
};

State gState;
using Lock = std::lock_guard<std::mutex>;

int __cdecl Open(int rate, int channels, int bitsPerSample, int, int) {
  if (rate <= 0 || channels <= 0 || bitsPerSample <= 0) return -1;
  Lock lock(gState.mutex);
  gState.rate = rate;
  gState.frameBytes = channels * bitsPerSample / 8;
  gState.Reset(0);
  gState.taken = 0;
  gState.paused = false;
  return 0;
}

void __cdecl Close() {
  Lock lock(gState.mutex);
  gState.Reset(0);
}

int __cdecl Write(char* data, int bytes) {
  if (bytes <= 0) return 0;
  Lock lock(gState.mutex);
  gState.queue.push_back({TestBlockFrame(data, bytes), bytes});
  gState.written += bytes;
  gState.taken += bytes;
  return 0;
}

int __cdecl CanWrite() {
  Lock lock(gState.mutex);
  return static_cast<int>(std::max<int64_t>(0, gState.Capacity() - (gState.written - gState.played)));
}

int __cdecl IsPlaying() {
  Lock lock(gState.mutex);
  return gState.written > gState.played;
}

int __cdecl Pause(int pause) {
  Lock lock(gState.mutex);
  int was = gState.paused;
  gState.paused = pause != 0;
  return was;
}

void __cdecl Flush(int timeMs) {
  Lock lock(gState.mutex);
  gState.Reset(timeMs);
}

int __cdecl OutputTime() {
  Lock lock(gState.mutex);
  return static_cast<int>(gState.baseMs + gState.played * 1000 / gState.BytesPerSecond());
}

int __cdecl WrittenTime() {
  Lock lock(gState.mutex);
  return static_cast<int>(gState.baseMs + gState.written * 1000 / gState.BytesPerSecond());
}

void __cdecl NoWindow(HWND) {}
void __cdecl Nothing() {}
void __cdecl SetLevel(int) {}

}  // namespace

WinampOutModule* Module() {
  static char description[] = "Manual clock output";
  static WinampOutModule module = {0x10,  description, 65536,      nullptr,  nullptr,  NoWindow, NoWindow,
                                   Nothing, Nothing,   Open,       Close,    Write,    CanWrite, IsPlaying,
                                   Pause,   SetLevel,  SetLevel,   Flush,    OutputTime, WrittenTime};
  return &module;
}

int64_t Advance(int64_t frames) {
  Lock lock(gState.mutex);
  int64_t bytes = std::min(frames * gState.frameBytes, gState.written - gState.played);
  const int64_t playedBytes = bytes;
  gState.played += bytes;
  while (bytes > 0 && !gState.queue.empty()) {
    Block& front = gState.queue.front();
    const int64_t take = std::min(bytes, front.bytes - gState.consumed);
    gState.consumed += take;
    bytes -= take;
    gState.headFrame = front.frame < 0 ? -1 : front.frame + gState.consumed / gState.frameBytes;
    if (gState.consumed == front.bytes) gState.queue.pop_front(), gState.consumed = 0;
  }
  return playedBytes / gState.frameBytes;
}

bool Full(int blockBytes) {
  Lock lock(gState.mutex);
  return gState.Capacity() - (gState.written - gState.played) < std::max(blockBytes, 1);
}

int64_t HeadFrame() {
  Lock lock(gState.mutex);
  return gState.headFrame;
}

int64_t BytesTaken() {
  Lock lock(gState.mutex);
  return gState.taken;
}

}  // namespace manual_output
