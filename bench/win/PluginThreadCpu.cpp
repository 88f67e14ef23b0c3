// What the plug-in thread costs while no plug-in window is open: the plug-in is
// loaded into the substitute player, a song plays on the real-time clock, and the
// thread's CPU time (GetThreadTimes) is taken over the playback. The loop naps in
// 10 ms slices and ticks every Wait ms (20 by default), so this is the price of
// about 100 wake-ups a second.
//
//   tools/wine-run build/win64/bench_plugin_thread.exe [seconds] [plugin.dll]

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "player/SubstitutePlayer.h"

namespace {

double Milliseconds(const FILETIME& time) {
  ULARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / 10000.0;
}

// Kernel plus user time of a thread, in ms.
double ThreadCpuMs(HANDLE thread) {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(thread, &created, &exited, &kernel, &user)) return -1;
  return Milliseconds(kernel) + Milliseconds(user);
}

// A private copy, so the settings file beside it starts from the defaults (Wait 20).
std::string CopyPlugin(const char* source) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "mrlyrics-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string path = folder + "gen_mrlyrics.dll";
  return CopyFileA(source, path.c_str(), FALSE) ? path : std::string();
}

}  // namespace

int main(int argc, char** argv) {
  int seconds = argc > 1 ? atoi(argv[1]) : 30;
  std::string plugin = CopyPlugin(argc > 2 ? argv[2] : MRLYRICS_PLUGIN_PATH);
  if (seconds <= 0 || plugin.empty()) {
    fprintf(stderr, "usage: bench_plugin_thread [seconds] [plugin.dll]\n");
    return 2;
  }
  SubstitutePlayer player;
  PlayerOptions options;
  options.realTimeClock = true;
  if (!player.Create(options) || !player.LoadPlugin(plugin) || !player.InitPlugin()) {
    fprintf(stderr, "the plug-in did not start\n");
    return 1;
  }
  HWND dummy = FindWindowA("Mirabo's Dummy Window", nullptr);
  DWORD threadId = dummy ? GetWindowThreadProcessId(dummy, nullptr) : 0;
  HANDLE thread = threadId ? OpenThread(THREAD_QUERY_INFORMATION, FALSE, threadId) : nullptr;
  if (!thread) {
    fprintf(stderr, "the plug-in thread was not found\n");
    return 1;
  }
  player.SetPlaylist({"C:\\music\\song.mp3"});
  player.SetLength(600);
  player.Play();
  SubstitutePlayer::PumpFor(500);  // past the start

  double cpuBefore = ThreadCpuMs(thread);
  DWORD wallBefore = GetTickCount();
  SubstitutePlayer::PumpFor(seconds * 1000);
  double cpu = ThreadCpuMs(thread) - cpuBefore;
  double wall = static_cast<double>(GetTickCount() - wallBefore);

  printf("plug-in thread, no window open, Wait 20: %.1f ms CPU over %.0f ms of playback = %.3f %% of one core\n",
         cpu, wall, 100.0 * cpu / wall);
  CloseHandle(thread);
  player.QuitPlugin();
  player.UnloadPlugin();
  DeleteFileA(plugin.c_str());
  return 0;
}
