#include "host/ModalLoopGuard.h"

namespace {
// The guard of the thread the hook runs on; one per guarded thread.
const ThreadSlot<ModalLoopGuard> tGuard;
}  // namespace

ModalLoopGuard::~ModalLoopGuard() { Remove(); }

bool ModalLoopGuard::Install(UINT tickMs) {
  tickMs_ = tickMs;
  hook_.Reset(SetWindowsHookExA(WH_MSGFILTER, &ModalLoopGuard::Filter, nullptr, GetCurrentThreadId()));
  if (hook_) tGuard.Set(this);
  return static_cast<bool>(hook_);
}

void ModalLoopGuard::Remove() {
  if (timer_) KillTimer(nullptr, timer_);
  timer_ = 0;
  hook_.Reset();
  if (tGuard.Get() == this) tGuard.Set(nullptr);
  kept_.clear();
}

ModalLoopGuard::Handling::Handling(ModalLoopGuard& guard, const MSG& msg) noexcept
    : guard_(guard), outer_(guard.handled_) {
  ++guard_.depth_;
  guard_.handled_ = &msg;
}

ModalLoopGuard::Handling::~Handling() {
  guard_.handled_ = outer_;
  if (--guard_.depth_ > 0 || !guard_.timer_) return;
  // Back in the thread's own loop, which ticks by itself.
  KillTimer(nullptr, guard_.timer_);
  guard_.timer_ = 0;
}

bool ModalLoopGuard::TakeKept(MSG& msg) {
  if (kept_.empty()) return false;
  msg = kept_.front();
  kept_.pop_front();
  return true;
}

LRESULT CALLBACK ModalLoopGuard::Filter(int code, WPARAM wParam, LPARAM lParam) {
  ModalLoopGuard* guard = tGuard.Get();
  if (code >= 0 && guard && lParam && guard->Take(*reinterpret_cast<const MSG*>(lParam))) return TRUE;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The thread's loop offers its own message to a modeless dialog (the Options sheet),
// and IsDialogMessage calls the hook with it: that is no modal loop. The dialog
// manager may pass a copy, so the message is recognised by its fields.
bool ModalLoopGuard::IsOuterMessage(const MSG& msg) const {
  return handled_ && msg.hwnd == handled_->hwnd && msg.message == handled_->message &&
         msg.wParam == handled_->wParam && msg.lParam == handled_->lParam && msg.time == handled_->time;
}

// Only modal loops call the hook, apart from the outer message offered to a modeless
// dialog; so this is one. True takes the message away from it.
bool ModalLoopGuard::Take(const MSG& msg) {
  if (IsOuterMessage(msg)) return false;
  if (!timer_) timer_ = SetTimer(nullptr, 0, tickMs_, nullptr);
  if (msg.hwnd) return false;
  if (msg.message == WM_TIMER && timer_ && msg.wParam == timer_) {
    // A tick that itself ends up in a modal loop does not tick again from there.
    if (!ticking_ && tick_) {
      ticking_ = true;
      tick_();
      ticking_ = false;
    }
    return true;
  }
  // The system's own thread messages (other timers, WM_QUIT) stay with the modal
  // loop; the thread's requests are WM_USER and up.
  if (msg.message < WM_USER || msg.message >= 0xC000) return false;
  kept_.push_back(msg);
  return true;
}
