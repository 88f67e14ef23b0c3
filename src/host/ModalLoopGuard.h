#pragma once
// Keeps a thread's own message loop in charge while a modal loop runs inside it. A
// message box, a dialog box, a file chooser or a popup menu runs a loop of its own
// that hands thread messages (no window) to nowhere, and the thread's loop does not
// run meanwhile, so requests posted to the thread would be lost and its windows
// would stop following the song. The system offers every message such a loop takes
// to the thread's WH_MSGFILTER hook first; the guard's hook keeps the thread
// messages for the thread's loop to handle once the modal loop has returned, and
// runs the tick on a timer of its own while a modal loop lasts.

#include <windows.h>

#include <deque>
#include <functional>

#include "host/ScopedHandles.h"

class ModalLoopGuard {
 public:
  explicit ModalLoopGuard(std::function<void()> tick) : tick_(std::move(tick)) {}
  ModalLoopGuard(const ModalLoopGuard&) = delete;
  ModalLoopGuard& operator=(const ModalLoopGuard&) = delete;
  ~ModalLoopGuard();

  // Hooks the calling thread (the one whose loop is guarded); tickMs is the tick
  // period inside modal loops. False when the hook cannot be installed.
  bool Install(UINT tickMs);
  // Unhooks; what was kept is dropped.
  void Remove();

  // Marks the thread's loop as handling `msg` for the scope's life. When the outermost
  // scope ends the thread's loop is back in charge and the modal tick stops.
  class Handling {
   public:
    Handling(ModalLoopGuard& guard, const MSG& msg) noexcept;
    Handling(const Handling&) = delete;
    Handling& operator=(const Handling&) = delete;
    ~Handling();

   private:
    ModalLoopGuard& guard_;
    const MSG* outer_;
  };

  // The next thread message kept from a modal loop, oldest first.
  bool TakeKept(MSG& msg);

 private:
  static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam);
  bool Take(const MSG& msg);
  bool IsOuterMessage(const MSG& msg) const;

  std::function<void()> tick_;
  OwnedHook hook_;
  UINT tickMs_ = 20;
  UINT_PTR timer_ = 0;
  int depth_ = 0;
  bool ticking_ = false;
  const MSG* handled_ = nullptr;  // what the thread's loop handles now
  std::deque<MSG> kept_;
};
