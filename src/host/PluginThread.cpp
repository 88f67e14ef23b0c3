#include "host/PluginThread.h"

#include <process.h>

PluginThread::~PluginThread() { Stop(); }

unsigned __stdcall PluginThread::ThreadMain(void* self) {
  try {
    return static_cast<unsigned>(static_cast<PluginThread*>(self)->Run());
  } catch (...) {
    // Nothing thrown may leave the thread's entry.
    return static_cast<unsigned>(-1);
  }
}

int PluginThread::Start() {
  if (!thread_) {
    unsigned id = 0;
    auto handle = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &PluginThread::ThreadMain, this, 0, &id));
    thread_.Reset(handle);
    threadId_ = handle ? id : 0;
    return 0;
  }
  if (threadId_ == 0) return -1;
  DWORD previous = ResumeThread(thread_.Get());
  if (previous == 0 || previous == 1 || previous == static_cast<DWORD>(-1)) return static_cast<int>(previous);
  while (ResumeThread(thread_.Get()) > 1) {
  }
  return static_cast<int>(previous);
}

bool PluginThread::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
  return threadId_ != 0 && PostThreadMessageA(threadId_, message, wParam, lParam) != 0;
}

bool PluginThread::WaitPumpingSent(HANDLE object, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    DWORD waited = GetTickCount() - start;
    DWORD left = timeoutMs == INFINITE ? INFINITE : (waited >= timeoutMs ? 0 : timeoutMs - waited);
    DWORD result = MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_SENDMESSAGE);
    if (result == WAIT_OBJECT_0) return true;
    if (result != WAIT_OBJECT_0 + 1) return false;  // timed out or failed
    // Answers the messages other threads sent to this thread's windows; posted
    // messages stay queued for the caller's own loop.
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

int PluginThread::Stop() {
  if (threadId_ != 0) {
    stopRequested_ = true;
    // A thread that has no queue yet cannot be posted to; freeing the object under a
    // thread that still runs would be worse than retrying until it has one or ends.
    while (!PostThreadMessageA(threadId_, WM_QUIT, 0, 0)) {
      if (WaitForSingleObject(thread_.Get(), 5) != WAIT_TIMEOUT) break;
    }
    do {
      NudgeWhileStopping();
    } while (!WaitPumpingSent(thread_.Get(), kStopNudgeMs) &&
             WaitForSingleObject(thread_.Get(), 0) == WAIT_TIMEOUT);
    thread_.Reset();
    threadId_ = 0;
    return 1;
  }
  if (thread_) {
    WaitForSingleObject(thread_.Get(), 1000);
    thread_.Reset();
  }
  return 0;
}

int PluginThread::Run() {
  MSG msg;
  for (;;) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) return -1;
    if (got == 0) return static_cast<int>(msg.wParam);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
