// What the plug-in thread costs while no plug-in window is open: the plug-in is
// loaded into the substitute player with Open=0 for the Displayer in its plugin.ini,
// a song plays on the real-time clock, and the thread's CPU time (GetThreadTimes) is
// taken over the playback. With neither the Displayer nor the Editor open the loop
// does not tick: it waits for the next message. The Displayer's own cost is measured
// by bench_displayer.
//
//   tools/wine-run build/win64/bench_plugin_thread.exe [seconds] [plugin.dll]

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ThreadCpu.h"
#include "player/SubstitutePlayer.h"

namespace {

std::string BenchFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + "mrlyrics-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
}

// A private copy, so the settings file beside it holds the defaults (Wait 20) but for
// the Displayer, which would otherwise open at start.
std::string CopyPlugin(const char* source) {
  std::string folder = BenchFolder();
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string path = folder + "gen_mrlyrics.dll";
  if (!CopyFileA(source, path.c_str(), FALSE)) return std::string();
  std::string ini = folder + "plugin.ini";
  return WritePrivateProfileStringA("Mirabo's Lyrics Displayer", "Open", "0", ini.c_str()) ? path : std::string();
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

  bool displayerOpen = FindWindowA("Mirabo's Lyrics Displayer", nullptr) != nullptr;
  printf("plug-in thread, no window open, Wait 20: %.1f ms CPU over %.0f ms of playback = %.3f %% of one core\n",
         cpu, wall, 100.0 * cpu / wall);
  if (!displayerOpen) printf("metric: plugin_thread_no_window_cpu_percent %.3f %%\n", 100.0 * cpu / wall);
  CloseHandle(thread);
  player.QuitPlugin();
  player.UnloadPlugin();
  DeleteFileA(plugin.c_str());
  DeleteFileA((BenchFolder() + "plugin.ini").c_str());
  RemoveDirectoryA(BenchFolder().c_str());
  if (displayerOpen) {
    fprintf(stderr, "the Displayer was open: plugin.ini was not read\n");
    return 1;
  }
  return 0;
}
