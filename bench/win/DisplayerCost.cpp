// What the Displayer costs, measured in-process: the application object runs the
// plug-in thread against the substitute player, with the production windows and the
// plug-in's resources linked into this program.
//
//   cpu     A 300-line karaoke song of 15 minutes plays from its middle on the
//           real-time clock with the Displayer open at Wait 20; the plug-in thread's
//           CPU time (GetThreadTimes) over the playback, and what its ticks drew
//           (LyricsView::Ticks: nothing, a wipe strip, a scroll); then the same
//           paused for a third of the time, where the ticks draw nothing; then a
//           bare tick on a thread of its own (one wait, one position query, no
//           window), the least any tick can cost on this system.
//   leaks   Handles owned through ScopedHandles.h, the process's kernel handles and
//           GDI objects (tests/ProcessCensus.h), the plug-in thread's windows and
//           the Displayer's registered classes, counted with the Displayer closed and
//           open, before and after 1,000 song changes (timed, karaoke, untimed and
//           no lyrics in turn) and 100 opens and closes.
//
// Lines "metric: <name> <value> <unit>" are the figures tools/bench checks.
//
//   tools/wine-run build/win64/bench_displayer.exe [cpu [seconds]] [leaks]

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "displayer/DisplayerFrame.h"
#include "displayer/InfoWindow.h"
#include "displayer/LyricsView.h"
#include "settings/MemoryIniFile.h"
#include "host/PluginApp.h"
#include "host/ScopedHandles.h"
#include "host/WinampLink.h"
#include "host/WindowBase.h"
#include "ProcessCensus.h"
#include "ThreadCpu.h"
#include "player/SubstitutePlayer.h"

namespace {

constexpr int kBoundMs = 30000;  // reached only when something hangs
// A thread message the loop ignores: once handled, everything posted before it was.
constexpr UINT kProbeMessage = 0x4FF;

constexpr int kSongLines = 300;
constexpr int kLinePitchMs = 3000;
constexpr int kSongSeconds = kSongLines * kLinePitchMs / 1000;
constexpr int kSongChanges = 1000;
constexpr int kOpenCloseCycles = 100;

// --- Files ----------------------------------------------------------------------

class BenchFolder {
 public:
  BenchFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "mrlyrics-displayer-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~BenchFolder() {
    for (const std::string& file : files_) DeleteFileA(file.c_str());
    RemoveDirectoryA(path_.c_str());
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  std::string Add(const std::string& name) {
    files_.push_back(path_ + name);
    return files_.back();
  }

 private:
  std::string path_;
  std::vector<std::string> files_;
};

// Silence, 8 kHz mono 8-bit: the player takes its length from the file.
bool WriteSilence(const std::string& path, int seconds) {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = 8000;
  format.nAvgBytesPerSec = 8000;
  format.nBlockAlign = 1;
  format.wBitsPerSample = 8;
  return WriteWaveFile(path, format, std::vector<char>(static_cast<size_t>(seconds) * 8000, '\x80'));
}

// Lyrics files are read in the user's code page (932 under tools/wine-run).
bool WriteAnsiText(const std::string& path, const std::wstring& text) {
  int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return false;
  bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && written;
}

std::wstring Stamp(int ms) {
  wchar_t text[16];
  swprintf(text, 16, L"[%02d:%02d:%02d]", ms / 60000, ms / 1000 % 60, ms / 10 % 100);
  return text;
}

// Two kana, different from line to line.
std::wstring Syllable(int n) {
  static const wchar_t kKana[] =
      L"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわ";
  constexpr int kCount = static_cast<int>(sizeof kKana / sizeof kKana[0]) - 1;
  return std::wstring{kKana[n % kCount], kKana[(n * 7 + 3) % kCount]};
}

// One line every kLinePitchMs: a line stamp, then 4 to 8 karaoke stamps (the last one
// ends the line), the syllables sung over 2.5 s of the 3.
std::wstring KaraokeLyrics(int lines) {
  std::wstring text = L"@Title=Displayer Benchmark\r\n@Artist=Nobody\r\n";
  for (int line = 0; line < lines; ++line) {
    const int start = 1000 + line * kLinePitchMs;
    const int stamps = 4 + line % 5;
    const int syllableMs = 2500 / stamps;
    text += Stamp(start);
    for (int s = 0; s < stamps; ++s) {
      text += Syllable(line * 8 + s) + Syllable(line + s);
      text += Stamp(start + (s + 1) * syllableMs);
    }
    text += L"\r\n";
  }
  return text;
}

std::wstring TimedLyrics(int lines) {
  std::wstring text;
  for (int line = 0; line < lines; ++line) {
    text += Stamp(line * kLinePitchMs) + Syllable(line) + Syllable(line * 3) + L"\r\n";
  }
  return text;
}

std::wstring UntimedLyrics(int lines) {
  std::wstring text;
  for (int line = 0; line < lines; ++line) text += Syllable(line) + Syllable(line * 5) + L"\r\n";
  return text;
}

// --- The plug-in thread ---------------------------------------------------------------

// What the plug-in thread owns at one moment, taken on that thread between two messages.
struct Census {
  long scopedHandles = 0;
  ProcessCensus process;  // kernel handles and GDI objects by type
  int threadWindows = 0;      // top-level and child windows
  int registeredClasses = 0;  // of the Displayer's three
  bool displayerOpen = false;
  int lyricLines = 0;
  LyricsView::TickCounts ticks;
};

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK CountWindowAndChildren(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(window, CountWindow, count);
  return TRUE;
}

int RegisteredDisplayerClasses() {
  int count = 0;
  for (const char* name : {DisplayerFrame::kClassName, LyricsView::kClassName, InfoWindow::kClassName}) {
    WNDCLASSEXA record{};
    record.cbSize = sizeof record;
    if (GetClassInfoExA(WindowBase::Instance(), name, &record)) ++count;
  }
  return count;
}

// Counts the thread messages handled, wakes the benchmark thread after each, and takes
// a census on the plug-in thread when a probe comes by, so nothing of the windows is
// read from another thread. It waits as the production loop does, or, where
// only the result counts, ends a nap when a message is posted.
class CountingNapper : public Napper {
 public:
  CountingNapper(DWORD benchThread, bool wakeOnPost)
      : benchThread_(benchThread),
        wakeOnPost_(wakeOnPost),
        censusTaken_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

  DWORD Nap(DWORD ms) override {
    if (!wakeOnPost_) return WaitForMessageOrTimeout(ms);
    MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLPOSTMESSAGE, MWMO_INPUTAVAILABLE);
    return ms;
  }
  void Handled(UINT message) override {
    if (message == kProbeMessage) TakeCensus();
    if (message == TM_SONG_CHANGED) ++songChanges;
    if (message == TM_OPEN_WINDOW) ++opens;
    if (message == TM_CLOSE_WINDOW) ++closes;
    PostThreadMessageA(benchThread_, WM_NULL, 0, 0);
  }

  std::atomic<PluginApp*> app{nullptr};
  std::atomic<long> songChanges{0};
  std::atomic<long> opens{0};
  std::atomic<long> closes{0};

  HANDLE CensusTaken() const { return censusTaken_.Get(); }
  Census LastCensus() {
    std::lock_guard<std::mutex> lock(mutex_);
    return census_;
  }

 private:
  void TakeCensus() {
    Census census;
    census.scopedHandles = LiveScopedHandles();
    census.process = TakeProcessCensus();
    census.registeredClasses = RegisteredDisplayerClasses();
    if (PluginApp* plugin = app.load()) {
      EnumThreadWindows(plugin->ThreadId(), CountWindowAndChildren, reinterpret_cast<LPARAM>(&census.threadWindows));
      if (PluginWindow* window = plugin->Window(kDisplayerWindow)) {
        auto* frame = static_cast<DisplayerFrame*>(window);
        census.displayerOpen = true;
        census.lyricLines = frame->HasNoLyrics() ? 0 : frame->Lyrics().DisplayLineCount();
        if (frame->View()) census.ticks = frame->View()->Ticks();
      }
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      census_ = census;
    }
    SetEvent(censusTaken_.Get());
  }

  DWORD benchThread_;
  bool wakeOnPost_;
  KernelHandle censusTaken_;
  std::mutex mutex_;
  Census census_;
};

// Pumps the player (the plug-in thread asks it for the position at every tick) until
// the counter reaches the target.
bool PumpUntilCount(const std::atomic<long>& counter, long target) {
  return SubstitutePlayer::PumpUntil([&] { return counter.load() >= target; }, kBoundMs);
}

// Everything posted before the probe has been handled: the census is of that moment.
// Meanwhile this thread only answers what the plug-in thread sends (the player's
// answers); what is queued is dispatched before, so that no paint of the player's
// window holds a counted device context while the census is taken.
bool SettleThread(PluginApp& app, CountingNapper& napper, Census& census) {
  SubstitutePlayer::PumpFor(0);
  if (!app.Post(kProbeMessage) || !PluginThread::WaitPumpingSent(napper.CensusTaken(), kBoundMs)) return false;
  census = napper.LastCensus();
  return true;
}

// The player, its link and the application object, torn down in the order the
// plug-in's quit entry uses.
class Session {
 public:
  Session(SubstitutePlayer& player, IniFile& ini, bool wakeOnPost)
      : napper_(GetCurrentThreadId(), wakeOnPost),
        windows_(MakeProductionWindowFactory()),
        link_(player.MainWindow(), WindowBase::Instance()) {
    PluginAppSetup setup;
    setup.link = &link_;
    setup.ini = &ini;
    setup.windows = windows_.get();
    setup.instance = WindowBase::Instance();
    setup.napper = &napper_;
    app_ = std::make_unique<PluginApp>(setup);
    napper_.app = app_.get();
  }
  ~Session() {
    link_.RemoveSystemMenu();
    app_.reset();
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  PluginApp& App() { return *app_; }
  CountingNapper& Counts() { return napper_; }
  bool Running() const { return app_->Running(); }
  bool Settle(Census& census) { return SettleThread(*app_, napper_, census); }

 private:
  CountingNapper napper_;
  std::unique_ptr<WindowFactory> windows_;
  WinampLink link_;
  std::unique_ptr<PluginApp> app_;
};

// --- CPU while playing --------------------------------------------------------------------

double Percent(long part, long whole) { return whole > 0 ? 100.0 * part / whole : 0.0; }

// The least any tick must do: wait for the next tick (or a message) and ask the player
// for its position, 50 times a second, on a thread of its own. Under Wine each of
// these goes through the wineserver; this is the floor under the figures above.
struct FloorRun {
  HWND player = nullptr;
  DWORD until = 0;
  long ticks = 0;
  double cpuMs = 0;  // read by the thread itself before it ends
};

DWORD WINAPI RunFloor(void* parameter) {
  auto* run = static_cast<FloorRun*>(parameter);
  while (static_cast<LONG>(GetTickCount() - run->until) < 0) {
    WaitForMessageOrTimeout(20);
    DWORD_PTR position = 0;
    SendMessageTimeoutA(run->player, kPlayerMessage, 0, kIpcGetOutputTime, SMTO_NORMAL | SMTO_ABORTIFHUNG, 1000, &position);
    ++run->ticks;
  }
  run->cpuMs = ThreadCpuMs(GetCurrentThread());
  return 0;
}

bool MeasureFloor(SubstitutePlayer& player, int seconds) {
  FloorRun run;
  run.player = player.MainWindow();
  run.until = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
  const DWORD wallBefore = GetTickCount();
  HANDLE thread = CreateThread(nullptr, 0, RunFloor, &run, 0, nullptr);
  if (!thread) return false;
  SubstitutePlayer::PumpUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, seconds * 1000 + 5000);
  const double cpu = run.cpuMs;
  const double wall = static_cast<double>(GetTickCount() - wallBefore);
  CloseHandle(thread);
  printf("a bare tick (one wait, one position query) %ld times: %.1f ms CPU over %.0f ms = %.3f %% of one core\n",
         run.ticks, cpu, wall, 100.0 * cpu / wall);
  printf("metric: bare_tick_cpu_percent %.3f %%\n", 100.0 * cpu / wall);
  return true;
}

bool MeasurePlayback(int seconds) {
  BenchFolder folder;
  const std::string song = folder.Add("karaoke.wav");
  if (!WriteSilence(song, kSongSeconds) || !WriteAnsiText(folder.Add("karaoke.txt"), KaraokeLyrics(kSongLines))) {
    fprintf(stderr, "cpu: cannot write the song\n");
    return false;
  }
  SubstitutePlayer player;
  PlayerOptions options;
  options.realTimeClock = true;
  if (!player.Create(options)) return false;
  player.SetPlaylist({song});
  player.Play();
  const int startMs = kSongSeconds * 1000 / 2 - seconds * 500;  // the playback's middle is the song's
  player.SetPosition(startMs);

  MemoryIniFile ini;  // the defaults: Wait 20, the Displayer opens at start
  Session session(player, ini, false);
  Census before, after;
  if (!session.Running() || !session.Settle(before) || !before.displayerOpen || before.lyricLines < kSongLines) {
    fprintf(stderr, "cpu: the Displayer did not open with the song's %d lines (open %d, %d display lines)\n",
            kSongLines, before.displayerOpen, before.lyricLines);
    return false;
  }
  SubstitutePlayer::PumpFor(1000);  // past the first full paint

  HANDLE thread = session.App().ThreadHandle();
  if (!session.Settle(before)) return false;
  const double cpuBefore = ThreadCpuMs(thread);
  const DWORD wallBefore = GetTickCount();
  SubstitutePlayer::PumpFor(seconds * 1000);
  const double cpu = ThreadCpuMs(thread) - cpuBefore;
  const double wall = static_cast<double>(GetTickCount() - wallBefore);
  if (!session.Settle(after)) return false;

  const long idle = after.ticks.idle - before.ticks.idle;
  const long wipe = after.ticks.wipe - before.ticks.wipe;
  const long scroll = after.ticks.scroll - before.ticks.scroll;
  const long ticks = idle + wipe + scroll;
  printf("Displayer playing %d karaoke lines from %d:%02d, Wait 20: %.1f ms CPU over %.0f ms = %.3f %% of one core\n",
         kSongLines, startMs / 60000, startMs / 1000 % 60, cpu, wall, 100.0 * cpu / wall);
  printf("ticks: %ld (%.1f a second): %ld drew nothing, %ld a wipe strip, %ld scrolled\n", ticks, 1000.0 * ticks / wall,
         idle, wipe, scroll);
  printf("metric: displayer_cpu_percent %.3f %%\n", 100.0 * cpu / wall);
  printf("metric: displayer_ticks %ld ticks\n", ticks);
  printf("metric: displayer_ticks_idle %.1f %%\n", Percent(idle, ticks));
  printf("metric: displayer_ticks_wipe %.1f %%\n", Percent(wipe, ticks));
  printf("metric: displayer_ticks_scroll %.1f %%\n", Percent(scroll, ticks));

  // Paused, every tick still asks the player for the position and draws nothing: the
  // price of the loop itself, for comparison.
  player.Pause();
  SubstitutePlayer::PumpFor(500);
  Census pausedBefore, pausedAfter;
  if (!session.Settle(pausedBefore)) return false;
  const double pausedCpuBefore = ThreadCpuMs(thread);
  const DWORD pausedWallBefore = GetTickCount();
  SubstitutePlayer::PumpFor(seconds * 1000 / 3);
  const double pausedCpu = ThreadCpuMs(thread) - pausedCpuBefore;
  const double pausedWall = static_cast<double>(GetTickCount() - pausedWallBefore);
  if (!session.Settle(pausedAfter)) return false;
  printf("the same paused: %.1f ms CPU over %.0f ms = %.3f %% of one core; %ld ticks drew nothing, %ld drew\n",
         pausedCpu, pausedWall, 100.0 * pausedCpu / pausedWall, pausedAfter.ticks.idle - pausedBefore.ticks.idle,
         pausedAfter.ticks.wipe + pausedAfter.ticks.scroll - pausedBefore.ticks.wipe - pausedBefore.ticks.scroll);
  printf("metric: displayer_paused_cpu_percent %.3f %%\n", 100.0 * pausedCpu / pausedWall);
  return MeasureFloor(player, seconds / 3);
}

// --- Nothing left behind -----------------------------------------------------------------

void PrintCensus(const char* when, const Census& census) {
  printf("%-32s %3ld scoped handles, %2d plug-in thread windows, %d of 3 classes registered\n", when,
         census.scopedHandles, census.threadWindows, census.registeredClasses);
}

// The difference of larger magnitude of two comparisons.
long Worst(long a, long b) { return std::labs(a) >= std::labs(b) ? a : b; }

// Kernel handles ("kernel ") or GDI objects ("gdi ") of every type.
long Total(const Census& census, const std::string& prefix) {
  long total = 0;
  for (const auto& [kind, count] : census.process) {
    if (kind.compare(0, prefix.size(), prefix) == 0) total += count;
  }
  return total;
}

void PrintLeft(const char* run, const Census& closedBefore, const Census& closedAfter, const Census& openBefore,
               const Census& openAfter) {
  printf("metric: %s_left_scoped_handles %ld handles\n", run,
         Worst(closedAfter.scopedHandles - closedBefore.scopedHandles,
               openAfter.scopedHandles - openBefore.scopedHandles));
  printf("metric: %s_left_windows %ld windows\n", run,
         Worst(closedAfter.threadWindows - closedBefore.threadWindows,
               openAfter.threadWindows - openBefore.threadWindows));
  printf("metric: %s_left_classes %ld classes\n", run,
         Worst(closedAfter.registeredClasses - closedBefore.registeredClasses,
               openAfter.registeredClasses - openBefore.registeredClasses));
  for (const char* prefix : {"kernel ", "gdi "}) {
    printf("metric: %s_left_%s %ld %s\n", run, *prefix == 'k' ? "kernel_handles" : "gdi_objects",
           Worst(Total(closedAfter, prefix) - Total(closedBefore, prefix),
                 Total(openAfter, prefix) - Total(openBefore, prefix)),
           *prefix == 'k' ? "handles" : "objects");
  }
  for (const std::string& grew :
       {CensusGrowth(closedBefore.process, closedAfter.process), CensusGrowth(openBefore.process, openAfter.process)}) {
    if (!grew.empty()) printf("%s: more than before: %s\n", run, grew.c_str());
  }
}

// Opens (or closes) the Displayer and waits until the request was handled.
bool Request(Session& session, UINT message, std::atomic<long>& handled, Census& census) {
  const long target = handled.load() + 1;
  return session.App().Post(message, kDisplayerWindow, 0) && PumpUntilCount(handled, target) && session.Settle(census);
}

bool CountLeftovers() {
  BenchFolder folder;
  std::vector<std::string> songs;
  const struct {
    const char* name;
    std::wstring lyrics;
  } kinds[] = {
      {"timed", TimedLyrics(40)}, {"karaoke", KaraokeLyrics(40)}, {"untimed", UntimedLyrics(40)}, {"none", L""}};
  for (const auto& kind : kinds) {
    songs.push_back(folder.Add(std::string(kind.name) + ".wav"));
    if (!WriteSilence(songs.back(), 10)) return false;
    if (!kind.lyrics.empty() && !WriteAnsiText(folder.Add(std::string(kind.name) + ".txt"), kind.lyrics)) return false;
  }
  // The manual clock: the real-time one reads the whole WAV file and tries the sound
  // device at every change, which would cost more than the plug-in does.
  SubstitutePlayer player;
  if (!player.Create(PlayerOptions())) return false;
  player.SetPlaylist(songs);
  player.SetLength(10);
  player.Play();

  MemoryIniFile ini("[Mirabo's Lyrics Displayer]\r\nOpen=0\r\n");
  Session session(player, ini, true);
  CountingNapper& napper = session.Counts();
  Census closedBefore, openBefore, openAfterSongs, closedAfterSongs, closedAfterCycles, openAfterCycles;
  // The first opening brings what Wine keeps for the process afterwards (a cache of
  // window DCs with their regions, a few bitmaps): it comes before the counts.
  Census warm;
  if (!session.Running() || !Request(session, TM_OPEN_WINDOW, napper.opens, warm) ||
      !Request(session, TM_CLOSE_WINDOW, napper.closes, warm) || !session.Settle(closedBefore) ||
      closedBefore.displayerOpen) {
    fprintf(stderr, "leaks: the plug-in thread did not start with the Displayer closed\n");
    return false;
  }
  if (!Request(session, TM_OPEN_WINDOW, napper.opens, openBefore) || !openBefore.displayerOpen) {
    fprintf(stderr, "leaks: the Displayer did not open\n");
    return false;
  }

  const DWORD songsStart = GetTickCount();
  const double songsCpuStart = ThreadCpuMs(session.App().ThreadHandle());
  for (int change = 1; change <= kSongChanges; ++change) {
    const long target = napper.songChanges.load() + 1;
    // The link sees the new title and posts TM_SONG_CHANGED; the position somewhere in
    // the first lines gives the ticks something to do.
    player.Next();
    player.SetPosition(change * 731 % 10000);
    if (!PumpUntilCount(napper.songChanges, target)) {
      fprintf(stderr, "leaks: song change %d was not handled\n", change);
      return false;
    }
  }
  const double songsCpu = ThreadCpuMs(session.App().ThreadHandle()) - songsCpuStart;
  const DWORD songsWall = GetTickCount() - songsStart;
  if (!session.Settle(openAfterSongs) || !Request(session, TM_CLOSE_WINDOW, napper.closes, closedAfterSongs) ||
      closedAfterSongs.displayerOpen) {
    return false;
  }

  const DWORD cyclesStart = GetTickCount();
  for (int cycle = 1; cycle <= kOpenCloseCycles; ++cycle) {
    Census census;
    if (!Request(session, TM_OPEN_WINDOW, napper.opens, census) || !census.displayerOpen ||
        !Request(session, TM_CLOSE_WINDOW, napper.closes, census) || census.displayerOpen) {
      fprintf(stderr, "leaks: open and close %d failed\n", cycle);
      return false;
    }
  }
  const DWORD cyclesWall = GetTickCount() - cyclesStart;
  if (!session.Settle(closedAfterCycles) || !Request(session, TM_OPEN_WINDOW, napper.opens, openAfterCycles)) {
    return false;
  }

  printf("%d song changes in %lu ms (%.1f ms of plug-in thread CPU each); %d opens and closes in %lu ms\n",
         kSongChanges, songsWall, songsCpu / kSongChanges, kOpenCloseCycles, cyclesWall);
  PrintCensus("closed, before:", closedBefore);
  PrintCensus("open, before:", openBefore);
  PrintCensus("open, after the song changes:", openAfterSongs);
  PrintCensus("closed, after the song changes:", closedAfterSongs);
  PrintCensus("closed, after opens and closes:", closedAfterCycles);
  PrintCensus("open, after opens and closes:", openAfterCycles);
  PrintLeft("song_changes", closedBefore, closedAfterSongs, openBefore, openAfterSongs);
  PrintLeft("open_close", closedBefore, closedAfterCycles, openBefore, openAfterCycles);
  printf("metric: displayer_song_change_cpu %.2f ms\n", songsCpu / kSongChanges);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  WindowBase::SetInstance(GetModuleHandleA(nullptr));
  bool cpu = false, leaks = false;
  int seconds = 30;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "cpu") == 0) {
      cpu = true;
      if (i + 1 < argc && atoi(argv[i + 1]) > 0) seconds = atoi(argv[++i]);
    } else if (strcmp(argv[i], "leaks") == 0) {
      leaks = true;
    } else {
      fprintf(stderr, "usage: bench_displayer [cpu [seconds]] [leaks]\n");
      return 2;
    }
  }
  if (!cpu && !leaks) cpu = leaks = true;
  bool ok = true;
  if (cpu) ok = MeasurePlayback(seconds) && ok;
  fflush(stdout);
  if (leaks) ok = CountLeftovers() && ok;
  return ok ? 0 : 1;
}
