#pragma once
// A thread that runs one object's Run and owns its own message queue. Stop asks it
// to end with WM_QUIT and waits for it while still answering messages sent to the
// calling thread's windows: the thread may be inside a SendMessage to one of them
// (the tick asks the player for its position), and a plain wait would deadlock.

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "host/ScopedHandles.h"

class PluginThread {
 public:
  PluginThread() = default;
  PluginThread(const PluginThread&) = delete;
  PluginThread& operator=(const PluginThread&) = delete;
  // Stops the thread; a derived class must call Stop itself before its own members
  // go, since Run may still be using them.
  virtual ~PluginThread();

  // 0 when a thread was created (or creation failed: then ThreadId() is 0); -1 for a
  // thread that failed earlier; for a suspended thread the previous suspend count.
  int Start();
  bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  // 1 when a running thread was told to quit and has ended, else 0.
  int Stop();

  uint32_t ThreadId() const noexcept { return threadId_; }
  HANDLE ThreadHandle() const noexcept { return thread_.Get(); }

  // Waits for a kernel object while dispatching messages sent to this thread's
  // windows. INFINITE allowed. True when the object was signalled.
  static bool WaitPumpingSent(HANDLE object, DWORD timeoutMs);

 protected:
  // The thread's body; its answer is the thread's exit code. The default pumps
  // messages until WM_QUIT and answers its wParam (-1 when GetMessage fails).
  virtual int Run();
  // Called from Stop on the stopping thread while it waits, first at once and then
  // every kStopNudgeMs: a chance to end modal loops that do not look for WM_QUIT.
  virtual void NudgeWhileStopping() {}
  static constexpr DWORD kStopNudgeMs = 100;
  // Set by Stop before it posts WM_QUIT. A modal loop inside Run (a popup menu) may
  // swallow the WM_QUIT; a loop that checks this after each message still ends.
  bool StopRequested() const noexcept { return stopRequested_; }

 private:
  static unsigned __stdcall ThreadMain(void* self);

  KernelHandle thread_;
  uint32_t threadId_ = 0;
  std::atomic<bool> stopRequested_{false};
};
