// A stand-in for the player's MP3 input module, built as "in_mp3.dll" for the tests
// only. It decodes a synthetic stream on its own thread into the output module,
// honouring CanWrite, and seeks the way the drifting decoder does: on its decoding
// thread it flushes the output to the point it was sent to, reports that point as
// its position, and carries on from a chosen distance away.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "host/WinampModules.h"
#include "player/modules/TestInputControl.h"

namespace {

TestInputControl gControl;
HANDLE gThread = nullptr;
std::atomic<bool> gKill{false};
std::atomic<int> gSeekTo{-1};
std::atomic<bool> gPaused{false};
int gRate = 44100, gChannels = 2;  // of the song playing; set before the thread starts

WinampInModule& Module();

int64_t FrameAt(int64_t ms) { return std::max<int64_t>(0, ms * gRate / 1000) / kTestBlockFrames * kTestBlockFrames; }

void FillBlock(std::vector<char>& block, int64_t frame) {
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>((frame * 7 + static_cast<int64_t>(i) * 13) >> 2);
  std::memcpy(block.data(), &frame, sizeof frame);
}

DWORD WINAPI Decode(void*) {
  WinampInModule& mod = Module();
  WinampOutModule* out = mod.outMod;
  std::vector<char> block(kTestBlockFrames * 2 * gChannels);
  const int64_t lastFrame = static_cast<int64_t>(gControl.lengthMs) * gRate / 1000;
  int64_t frame = 0;
  bool ended = false;
  if (mod.SetInfo) mod.SetInfo(128, gControl.sampleRateKHz, gChannels, 1);
  while (!gKill) {
    int seekTo = gSeekTo.exchange(-1);
    if (seekTo >= 0) {
      frame = FrameAt(static_cast<int64_t>(seekTo) + gControl.seekErrorMs);
      out->Flush(seekTo);
      ended = false;
      ++gControl.seeksTaken;
    }
    if (frame >= lastFrame) {
      // The song has played out once the output has nothing left.
      if (!ended && !out->IsPlaying()) {
        PostMessageA(mod.hMainWindow, kInputEndOfSongMessage, 0, 0);
        ended = true;
      }
      Sleep(1);
      continue;
    }
    if (gPaused || out->CanWrite() < static_cast<int>(block.size())) {
      Sleep(1);
      continue;
    }
    if (gControl.garbledStreamInfo && mod.SetInfo) mod.SetInfo(0, 0, 0, 1);
    FillBlock(block, frame);
    out->Write(block.data(), static_cast<int>(block.size()));
    frame += kTestBlockFrames;
  }
  return 0;
}

void __cdecl Nothing() {}
void __cdecl NoWindow(HWND) {}
void __cdecl GetFileInfo(char*, char* title, int* lengthMs) {
  if (title) title[0] = '\0';
  if (lengthMs) *lengthMs = gControl.lengthMs;
}
int __cdecl InfoBox(char*, HWND) { return 0; }
int __cdecl IsOurFile(char*) { return 0; }

void __cdecl Stop() {
  if (!gThread) return;
  gKill = true;
  WaitForSingleObject(gThread, INFINITE);
  CloseHandle(gThread);
  gThread = nullptr;
  Module().outMod->Close();
}

int __cdecl Play(char*) {
  Stop();
  WinampInModule& mod = Module();
  gChannels = gControl.channels;
  const int rateKHz = gControl.sampleRateKHz;
  gRate = rateKHz == 44 ? 44100 : rateKHz == 22 ? 22050 : rateKHz == 11 ? 11025 : rateKHz * 1000;
  if (!mod.outMod || mod.outMod->Open(gRate, gChannels, 16, -1, -1) < 0) return 1;
  gKill = false;
  gSeekTo = -1;
  gPaused = false;
  gThread = CreateThread(nullptr, 0, Decode, nullptr, 0, nullptr);
  return gThread ? 0 : 1;
}

void __cdecl Pause() { gPaused = true, Module().outMod->Pause(1); }
void __cdecl UnPause() { gPaused = false, Module().outMod->Pause(0); }
int __cdecl IsPaused() { return gPaused; }
int __cdecl GetLength() { return gControl.lengthMs; }
// The point it was sent to, plus what has been played since: off by the seek's error.
int __cdecl GetOutputTime() { return Module().outMod ? Module().outMod->GetOutputTime() : 0; }
void __cdecl SetOutputTime(int timeMs) { gSeekTo = timeMs; }
void __cdecl SetLevel(int) {}

WinampInModule& Module() {
  static char description[] = "Test MP3 input";
  static char extensions[] = "MP3\0MPEG audio (*.MP3)\0";
  static WinampInModule mod = {
      kInputModuleVersion, description, nullptr, nullptr, extensions, 1, 1, NoWindow, NoWindow, Nothing,
      Nothing, GetFileInfo, InfoBox, IsOurFile, Play, Pause, UnPause, IsPaused, Stop, GetLength, GetOutputTime,
      SetOutputTime, SetLevel, SetLevel,
      // Filled in by the player.
      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
      nullptr, nullptr, nullptr};
  return mod;
}

}  // namespace

extern "C" __declspec(dllexport) WinampInModule* __cdecl winampGetInModule2() { return &Module(); }
extern "C" __declspec(dllexport) TestInputControl* __cdecl testInputControl() { return &gControl; }
