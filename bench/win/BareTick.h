#pragma once
// The least a tick of the plug-in thread can cost on this system: a thread that owns
// a window, as the plug-in thread does while the Displayer is open, waits for the
// next tick or a message and asks the player for its position, 50 times a second.

#include <windows.h>

#include "ThreadCpu.h"
#include "host/ScopedHandles.h"

class BareTicker {
 public:
  // Starts the thread and its window; it ticks only inside Measure.
  explicit BareTicker(HWND player);
  // Ends the thread, answering its last queries meanwhile.
  ~BareTicker();
  BareTicker(const BareTicker&) = delete;
  BareTicker& operator=(const BareTicker&) = delete;

  // Ticks for about ms, pumping the calling thread (which answers the position
  // queries) meanwhile; the span is the ticking thread's own.
  bool Measure(int ms, CpuSpan& span);

 private:
  static DWORD WINAPI Main(void* self);
  void Run();

  HWND player_;
  KernelHandle start_;
  KernelHandle done_;
  KernelHandle thread_;
  int ms_ = 0;  // written before start_ is set, read after
  bool quit_ = false;
  bool ok_ = false;
  CpuSpan span_;
};
