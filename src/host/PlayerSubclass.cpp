// The procedures the link installs in the player's four windows. They run on the
// player's thread, hand each message to the part of the link that cares about it and
// then pass it on to the procedure they replaced.
#include <atomic>

#include "host/ThreadMessages.h"
#include "host/WinampLink.h"

namespace {

constexpr char kSubclassProperty[] = "MrLyricsPreviousProc";

// The one live link, for the subclass procedures.
std::atomic<WinampLink*> currentLink{nullptr};

// The subclassed procedures pass messages on through the property, so that they
// need no link for it: the link may be gone while a later subclasser still calls us.
LRESULT CallPrevious(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto previous = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kSubclassProperty));
  if (!previous) return DefWindowProcA(hwnd, message, wParam, lParam);
  LRESULT result = CallWindowProcA(previous, hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) RemovePropA(hwnd, kSubclassProperty);
  return result;
}

// A procedure of ours that cannot be taken out of a window's chain must keep its
// code loaded for as long as the process lives.
void PinThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCSTR>(&currentLink), &module);
}

void Subclass(HWND hwnd, WNDPROC procedure) {
  // A window that still has our property still has our procedure in its chain (an
  // earlier link could not take it out): it reaches this link through currentLink,
  // and subclassing again would make the chain call itself.
  if (!hwnd || GetPropA(hwnd, kSubclassProperty)) return;
  LONG_PTR previous = GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
  if (!previous || !SetPropA(hwnd, kSubclassProperty, reinterpret_cast<HANDLE>(previous))) return;
  if (!SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)))
    RemovePropA(hwnd, kSubclassProperty);
}

void Unsubclass(HWND hwnd, WNDPROC main, WNDPROC aux) {
  if (!hwnd || !IsWindow(hwnd)) return;
  HANDLE previous = GetPropA(hwnd, kSubclassProperty);
  if (!previous) return;
  LONG_PTR current = GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
  if (current == reinterpret_cast<LONG_PTR>(main) || current == reinterpret_cast<LONG_PTR>(aux)) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(hwnd, kSubclassProperty);
  } else {
    // Someone subclassed after us and calls our procedure: it stays, without a link.
    PinThisModule();
  }
}

}  // namespace

void WinampLink::StartWatching() {
  MutexLock lock(playerThreadLock_);
  currentLink = this;
  Subclass(mainWindow_, MainWindowProc);
  for (HWND aux : aux_) Subclass(aux, AuxWindowProc);
}

void WinampLink::StopWatching() {
  MutexLock lock(playerThreadLock_);
  WinampLink* self = this;
  currentLink.compare_exchange_strong(self, nullptr);
  Unsubclass(mainWindow_, MainWindowProc, AuxWindowProc);
  for (HWND aux : aux_) Unsubclass(aux, MainWindowProc, AuxWindowProc);
}

int WinampLink::AuxIndex(HWND hwnd) {
  MutexLock lock(playerThreadLock_);
  for (int i = 1; i <= 3; ++i)
    if (hwnd && aux_[i - 1] == hwnd) return i;
  return 0;
}

LRESULT CALLBACK WinampLink::MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (WinampLink* link = currentLink.load()) {
    bool swallowed = false;
    try {
      swallowed = link->OnMainMessage(message, wParam, lParam);
      if (message == WM_NCDESTROY) link->OnWindowGone(hwnd);
    } catch (...) {
    }
    if (swallowed) return 0;
  }
  return CallPrevious(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK WinampLink::AuxWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (WinampLink* link = currentLink.load()) {
    try {
      link->OnAuxMessage(hwnd, message, wParam, lParam);
      if (message == WM_NCDESTROY) link->OnWindowGone(hwnd);
    } catch (...) {
    }
  }
  return CallPrevious(hwnd, message, wParam, lParam);
}

bool WinampLink::OnMainMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE: OnActivate(wParam); break;
    case WM_SETTEXT: CheckPlayingFile(); break;
    case WM_PAINT: PaintButton(); break;
    case WM_WINDOWPOSCHANGED: Follow(0, lParam); break;
    case WM_STYLECHANGED: InvalidateButton(); break;
    case WM_DISPLAYCHANGE: OnDisplayChange(); break;
    case WM_COMMAND: OnCommand(wParam); break;
    case WM_LBUTTONDOWN: FindAnchors(); break;
    case WM_LBUTTONUP: OnLeftButtonUp(lParam); break;
    case WM_RBUTTONDOWN: return HitsButton(lParam);
    case WM_RBUTTONUP: return OnRightButtonUp(lParam);
  }
  return false;
}

void WinampLink::OnAuxMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  int index = AuxIndex(hwnd);
  if (!index) return;
  switch (message) {
    case WM_ACTIVATE: OnActivate(wParam); break;
    case WM_LBUTTONDOWN: OnAuxLeftButtonDown(index); break;
    case WM_WINDOWPOSCHANGED: Follow(index, lParam); break;
  }
}

void WinampLink::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) return;
  MutexLock lock(playerThreadLock_);
  Notify(TM_PLAYER_ACTIVATED, 0, reinterpret_cast<LPARAM>(mainWindow_));
}

// The plug-in's menu, in the player's system menu, sends its commands here.
void WinampLink::OnCommand(WPARAM wParam) {
  unsigned id = LOWORD(wParam);
  if (id < kFirstWindowCommand || id >= kFirstWindowCommand + kWindowIndexCount) return;
  MutexLock lock(playerThreadLock_);
  Notify(TM_TOGGLE_WINDOW, id - kFirstWindowCommand, 0);
}

void WinampLink::OnWindowGone(HWND hwnd) {
  MutexLock lock(playerThreadLock_);
  if (mainWindow_ == hwnd) mainWindow_ = nullptr;
  for (HWND& aux : aux_)
    if (aux == hwnd) aux = nullptr;
}
