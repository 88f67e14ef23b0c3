// Running the caller's message loop while a test waits: the plug-in thread sends
// the player's windows messages (and quit blocks until that thread ends), so a wait
// that does not dispatch would stall both.
#include "player/SubstitutePlayer.h"

namespace {

// Dispatches what is queued; false once WM_QUIT came (put back for the caller's loop).
bool DispatchQueued() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

// Waits at most a short slice, so predicates that watch other threads are
// re-checked even when no message arrives.
void WaitForMessages(DWORD ms) {
  constexpr DWORD kSliceMs = 10;
  MsgWaitForMultipleObjectsEx(0, nullptr, ms < kSliceMs ? ms : kSliceMs, QS_ALLINPUT,
                              MWMO_INPUTAVAILABLE);
}

}  // namespace

void SubstitutePlayer::PumpFor(int ms) {
  ULONGLONG end = GetTickCount64() + (ms > 0 ? ms : 0);
  for (;;) {
    if (!DispatchQueued()) return;
    ULONGLONG now = GetTickCount64();
    if (now >= end) return;
    WaitForMessages(static_cast<DWORD>(end - now));
  }
}

bool SubstitutePlayer::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  ULONGLONG end = GetTickCount64() + (timeoutMs > 0 ? timeoutMs : 0);
  for (;;) {
    bool more = DispatchQueued();
    if (done()) return true;
    ULONGLONG now = GetTickCount64();
    if (!more || now >= end) return false;
    WaitForMessages(static_cast<DWORD>(end - now));
  }
}
