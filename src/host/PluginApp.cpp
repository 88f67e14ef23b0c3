#include "host/PluginApp.h"

#include <algorithm>
#include <cstring>

#include "host/DummyWindow.h"
#include "host/HelpControl.h"
#include "host/WindowBase.h"
#include "resources/resource.h"

namespace {

constexpr int kDefaultWait = 20;
// After a failed karaoke frame: long enough not to spin, short enough not to be seen.
constexpr DWORD kFailedFrameNap = 10;
// Posted to the thread itself when a call has to wait for its window: it is handled by
// the thread's loop once every modal loop has returned (a modal loop keeps it too).
constexpr UINT kRunWaitingCalls = WM_APP;

// Counts a call into a window for as long as it runs.
class CallScope {
 public:
  explicit CallScope(int& count) noexcept : count_(count) { ++count_; }
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;
  ~CallScope() { --count_; }

 private:
  int& count_;
};

WString UserLanguage() {
  char name[100] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SABBREVLANGNAME, name, sizeof name);
  return WString::FromAnsi(name);
}

}  // namespace

PluginApp::PluginApp(const PluginAppSetup& setup)
    : link_(setup.link),
      windows_(setup.windows),
      napper_(setup.napper),
      instance_(setup.instance ? setup.instance : WindowBase::Instance()),
      menu_(LoadMenuA(instance_, MAKEINTRESOURCEA(IDR_PLUGIN_MENU))) {
  common_ = std::make_unique<CommonSettings>(*setup.ini);
  displayer_ = std::make_unique<DisplayerSettings>(*setup.ini);
  karaoke_ = std::make_unique<KaraokeSettings>(*setup.ini);
  editor_ = std::make_unique<EditorSettings>(*setup.ini);
  common_->language = UserLanguage();
  if (common_->lyricsButton) link_->ShowLyricsButton(true);

  started_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!started_) return;
  Start();
  if (ThreadId() == 0) return;
  // The thread has no queue until it first asks for a message: retry the post, but
  // give up when the thread is gone or the bound has passed, so init never hangs.
  DWORD begin = GetTickCount();
  while (!Post(TM_START)) {
    if (WaitForSingleObject(ThreadHandle(), 5) != WAIT_TIMEOUT) return;
    if (GetTickCount() - begin > setup.startTimeoutMs) return;
  }
  DWORD waited = GetTickCount() - begin;
  DWORD left = waited < setup.startTimeoutMs ? setup.startTimeoutMs - waited : 0;
  // The thread may talk to the player's windows (this thread's) while it starts.
  HANDLE objects[2] = {started_.Get(), ThreadHandle()};
  DWORD start = GetTickCount();
  for (;;) {
    DWORD spent = GetTickCount() - start;
    DWORD result = MsgWaitForMultipleObjects(2, objects, FALSE, spent < left ? left - spent : 0, QS_SENDMESSAGE);
    if (result != WAIT_OBJECT_0 + 2) break;
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  running_ = WaitForSingleObject(started_.Get(), 0) == WAIT_OBJECT_0 &&
             WaitForSingleObject(ThreadHandle(), 0) == WAIT_TIMEOUT;
}

PluginApp::~PluginApp() {
  Stop();
  // Run destroys every window on its way out; a thread that died some other way took
  // its windows with it, and the objects only forget them here.
  for (auto& slot : slots_) slot.reset();
  dummy_.reset();
  editor_.reset();
  karaoke_.reset();
  displayer_.reset();
  common_.reset();
  menu_.Reset();
}

namespace {
// Windows ends a menu when its owner gets WM_CANCELMODE; Wine's menu loop only
// listens to its own keys, so the menu window is told Escape as well.
BOOL CALLBACK CancelModalLoop(HWND window, LPARAM) {
  char name[8] = {};
  GetClassNameA(window, name, sizeof name);
  if (strcmp(name, "#32768") == 0) {
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  } else {
    PostMessageA(window, WM_CANCELMODE, 0, 0);
  }
  return TRUE;
}
}  // namespace

void PluginApp::NudgeWhileStopping() { EnumThreadWindows(ThreadId(), CancelModalLoop, 0); }

PluginWindow* PluginApp::Window(WindowIndex index) const {
  return index >= 0 && index < static_cast<int>(slots_.size()) ? slots_[index].get() : nullptr;
}

HWND PluginApp::DummyHandle() const { return dummy_ ? dummy_->Handle() : nullptr; }

void PluginApp::SetMenuState(int index, bool open) {
  MENUITEMINFOA item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STATE;
  item.fState = open ? MFS_CHECKED : 0;
  SetMenuItemInfoA(menu_.Get(), kFirstWindowCommand + index, FALSE, &item);
}

bool PluginApp::MenuChecked(int index) const {
  MENUITEMINFOA item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STATE;
  // Without menu 114 the slots are the only record of what is open.
  if (!GetMenuItemInfoA(menu_.Get(), kFirstWindowCommand + index, FALSE, &item)) {
    return IsOpen(static_cast<WindowIndex>(index));
  }
  return (item.fState & MFS_CHECKED) != 0;
}

int PluginApp::Run() {
  if (!WaitForStart()) return 0;
  StartLoop();
  running_ = true;
  SetEvent(started_.Get());
  int code = 0;
  try {
    code = [this] {
      MSG msg;
      for (;;) {
        if (!MessageWaiting()) Idle();
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) return -1;
        if (got == 0) return static_cast<int>(msg.wParam);
        if (StopRequested()) return 0;
        HandleMessage(msg);
        // Requests that came while a modal loop ran, in the order they came.
        while (!StopRequested() && modal_.TakeKept(msg)) HandleMessage(msg);
      }
    }();
  } catch (...) {
    code = -1;
  }
  // Windows can only be destroyed by the thread that made them: whatever ended the
  // loop, they go now.
  StopWindows();
  return code;
}

bool PluginApp::WaitForStart() {
  MSG msg;
  for (;;) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) return false;
    if (got == 0) return false;  // told to quit before it started
    if (!msg.hwnd && msg.message == TM_START) return true;
  }
}

void PluginApp::HandleMessage(MSG msg) {
  ModalLoopGuard::Handling handling(modal_, msg);
  try {
    if (!msg.hwnd) {
      HandleThreadMessage(msg);
      if (napper_) napper_->Handled(msg.message);
    } else if (!FilterWindowMessage(msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  } catch (...) {
    // One failed request (out of memory in a window) must not end the loop.
  }
}

void PluginApp::StartLoop() {
  // The player's system menu shows the popup as a submenu of its own.
  link_->AddSystemMenu(PopupMenu());
  link_->SetNotifyThread(ThreadId());
  dummy_ = std::make_unique<DummyWindow>(*this);
  dummy_->Open();
  // Until these are handled, a stop keeps the windows remembered as open.
  reopening_[kDisplayerWindow] = displayer_->open && Post(TM_OPEN_WINDOW, kDisplayerWindow);
  reopening_[kEditorWindow] = editor_->open && Post(TM_OPEN_WINDOW, kEditorWindow);
  wait_ = static_cast<DWORD>(displayer_->wait > 0 ? displayer_->wait : kDefaultWait);
  waited_ = 0;
  modal_.Install(wait_);
}

bool PluginApp::MessageWaiting() const {
  MSG msg;
  return PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) != 0;
}

DWORD WaitForMessageOrTimeout(DWORD ms) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const DWORD result = MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  if (result == WAIT_TIMEOUT) return ms;
  QueryPerformanceCounter(&end);
  const LONGLONG elapsed = (end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart;
  return static_cast<DWORD>(std::clamp<LONGLONG>(elapsed, 0, ms));
}

DWORD PluginApp::Nap(DWORD ms) { return napper_ ? napper_->Nap(ms) : WaitForMessageOrTimeout(ms); }

// Waits until the next tick is due or a message arrives. One wait per tick: every
// wake-up costs the plug-in thread, and the wait ends at once for a message anyway.
// Time already waited survives message handling, so messages never postpone a tick.
// Returning with no message waiting is fine: GetMessage then blocks.
void PluginApp::Idle() {
  for (;;) {
    PluginWindow* karaoke = slots_[kKaraokeWindow].get();
    if (karaoke && karaoke->IsRendering()) {
      // A display that refuses frames (lost to another program) would otherwise
      // have the thread spin at full speed.
      if (!karaoke->DrawFrame()) Nap(kFailedFrameNap);
      if (MessageWaiting()) return;
      continue;
    }
    // Only the Displayer and the Editor follow the song on a tick (the karaoke screen
    // draws frames above, the Options sheet never): without them, wait for the next
    // message instead of waking fifty times a second for nothing.
    if (!TickedWindowOpen()) return;
    while (waited_ < wait_) {
      const DWORD rest = wait_ - waited_;
      const DWORD napped = std::min(Nap(rest), rest);
      waited_ += napped;
      // A wait that ran its full length saw no message: the look after the tick
      // catches one that came just then.
      if (napped < rest && MessageWaiting()) return;
    }
    Tick();
    waited_ = 0;
    if (MessageWaiting()) return;
  }
}

// In the order of the window index: the Displayer, the Karaoke Displayer, the Editor,
// the Options sheet. What a window asks for from a call (to close, say) is posted, so
// the slots stay as they are for the whole loop.
template <class Call>
void PluginApp::ForEachOpenWindow(Call call) {
  for (size_t index = 0; index < slots_.size(); ++index) ForWindow(static_cast<int>(index), call);
}

// A window that is in the middle of something of its own (a dialog it opened, or its
// own call that led here) is not entered again: the call waits until the thread's
// loop is back in charge.
template <class Call>
void PluginApp::ForWindow(int index, Call call) {
  PluginWindow* window = slots_[index].get();
  if (!window) return;
  if (Busy(index, *window)) {
    waitingCalls_.push_back({index, window, call});
    if (waitingCalls_.size() == 1) Post(kRunWaitingCalls);
    return;
  }
  CallScope calling(calling_[index]);
  call(*window);
}

void PluginApp::RunWaitingCalls() {
  while (!waitingCalls_.empty()) {
    WaitingCall waiting = std::move(waitingCalls_.front());
    waitingCalls_.pop_front();
    // Only to the window it was meant for, if that is still open.
    if (slots_[waiting.index].get() != waiting.window) continue;
    CallScope calling(calling_[waiting.index]);
    try {
      waiting.call(*waiting.window);
    } catch (...) {
    }
  }
}

bool PluginApp::TickedWindowOpen() const { return slots_[kDisplayerWindow] || slots_[kEditorWindow]; }

bool PluginApp::Busy(int index, const PluginWindow& window) const {
  return calling_[index] > 0 || WindowBase::InsideProcedureOf(window.Handle());
}

void PluginApp::Tick() {
  ForEachOpenWindow([](PluginWindow& window) { window.Tick(); });
}

// Runs from the timer of a modal loop (a message box, a file chooser, a popup menu).
// The window that opened the loop waits inside it and is left alone; the others
// go on following the song.
void PluginApp::TickOutsideModalLoops() {
  try {
    for (size_t index = 0; index < slots_.size(); ++index) {
      PluginWindow* window = slots_[index].get();
      if (!window || Busy(static_cast<int>(index), *window)) continue;
      window->Tick();
    }
  } catch (...) {
    // Nothing thrown may unwind into the modal loop.
  }
}

void PluginApp::ApplySettings() {
  ForEachOpenWindow([](PluginWindow& window) { window.ApplySettings(); });
}

void PluginApp::SettingsChanged() {
  ForEachOpenWindow([](PluginWindow& window) { window.SettingsChanged(); });
}

bool PluginApp::ShowTextInDisplayer(const WString& text) {
  if (!slots_[kDisplayerWindow]) return false;
  ForWindow(kDisplayerWindow, [text](PluginWindow& window) { window.ShowText(text); });
  return true;
}

bool PluginApp::FilterWindowMessage(MSG& msg) {
  if (PluginWindow* sheet = slots_[kOptionsWindow].get()) {
    if (sheet->HasEnded()) {
      slots_[kOptionsWindow].reset();
      SetMenuState(kOptionsWindow, false);
    } else if (sheet->PreTranslate(msg)) {
      return true;
    }
  }
  if (PluginWindow* editor = slots_[kEditorWindow].get()) return editor->PreTranslate(msg);
  return false;
}

void PluginApp::HandleThreadMessage(const MSG& msg) {
  int index = static_cast<int>(msg.wParam);
  bool force = msg.lParam != 0;
  switch (msg.message) {
    case TM_OPEN_WINDOW: OpenWindow(index); break;
    case TM_CLOSE_WINDOW: CloseWindow(index, force); break;
    case TM_TOGGLE_WINDOW: ToggleWindow(index, force); break;
    case TM_SONG_CHANGED: ForEachOpenWindow([](PluginWindow& window) { window.SongChanged(); }); break;
    case TM_SKIN_CHANGED: ForEachOpenWindow([](PluginWindow& window) { window.SkinChanged(); }); break;
    case TM_MOVE_FOLLOWER:
      MoveFollower(static_cast<int>(static_cast<INT_PTR>(msg.wParam)), static_cast<int>(msg.lParam));
      break;
    case TM_PLAYER_ACTIVATED: PlayerActivated(reinterpret_cast<HWND>(msg.lParam)); break;
    case kRunWaitingCalls: RunWaitingCalls(); break;
    default: break;
  }
}

void PluginApp::OpenWindow(int index) {
  if (index == kHelpWindow) {
    OpenHelp();
    return;
  }
  if (index < 0 || index >= static_cast<int>(slots_.size())) return;
  reopening_[index] = false;
  if (!slots_[index] && windows_) {
    slots_[index] = windows_->Create(static_cast<WindowIndex>(index), *this, DummyHandle());
  }
  // A window that could not open (no display mode, no memory) leaves its item
  // unchecked, so the next click tries again instead of only clearing the mark.
  SetMenuState(index, slots_[index] != nullptr);
}

void PluginApp::CloseWindow(int index, bool force) {
  if (index < 0 || index >= static_cast<int>(slots_.size())) return;
  if (slots_[index]) {
    bool mayClose = index == kOptionsWindow || MayClose(index, force);
    if (!mayClose && !force) return;
    slots_[index].reset();
  }
  SetMenuState(index, false);
}

void PluginApp::ToggleWindow(int index, bool force) {
  if (index >= 0 && index < kHelpWindow && MenuChecked(index)) {
    CloseWindow(index, force);
  } else {
    OpenWindow(index);
  }
}

// The help file is the library's own name with the extension chm, shown by the
// HTML Help control (loaded only when asked for, and kept while its window may live).
void PluginApp::OpenHelp() {
  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(instance_, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  WString help = WString::FromW(path);
  size_t dot = help.FindLast(u'.');
  if (dot == WString::npos) return;
  help = help.Substr(0, dot + 1);
  help.AppendAscii("chm");
  if (!helpLibrary_) helpLibrary_ = LoadHelpControl();
  ShowHelpTopic(helpLibrary_.Get(), help);
}

// The Editor's question about unsaved text is a modal loop: no ticks meanwhile.
bool PluginApp::MayClose(int index, bool force) {
  CallScope calling(calling_[index]);
  return slots_[index]->MayClose(force);
}

void PluginApp::MoveFollower(int x, int y) {
  PluginWindow* displayer = slots_[kDisplayerWindow].get();
  if (!displayer) return;
  RECT rect{};
  if (!GetWindowRect(displayer->Handle(), &rect)) return;
  MoveWindow(displayer->Handle(), x, y, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

// The Displayer comes up with the player, just behind it, unless it stays on top
// anyway. It is not activated: the user clicked the player.
void PluginApp::PlayerActivated(HWND player) {
  PluginWindow* displayer = slots_[kDisplayerWindow].get();
  if (!displayer || displayer_->topMost) return;
  SetWindowPos(displayer->Handle(), player, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

// A quit that comes before the start's reopen requests were handled leaves what was
// remembered as it was: the player started and closed again at once must not forget.
void PluginApp::StopWindows() {
  displayer_->open = slots_[kDisplayerWindow] || reopening_[kDisplayerWindow] ? 1 : 0;
  slots_[kDisplayerWindow].reset();
  const bool editorOpen = slots_[kEditorWindow] != nullptr;
  if (editorOpen) {
    // Forced: the Editor still asks about unsaved text, but closes whatever the answer.
    try {
      MayClose(kEditorWindow, true);
    } catch (...) {
    }
  }
  editor_->open = editorOpen || reopening_[kEditorWindow] ? 1 : 0;
  slots_[kEditorWindow].reset();
  // Not remembered for the next start, but never left behind either.
  slots_[kKaraokeWindow].reset();
  slots_[kOptionsWindow].reset();
  dummy_.reset();
  CloseHelpWindows(helpLibrary_.Get());
  helpLibrary_.Reset();
  modal_.Remove();
  waitingCalls_.clear();
}
