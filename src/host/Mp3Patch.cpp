#include "host/Mp3Patch.h"

#include <chrono>
#include <memory>

#include "host/PluginDescription.h"
#include "host/ScopedHandles.h"
#include "host/WinampModules.h"
#include "sources/CallsInProgress.h"
#include "sources/Mp3SeekCorrection.h"
#include "sources/PatchSlots.h"

namespace {

using PlayFn = decltype(WinampInModule::Play);
using StopFn = decltype(WinampInModule::Stop);
using OutputTimeFn = decltype(WinampInModule::GetOutputTime);
using SeekFn = decltype(WinampInModule::SetOutputTime);
using SetInfoFn = decltype(WinampInModule::SetInfo);
using WriteFn = decltype(WinampOutModule::Write);
using FlushFn = decltype(WinampOutModule::Flush);

// A call stuck in the player's code this long at quit will not come back soon; our
// code then stays loaded rather than vanish under it.
constexpr std::chrono::milliseconds kRemoveWait{2000};

// Static, not on the heap: a call that reached one of our functions just before its
// slot was put back still finds the saved function to go on to, and the count to
// hold, after removal. Only the correction itself (with its 1.3 MB table) goes.
CallsInProgress gCalls;
SlotPatch<PlayFn> gPlay;
SlotPatch<StopFn> gStop;
SlotPatch<OutputTimeFn> gOutputTime;
SlotPatch<SeekFn> gSeek;
SlotPatch<SetInfoFn> gSetInfo;
SlotPatch<WriteFn> gWrite;
SlotPatch<FlushFn> gFlush;

// Set from install to removal; our functions only pass calls on without it.
Mp3SeekCorrection* gCorrection = nullptr;
std::unique_ptr<Mp3SeekCorrection> gOwnedCorrection;
WinampInModule* gInput = nullptr;
// The output module of the song started through us, while its slots hold ours.
WinampOutModule* gOutput = nullptr;
OwnedModule gModule;

Mp3SeekCorrection* Active() { return __atomic_load_n(&gCorrection, __ATOMIC_ACQUIRE); }
WinampOutModule* ActiveOutput() { return __atomic_load_n(&gOutput, __ATOMIC_ACQUIRE); }

template <typename T>
T Saved(const SlotPatch<T>& patch) {
  return SlotLoad(&patch.saved);
}

template <typename T>
void Patch(SlotPatch<T>& patch, T* slot, T ours) {
  patch.slot = slot;
  patch.ours = ours;
  PatchSlots(&patch, 1);
}

// Answers 1 when another plug-in has patched over ours. A slot put back is forgotten:
// the output module's table may be gone by the time we are removed.
template <typename T>
int Restore(SlotPatch<T>& patch) {
  int chained = 0;
  RestoreSlots(&patch, 1, &chained);
  if (!patch.patched) patch.slot = nullptr;
  return chained;
}

int RestoreOutput() {
  __atomic_store_n(&gOutput, nullptr, __ATOMIC_RELEASE);
  return Restore(gSetInfo) + Restore(gWrite) + Restore(gFlush);
}

int __cdecl OurWrite(char* data, int bytes);
void __cdecl OurFlush(int timeMs);
void __cdecl OurSetInfo(int bitRate, int sampleRateKHz, int channels, int synchronised);

// The decoding thread starts inside the saved start: the output's write and flush and
// the stream information are ours before it.
void PatchOutput(WinampInModule* input) {
  WinampOutModule* output = input->outMod;
  // An output without the functions our clock asks for keeps the decoder's own time.
  if (output && (!output->Write || !output->Flush || !output->GetOutputTime || !output->GetWrittenTime))
    output = nullptr;
  // The user may have chosen another output module since the last song.
  if (gWrite.slot && (!output || gWrite.slot != &output->Write)) RestoreOutput();
  Patch(gSetInfo, &input->SetInfo, &OurSetInfo);
  if (!output) return;
  Patch(gWrite, &output->Write, &OurWrite);
  Patch(gFlush, &output->Flush, &OurFlush);
  __atomic_store_n(&gOutput, output, __ATOMIC_RELEASE);
}

int __cdecl OurPlay(char* file) {
  CallsInProgress::Guard guard(gCalls);
  PlayFn play = Saved(gPlay);
  Mp3SeekCorrection* correction = Active();
  if (!correction) return play(file);
  correction->BeginSong();
  PatchOutput(gInput);
  int result = play(file);
  if (result == 0) {
    correction->SongStarted(gInput->GetLength());
  } else {
    RestoreOutput();
    correction->EndSong();
  }
  return result;
}

void __cdecl OurStop() {
  CallsInProgress::Guard guard(gCalls);
  StopFn stop = Saved(gStop);
  if (Mp3SeekCorrection* correction = Active()) {
    RestoreOutput();
    correction->EndSong();
  }
  stop();
}

int __cdecl OurOutputTime() {
  CallsInProgress::Guard guard(gCalls);
  Mp3SeekCorrection* correction = Active();
  WinampOutModule* output = ActiveOutput();
  // A song that did not start through us is the decoder's own.
  if (!correction || !output) return Saved(gOutputTime)();
  return correction->OutputTime(output->GetWrittenTime(), output->GetOutputTime());
}

void __cdecl OurSeek(int timeMs) {
  CallsInProgress::Guard guard(gCalls);
  SeekFn seek = Saved(gSeek);
  Mp3SeekCorrection* correction = Active();
  if (!correction || !ActiveOutput()) return seek(timeMs);
  Mp3SeekAction action = correction->Seek(timeMs);
  if (action.seekDecoder) seek(action.seekTo);
}

void __cdecl OurSetInfo(int bitRate, int sampleRateKHz, int channels, int synchronised) {
  CallsInProgress::Guard guard(gCalls);
  if (Mp3SeekCorrection* correction = Active()) correction->SetStreamInfo(sampleRateKHz, channels);
  if (SetInfoFn setInfo = Saved(gSetInfo)) setInfo(bitRate, sampleRateKHz, channels, synchronised);
}

int __cdecl OurWrite(char* data, int bytes) {
  CallsInProgress::Guard guard(gCalls);
  WriteFn write = Saved(gWrite);
  Mp3SeekCorrection* correction = Active();
  if (!correction) return write(data, bytes);
  Mp3WriteAction action = correction->Write(data, bytes);
  // The saved flush: ours would restart the clock at the flush's time.
  if (action.flush) Saved(gFlush)(action.flushTo);
  if (action.pauseAfterFlush) Sleep(1);
  return action.write ? write(data, bytes) : 0;
}

void __cdecl OurFlush(int timeMs) {
  CallsInProgress::Guard guard(gCalls);
  Saved(gFlush)(timeMs);
  if (Mp3SeekCorrection* correction = Active()) correction->Flushed(timeMs);
}

// Empty when the plug-in's own path is unknown: a bare name would be searched for
// along the system's path and could load anything of that name.
WString InputModulePath(HINSTANCE plugin) {
  WString path = ModulePath(plugin);
  const size_t slash = path.FindLast(u'\\');
  if (slash == WString::npos) return WString();
  path = path.Substr(0, slash + 1);
  return path.Append(WString(u"in_mp3.dll"));
}

// Our functions stay reachable: the code must outlive the unloading of the library.
void PinThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCSTR>(&gCalls), &module);
}

}  // namespace

bool InstallMp3Correction(HINSTANCE plugin, bool countBlockMilliseconds) {
  if (Active()) return true;
  const WString path = InputModulePath(plugin);
  if (path.IsEmpty()) return false;
  OwnedModule module(LoadLibraryW(path.W()));
  if (!module) return false;
  auto get = reinterpret_cast<GetInModuleProc>(reinterpret_cast<void*>(GetProcAddress(module.Get(), kInputModuleExport)));
  WinampInModule* input = get ? get() : nullptr;
  if (!input || input->version != kInputModuleVersion) return false;
  // Every function we wrap or ask must be there to be called.
  if (!input->Play || !input->Stop || !input->GetLength || !input->GetOutputTime || !input->SetOutputTime) return false;
  auto correction = std::make_unique<Mp3SeekCorrection>(countBlockMilliseconds ? Mp3ClockMode::kBlockMilliseconds
                                                                                : Mp3ClockMode::kFrames);
  if (!correction->Allocate()) return false;
  gModule = std::move(module);
  gInput = input;
  gOwnedCorrection = std::move(correction);
  // Published before the first slot changes: a call through it finds the correction.
  __atomic_store_n(&gCorrection, gOwnedCorrection.get(), __ATOMIC_RELEASE);
  Patch(gPlay, &input->Play, &OurPlay);
  Patch(gStop, &input->Stop, &OurStop);
  Patch(gOutputTime, &input->GetOutputTime, &OurOutputTime);
  Patch(gSeek, &input->SetOutputTime, &OurSeek);
  return true;
}

void RemoveMp3Correction() {
  if (!Active()) return;
  int chained = Restore(gPlay) + Restore(gStop) + Restore(gOutputTime) + Restore(gSeek) + RestoreOutput();
  // From here our functions only pass calls on; the ones still inside finish first.
  __atomic_store_n(&gCorrection, nullptr, __ATOMIC_RELEASE);
  const bool idle = gCalls.WaitUntilIdle(kRemoveWait);
  if (chained > 0 || !idle) PinThisModule();
  gInput = nullptr;
  gModule.Reset();
  // A call that never left may still be using it.
  if (idle) {
    gOwnedCorrection.reset();
  } else {
    (void)gOwnedCorrection.release();
  }
}
