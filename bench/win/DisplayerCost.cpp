// What the Displayer costs, measured in-process: the application object runs the
// plug-in thread against the substitute player, with the production windows and the
// plug-in's resources linked into this program.
//
//   cpu     A 300-line karaoke song of 15 minutes plays from its middle on the
//           real-time clock with the Displayer open at Wait 20. Thirty rounds (by
//           default), each of three spans of 0.6 s: playing, paused (the ticks draw
//           nothing), and bare ticks (one wait and one position query a tick) on a
//           thread of their own that owns a window, while the plug-in thread is
//           held. Each span gives the CPU time of its thread per tick; each round
//           gives the ratios playing / paused and paused / bare, and the medians of
//           the rounds are the figures: on a shared machine the cost of a tick
//           moves with the load, the ratio of neighbouring spans much less. Also
//           what the ticks drew (LyricsView::Ticks: nothing, a wipe strip, a scroll).
//   counts  The same song on the manual clock, 300 ticks in lockstep (the position
//           moves 20 ms a tick): the GDI and USER drawing calls of each tick, and the
//           markers around each tick that tools/bench finds in a wineserver trace.
//   leaks   Handles owned through ScopedHandles.h, the process's kernel handles and
//           GDI objects (tests/ProcessCensus.h), the plug-in thread's windows and
//           the Displayer's registered classes, counted with the Displayer closed and
//           open, before and after 1,000 song changes (timed, karaoke, untimed and
//           no lyrics in turn) and 100 opens and closes.
//
// Lines "metric: <name> <value> <unit>" are the figures tools/bench checks.
//
//   tools/wine-run build/win64/bench_displayer.exe [cpu [ms a span [rounds]]] [counts] [leaks]

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <climits>
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
#include "BareTick.h"
#include "ProcessCensus.h"
#include "ThreadCpu.h"
#include "TickCounts.h"
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
  double cpuMs = 0;  // the plug-in thread's CPU time so far
  double wallMs = 0;
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
    if (TickLockstep* step = lockstep.load()) return step->Nap(ms);
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
  // While set, the loop waits for the benchmark's word before each tick.
  std::atomic<TickLockstep*> lockstep{nullptr};
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
    census.cpuMs = CurrentThreadCpuMs();
    census.wallMs = WallMs();
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

constexpr int kSettleMs = 100;  // after a pause or a hold, before the next span
constexpr int kTickMs = 20;
constexpr int kCountedTicks = 300;

double Percent(long part, long whole) { return whole > 0 ? 100.0 * part / whole : 0.0; }

long TickTotal(const LyricsView::TickCounts& ticks) { return ticks.idle + ticks.wipe + ticks.scroll; }

// The plug-in thread's span between two censuses taken ms apart.
bool MeasureSpan(Session& session, int ms, CpuSpan& span, LyricsView::TickCounts& drew) {
  Census before, after;
  if (!session.Settle(before)) return false;
  SubstitutePlayer::PumpFor(ms);
  if (!session.Settle(after)) return false;
  span.cpuMs = after.cpuMs - before.cpuMs;
  span.wallMs = after.wallMs - before.wallMs;
  span.ticks = TickTotal(after.ticks) - TickTotal(before.ticks);
  drew.idle += after.ticks.idle - before.ticks.idle;
  drew.wipe += after.ticks.wipe - before.ticks.wipe;
  drew.scroll += after.ticks.scroll - before.ticks.scroll;
  return span.ticks > 0;
}

// Bare ticks while the plug-in thread is parked in its wait, so the two never run at once.
bool MeasureBareSpan(Session& session, BareTicker& bare, int ms, CpuSpan& span) {
  TickLockstep hold;
  session.Counts().lockstep = &hold;
  const bool held = hold.WaitParked(kBoundMs);
  const bool measured = held && bare.Measure(ms, span);
  session.Counts().lockstep = nullptr;
  hold.Release();
  // The hold is gone only once the thread has left its wait.
  Census census;
  return session.Settle(census) && measured;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t half = values.size() / 2;
  return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
}

void PrintRatio(const char* name, const std::vector<double>& ratios) {
  std::vector<double> sorted = ratios;
  std::sort(sorted.begin(), sorted.end());
  printf("%s per round:", name);
  for (double ratio : ratios) printf(" %.3f", ratio);
  printf("\nmetric: %s %.3f x\n", name, Median(ratios));
  printf("metric: %s_min %.3f x\nmetric: %s_max %.3f x\n", name, sorted.front(), name, sorted.back());
}

void PrintSpans(const char* name, const char* what, const std::vector<CpuSpan>& spans) {
  std::vector<double> perTick, percent;
  for (const CpuSpan& span : spans) {
    perTick.push_back(span.MicrosecondsPerTick());
    percent.push_back(span.Percent());
  }
  printf("%s, per round (us of CPU a tick, ticks, %% of one core):", what);
  for (const CpuSpan& span : spans) printf(" %.0f/%ld/%.2f", span.MicrosecondsPerTick(), span.ticks, span.Percent());
  printf("\nmetric: %s_us_per_tick %.1f us\nmetric: %s_cpu_percent %.3f %%\n", name, Median(perTick), name,
         Median(percent));
}

bool WriteKaraokeSong(BenchFolder& folder, std::string& song) {
  song = folder.Add("karaoke.wav");
  return WriteSilence(song, kSongSeconds) && WriteAnsiText(folder.Add("karaoke.txt"), KaraokeLyrics(kSongLines));
}

bool OpenWithSong(Session& session) {
  Census census;
  if (!session.Running() || !session.Settle(census) || !census.displayerOpen || census.lyricLines < kSongLines) {
    fprintf(stderr, "the Displayer did not open with the song's %d lines (open %d, %d display lines)\n", kSongLines,
            census.displayerOpen, census.lyricLines);
    return false;
  }
  SubstitutePlayer::PumpFor(1000);  // past the first full paint
  return true;
}

bool MeasurePlayback(int spanMs, int rounds) {
  BenchFolder folder;
  std::string song;
  if (!WriteKaraokeSong(folder, song)) {
    fprintf(stderr, "cpu: cannot write the song\n");
    return false;
  }
  SubstitutePlayer player;
  PlayerOptions options;
  options.realTimeClock = true;
  if (!player.Create(options)) return false;
  player.SetPlaylist({song});
  player.Play();
  const int startMs = kSongSeconds * 1000 / 2 - rounds * spanMs / 2;  // the playback's middle is the song's
  player.SetPosition(startMs);

  MemoryIniFile ini;  // the defaults: Wait 20, the Displayer opens at start
  Session session(player, ini, false);
  if (!OpenWithSong(session)) return false;

  BareTicker bareTicker(player.MainWindow());
  std::vector<CpuSpan> playing(rounds), paused(rounds), bare(rounds);
  std::vector<double> playingOverPaused, pausedOverBare;
  LyricsView::TickCounts drew, pausedDrew;
  // Playing, paused, bare, then bare, paused, playing: the spans of each ratio are
  // always neighbours, and a drift of the load favours neither side.
  for (int round = 0; round < rounds; ++round) {
    const bool forward = round % 2 == 0;
    if (forward && !MeasureSpan(session, spanMs, playing[round], drew)) return false;
    if (!forward && !MeasureBareSpan(session, bareTicker, spanMs, bare[round])) return false;
    player.Pause();
    SubstitutePlayer::PumpFor(kSettleMs);
    if (!MeasureSpan(session, spanMs, paused[round], pausedDrew)) return false;
    if (forward && !MeasureBareSpan(session, bareTicker, spanMs, bare[round])) return false;
    player.Pause();  // plays on
    SubstitutePlayer::PumpFor(kSettleMs);
    if (!forward && !MeasureSpan(session, spanMs, playing[round], drew)) return false;
    playingOverPaused.push_back(playing[round].MicrosecondsPerTick() / paused[round].MicrosecondsPerTick());
    pausedOverBare.push_back(paused[round].MicrosecondsPerTick() / bare[round].MicrosecondsPerTick());
  }

  const long ticks = TickTotal(drew);
  printf("Displayer, %d karaoke lines from %d:%02d, Wait 20, %d rounds of %d ms playing, paused and bare\n",
         kSongLines, startMs / 60000, startMs / 1000 % 60, rounds, spanMs);
  PrintSpans("displayer_playing", "playing", playing);
  PrintSpans("displayer_paused", "paused", paused);
  PrintSpans("bare_tick", "bare ticks, a thread with a window", bare);
  printf("playing ticks: %ld: %ld drew nothing, %ld a wipe strip, %ld scrolled; paused ticks that drew: %ld\n", ticks,
         drew.idle, drew.wipe, drew.scroll, pausedDrew.wipe + pausedDrew.scroll);
  printf("metric: displayer_ticks_idle %.1f %%\n", Percent(drew.idle, ticks));
  printf("metric: displayer_ticks_wipe %.1f %%\n", Percent(drew.wipe, ticks));
  printf("metric: displayer_ticks_scroll %.1f %%\n", Percent(drew.scroll, ticks));
  PrintRatio("displayer_paused_over_bare_tick", pausedOverBare);
  PrintRatio("displayer_playing_over_paused", playingOverPaused);
  return true;
}

// --- What a tick does ------------------------------------------------------------------

struct KindCounts {
  long ticks = 0;
  long gdi = 0;
  long user = 0;
  long gdiMin = LONG_MAX;
  long gdiMax = 0;

  void Add(const DrawingCalls& calls) {
    ++ticks;
    gdi += calls.gdi;
    user += calls.user;
    gdiMin = std::min(gdiMin, calls.gdi + calls.user);
    gdiMax = std::max(gdiMax, calls.gdi + calls.user);
  }
  double Gdi() const { return ticks ? static_cast<double>(gdi) / ticks : 0; }
  double User() const { return ticks ? static_cast<double>(user) / ticks : 0; }
};

bool MeasureTickCounts() {
  BenchFolder folder;
  std::string song;
  if (!WriteKaraokeSong(folder, song)) {
    fprintf(stderr, "counts: cannot write the song\n");
    return false;
  }
  if (!GdiCallCounter::Install()) return false;
  SubstitutePlayer player;  // the manual clock: each tick gets the position set for it
  if (!player.Create(PlayerOptions())) return false;
  player.SetPlaylist({song});
  player.Play();
  const int startMs = kSongSeconds * 1000 / 2;
  player.SetPosition(startMs);

  TickLockstep step;  // outlives the session: the thread may still be inside its Nap
  MemoryIniFile ini;
  Session session(player, ini, false);
  if (!OpenWithSong(session)) return false;
  session.Counts().lockstep = &step;
  if (!step.WaitParked(kBoundMs)) return false;
  auto* frame = static_cast<DisplayerFrame*>(session.App().Window(kDisplayerWindow));
  const LyricsView* view = frame ? frame->View() : nullptr;
  if (!view) return false;

  GdiCallCounter::CountThread(session.App().ThreadId());
  step.SetMarkers(true);
  std::string kinds;
  KindCounts all, idle, wipe, scroll;
  bool ok = true;
  for (int tick = 0; tick < kCountedTicks && ok; ++tick) {
    player.SetPosition(startMs + tick * kTickMs);
    const DrawingCalls before = GdiCallCounter::Calls();
    const LyricsView::TickCounts drewBefore = view->Ticks();
    step.Release();
    ok = step.WaitParked(kBoundMs);
    const DrawingCalls after = GdiCallCounter::Calls();
    const DrawingCalls calls{after.gdi - before.gdi, after.user - before.user};
    const LyricsView::TickCounts& drew = view->Ticks();
    all.Add(calls);
    if (drew.scroll != drewBefore.scroll) {
      scroll.Add(calls);
      kinds += 's';
    } else if (drew.wipe != drewBefore.wipe) {
      wipe.Add(calls);
      kinds += 'w';
    } else {
      idle.Add(calls);
      kinds += 'i';
    }
  }
  step.SetMarkers(false);
  GdiCallCounter::CountThread(0);
  session.Counts().lockstep = nullptr;
  step.Release();
  if (!ok) {
    fprintf(stderr, "counts: a tick did not end\n");
    return false;
  }

  printf("%d ticks in lockstep from %d:%02d: %ld drew nothing, %ld a wipe strip, %ld scrolled\n", kCountedTicks,
         startMs / 60000, startMs / 1000 % 60, idle.ticks, wipe.ticks, scroll.ticks);
  printf("drawing calls a tick (GDI + USER; fewest..most): all %.2f + %.2f, nothing %.2f + %.2f (%ld..%ld), "
         "wipe %.2f + %.2f (%ld..%ld), scroll %.2f + %.2f (%ld..%ld)\n",
         all.Gdi(), all.User(), idle.Gdi(), idle.User(), idle.gdiMin, idle.gdiMax, wipe.Gdi(), wipe.User(),
         wipe.gdiMin, wipe.gdiMax, scroll.Gdi(), scroll.User(), scroll.gdiMin, scroll.gdiMax);
  GdiCallCounter::PrintCalls("calls a tick: ", all.ticks);
  printf("metric: tick_gdi_calls %.2f calls\n", all.Gdi());
  printf("metric: tick_user_calls %.2f calls\n", all.User());
  printf("metric: tick_gdi_calls_wipe %.2f calls\n", wipe.Gdi());
  printf("metric: tick_user_calls_wipe %.2f calls\n", wipe.User());
  printf("metric: tick_gdi_calls_scroll %.2f calls\n", scroll.Gdi());
  printf("metric: tick_user_calls_scroll %.2f calls\n", scroll.User());
  // For the wineserver trace: the thread and what each marked tick did, in order.
  printf("tick-thread: %04lx\n", static_cast<unsigned long>(session.App().ThreadId()));
  printf("tick-kinds: %s\n", kinds.c_str());
  return true;
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
  bool cpu = false, counts = false, leaks = false;
  int spanMs = 600, rounds = 30;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "cpu") == 0) {
      cpu = true;
      if (i + 1 < argc && atoi(argv[i + 1]) > 0) spanMs = atoi(argv[++i]);
      if (i + 1 < argc && atoi(argv[i + 1]) > 0) rounds = atoi(argv[++i]);
    } else if (strcmp(argv[i], "counts") == 0) {
      counts = true;
    } else if (strcmp(argv[i], "leaks") == 0) {
      leaks = true;
    } else {
      fprintf(stderr, "usage: bench_displayer [cpu [ms a span [rounds]]] [counts] [leaks]\n");
      return 2;
    }
  }
  if (!cpu && !counts && !leaks) cpu = counts = leaks = true;
  bool ok = true;
  if (cpu) ok = MeasurePlayback(spanMs, rounds) && ok;
  fflush(stdout);
  if (counts) ok = MeasureTickCounts() && ok;
  fflush(stdout);
  if (leaks) ok = CountLeftovers() && ok;
  return ok ? 0 : 1;
}
