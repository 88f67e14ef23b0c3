#include "host/WindowBase.h"

#include <map>
#include <mutex>

#include "host/ScopedHandles.h"

namespace {

HINSTANCE gInstance = nullptr;

// What one thread's window creation has in flight. Only that thread touches its own
// record; the map itself is shared and guarded.
struct ThreadWindowState {
  bool attachWithoutSubclassing = false;
  HHOOK hook = nullptr;
  WindowBase* pending = nullptr;
};

std::mutex& StatesMutex() {
  static std::mutex mutex;
  return mutex;
}

// The record of the calling thread, made on first use. References into a std::map
// stay valid while other threads add their records.
ThreadWindowState& CurrentThreadState() {
  static std::map<DWORD, ThreadWindowState> states;
  std::lock_guard<std::mutex> lock(StatesMutex());
  return states[GetCurrentThreadId()];
}

// Input-method windows are created on the side of ordinary windows (the first window
// of a thread brings its default IME window): they must not take the pending object.
// A class given as an atom is looked up by name; "ime" fits in 4 bytes.
bool IsImeClassName(const CREATESTRUCTA* create) {
  const char* name = create->lpszClass;
  char atomName[4] = {};
  if (IS_INTRESOURCE(name)) {
    if (!GlobalGetAtomNameA(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(name)), atomName, sizeof atomName)) {
      return false;
    }
    name = atomName;
  }
  return lstrcmpiA(name, "ime") == 0;
}

bool HasImeClassStyle(HWND window) { return (GetClassLongPtrA(window, GCL_STYLE) & CS_IME) != 0; }

// The windows whose procedure runs on this thread, innermost first: one record on
// the stack of each running procedure. A per-thread pointer needs no clean-up at
// thread end.
struct RunningProcedure {
  HWND window;
  const RunningProcedure* outer;
};
const ThreadSlot<const RunningProcedure> tInnermost;

// Keeps its window on the list for the length of one procedure call.
class ProcedureScope {
 public:
  explicit ProcedureScope(HWND window) noexcept : record_{window, tInnermost.Get()} { tInnermost.Set(&record_); }
  ProcedureScope(const ProcedureScope&) = delete;
  ProcedureScope& operator=(const ProcedureScope&) = delete;
  ~ProcedureScope() { tInnermost.Set(record_.outer); }

 private:
  RunningProcedure record_;
};

}  // namespace

struct CreationHook {
  static LRESULT CALLBACK Procedure(int code, WPARAM wParam, LPARAM lParam) {
    ThreadWindowState& state = CurrentThreadState();
    LRESULT next = CallNextHookEx(state.hook, code, wParam, lParam);
    if (next != 0) return next;  // another hook vetoed the creation
    if (code != HCBT_CREATEWND || !state.pending) return 0;
    HWND window = reinterpret_cast<HWND>(wParam);
    auto* cbt = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
    if (HasImeClassStyle(window) || IsImeClassName(cbt->lpcs)) return 0;
    WindowBase* object = state.pending;
    state.pending = nullptr;
    if (object->handle_) return 0;
    bool subclass = !state.attachWithoutSubclassing;
    state.attachWithoutSubclassing = false;
    object->Attach(window, subclass);
    return 0;
  }
};

WindowBase::~WindowBase() { Destroy(); }

HINSTANCE WindowBase::Instance() {
  if (!gInstance) {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&gInstance), &module);
    gInstance = module;
  }
  return gInstance;
}

void WindowBase::SetInstance(HINSTANCE instance) { gInstance = instance; }

ATOM WindowBase::RegisterWindowClass(WNDCLASSEXA& record, const char* className) {
  record.cbSize = sizeof record;
  record.lpfnWndProc = StaticWindowProc;
  record.hInstance = Instance();
  record.lpszClassName = className;
  return RegisterClassExA(&record);
}

void WindowBase::UnregisterWindowClass(const char* className) { UnregisterClassA(className, Instance()); }

bool WindowBase::Create(const char* title, DWORD exStyle, DWORD style, const RECT& rect, const WindowBase* parent,
                        UINT_PTR id) {
  return CreateUnder(parent ? parent->Handle() : nullptr, title, exStyle, style, rect, id);
}

bool WindowBase::CreateUnder(HWND parent, const char* title, DWORD exStyle, DWORD style, const RECT& rect,
                             UINT_PTR id) {
  if (!ArmCreationHook(this, false)) return false;
  HWND window = CreateWindowExA(exStyle, className_, title, style, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(id), Instance(), nullptr);
  DisarmCreationHook();
  return window != nullptr;
}

void WindowBase::Destroy() {
  if (handle_) DestroyWindow(handle_);
  // A window of another thread cannot be destroyed from here; at least forget it.
  if (handle_) Detach();
}

bool WindowBase::ArmCreationHook(WindowBase* object, bool attachWithoutSubclassing) {
  ThreadWindowState& state = CurrentThreadState();
  if (state.pending) return false;
  if (!state.hook) {
    state.hook = SetWindowsHookExA(WH_CBT, CreationHook::Procedure, nullptr, GetCurrentThreadId());
    if (!state.hook) return false;
  }
  state.pending = object;
  state.attachWithoutSubclassing = attachWithoutSubclassing;
  return true;
}

bool WindowBase::DisarmCreationHook() {
  ThreadWindowState& state = CurrentThreadState();
  // A creation that never reached the hook (refused, vetoed) must not leave its
  // object pending for the next window of this thread.
  state.pending = nullptr;
  state.attachWithoutSubclassing = false;
  if (!state.hook) return true;
  if (!UnhookWindowsHookEx(state.hook)) return false;
  state.hook = nullptr;
  return true;
}

void WindowBase::Attach(HWND window, bool subclass) {
  handle_ = window;
  isDialog_ = !subclass;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  previousProc_ = nullptr;
  if (!subclass) return;
  auto previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowBase::StaticWindowProc)));
  if (previous != &WindowBase::StaticWindowProc) previousProc_ = previous;
}

void WindowBase::Detach() {
  if (handle_ && IsWindow(handle_)) SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
  handle_ = nullptr;
}

LRESULT WindowBase::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (isDialog_) return 0;  // the dialog manager does the default handling
  if (previousProc_) return CallWindowProcA(previousProc_, handle_, message, wParam, lParam);
  return DefWindowProcA(handle_, message, wParam, lParam);
}

LRESULT WindowBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultProc(message, wParam, lParam);
}

LRESULT CALLBACK WindowBase::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* object = reinterpret_cast<WindowBase*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!object || object->handle_ != window) return DefWindowProcA(window, message, wParam, lParam);
  LRESULT result = 0;
  ProcedureScope running(window);
  try {
    result = object->WindowProc(message, wParam, lParam);
  } catch (...) {
    // Nothing thrown may unwind into the system's message dispatch.
    result = 0;
  }
  if (message == WM_NCDESTROY) object->Detach();
  return result;
}

INT_PTR CALLBACK WindowBase::StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* object = reinterpret_cast<WindowBase*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!object || object->handle_ != window) return FALSE;
  INT_PTR result = FALSE;
  ProcedureScope running(window);
  try {
    result = static_cast<INT_PTR>(object->WindowProc(message, wParam, lParam));
  } catch (...) {
    result = FALSE;
  }
  if (message == WM_NCDESTROY) object->Detach();
  return result;
}

// A child's parent and a popup's owner both count: a dialog opened from a child
// view of the Editor keeps the Editor busy.
bool WindowBase::InsideProcedureOf(HWND window) {
  if (!window) return false;
  for (const RunningProcedure* running = tInnermost.Get(); running; running = running->outer) {
    for (HWND up = running->window; up; up = GetParent(up)) {
      if (up == window) return true;
    }
  }
  return false;
}

void WindowBase::Update() const { UpdateWindow(handle_); }
void WindowBase::Show(int command) const { ShowWindow(handle_, command); }
LRESULT WindowBase::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  return SendMessageA(handle_, message, wParam, lParam);
}
bool WindowBase::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
  return PostMessageA(handle_, message, wParam, lParam) != 0;
}

RECT WindowBase::WindowRect() const {
  RECT rect{};
  GetWindowRect(handle_, &rect);
  return rect;
}

RECT WindowBase::ClientRect() const {
  RECT rect{};
  GetClientRect(handle_, &rect);
  return rect;
}

UINT WindowBase::ShowState() const {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(handle_, &placement)) return SW_HIDE;
  return placement.showCmd;
}

void WindowBase::MoveTo(const RECT& rect) const {
  SetWindowPos(handle_, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER);
}

void WindowBase::Invalidate(const RECT* rect, bool erase) const { InvalidateRect(handle_, rect, erase); }
