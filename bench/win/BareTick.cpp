#include "BareTick.h"

#include <algorithm>

#include "host/PluginApp.h"
#include "host/WinampProtocol.h"
#include "player/SubstitutePlayer.h"

namespace {

constexpr DWORD kTickMs = 20;
constexpr int kBoundMs = 30000;
constexpr char kClassName[] = "mrlyrics bare tick";

// What the plug-in thread's loop does with a message: take everything waiting.
void DispatchWaiting() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

bool Signalled(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

}  // namespace

BareTicker::BareTicker(HWND player)
    : player_(player),
      start_(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      done_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
  thread_.Reset(CreateThread(nullptr, 0, Main, this, 0, nullptr));
  // Ready once its window is made and past its first messages.
  if (thread_) SubstitutePlayer::PumpUntil([&] { return Signalled(done_.Get()); }, kBoundMs);
}

BareTicker::~BareTicker() {
  if (!thread_) return;
  quit_ = true;
  SetEvent(start_.Get());
  SubstitutePlayer::PumpUntil([&] { return Signalled(thread_.Get()); }, kBoundMs);
  // Its queries to the player give up after a second each: it ends.
  WaitForSingleObject(thread_.Get(), INFINITE);
}

bool BareTicker::Measure(int ms, CpuSpan& span) {
  if (!thread_) return false;
  ms_ = ms;
  ok_ = false;
  SetEvent(start_.Get());
  if (!SubstitutePlayer::PumpUntil([&] { return Signalled(done_.Get()); }, ms + kBoundMs)) return false;
  span = span_;
  return ok_;
}

DWORD WINAPI BareTicker::Main(void* self) {
  static_cast<BareTicker*>(self)->Run();
  return 0;
}

void BareTicker::Run() {
  WNDCLASSEXA record{};
  record.cbSize = sizeof record;
  record.lpfnWndProc = DefWindowProcA;
  record.hInstance = GetModuleHandleA(nullptr);
  record.lpszClassName = kClassName;
  RegisterClassExA(&record);
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP | WS_VISIBLE, 400, 100, 300, 200, nullptr,
                                nullptr, record.hInstance, nullptr);
  const double settleUntil = WallMs() + 200;
  while (WallMs() < settleUntil) {
    WaitForMessageOrTimeout(kTickMs);
    DispatchWaiting();
  }
  SetEvent(done_.Get());
  HANDLE start = start_.Get();
  for (;;) {
    // Between spans: no ticks, only the window's messages.
    if (MsgWaitForMultipleObjects(1, &start, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
      DispatchWaiting();
      continue;
    }
    if (quit_) break;
    const double wallStart = WallMs();
    const double cpuStart = CurrentThreadCpuMs();
    long ticks = 0;
    DWORD waited = 0;
    while (WallMs() - wallStart < ms_) {
      const DWORD rest = kTickMs - waited;
      waited += std::min(WaitForMessageOrTimeout(rest), rest);
      if (waited < kTickMs) {
        DispatchWaiting();
        continue;
      }
      waited = 0;
      DWORD_PTR position = 0;
      SendMessageTimeoutA(player_, kPlayerMessage, 0, kIpcGetOutputTime, SMTO_NORMAL | SMTO_ABORTIFHUNG, 1000,
                          &position);
      ++ticks;
      DispatchWaiting();
    }
    span_.cpuMs = CurrentThreadCpuMs() - cpuStart;
    span_.wallMs = WallMs() - wallStart;
    span_.ticks = ticks;
    ok_ = window != nullptr && ticks > 0;
    SetEvent(done_.Get());
  }
  if (window) DestroyWindow(window);
}
