#pragma once
// Deterministic counts of what one tick of the plug-in thread does, independent of
// the machine's load:
//
// - TickLockstep parks the plug-in thread in its wait between ticks, so the
//   benchmark sets the player's position, releases exactly one tick and reads what
//   it did before the next. While markers are on, the thread looks up two atoms
//   around every tick; the wineserver's trace (WINEDEBUG=+server) shows them as
//   find_atom requests, so tools/bench counts the requests of each tick.
// - GdiCallCounter counts the drawing calls of one thread by patching this
//   program's import table: GDI and the USER calls that get, paint or scroll a
//   window's pixels. Only the benchmark installs it; the plug-in knows nothing of it.

#include <windows.h>

#include <atomic>

#include "host/ScopedHandles.h"

// The names the trace shows around each tick.
constexpr wchar_t kTickBeginAtom[] = L"mrlyrics-bench-tick-begin";
constexpr wchar_t kTickEndAtom[] = L"mrlyrics-bench-tick-end";

class TickLockstep {
 public:
  TickLockstep();
  TickLockstep(const TickLockstep&) = delete;
  TickLockstep& operator=(const TickLockstep&) = delete;

  // Plug-in thread, in place of its wait: parks until released, then answers a
  // full wait, so the loop ticks at once.
  DWORD Nap(DWORD ms);

  // Benchmark thread: waits until the plug-in thread is parked, dispatching this
  // thread's messages meanwhile (the tick asks the player, whose windows it owns).
  bool WaitParked(DWORD boundMs);
  // Lets the parked thread run one tick.
  void Release();
  void SetMarkers(bool on) { markers_ = on; }

 private:
  KernelHandle parked_;
  KernelHandle go_;
  std::atomic<bool> markers_{false};
};

struct DrawingCalls {
  long gdi = 0;
  long user = 0;
};

class GdiCallCounter {
 public:
  // Patches the import table once; false when an entry was not found.
  static bool Install();
  // Counts only the calls made on this thread (0: none).
  static void CountThread(DWORD threadId);
  static DrawingCalls Calls();
  // One line per function called: "<prefix><name> <calls per tick>".
  static void PrintCalls(const char* prefix, long ticks);
};
