// The test plug-in's three entries and its thread. Everything is plain Win32 with
// nothing thrown, since the player does not protect itself.
#include "player/testplugin/TestPlugin.h"

#include <cstdio>
#include <cstring>

#include "host/WinampProtocol.h"

namespace {

TestPluginState state;
HANDLE thread;
HANDLE ready;

int __cdecl Init();
void __cdecl Config();
void __cdecl Quit();

char description[] = "MrLyrics test plug-in";
WinampGeneralPurposePlugin descriptor = {kGeneralPurposePluginVersion, description, Init, Config, Quit,
                                         nullptr, nullptr};

void Record(const char* entry) {
  strncat(state.order, entry, sizeof state.order - strlen(state.order) - 1);
}

// Sent, not posted: the player answers on its own thread while this one waits,
// with a bound so a hung player cannot hold the thread forever.
void AskPosition(HWND window) {
  DWORD_PTR answer = 0;
  if (SendMessageTimeoutA(descriptor.hwndParent, kPlayerMessage, 0, kIpcGetOutputTime, SMTO_NORMAL, 2000, &answer)) {
    InterlockedExchange(&state.lastPosition, static_cast<LONG>(answer));
    InterlockedIncrement(&state.positionQueries);
    InvalidateRect(window, nullptr, TRUE);
  }
}

void Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  char text[64];
  int n = std::snprintf(text, sizeof text, "test plug-in  %ld ms", static_cast<long>(state.lastPosition));
  TextOutA(dc, 4, 4, text, n);
  EndPaint(window, &ps);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER: AskPosition(window); return 0;
    case WM_PAINT: Paint(window); return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateThreadWindow() {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = descriptor.hDllInstance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kTestPluginWindowClass;
  RegisterClassExA(&wc);
  RECT player;
  GetWindowRect(descriptor.hwndParent, &player);
  return CreateWindowExA(WS_EX_TOOLWINDOW, kTestPluginWindowClass, "test plug-in", WS_POPUP | WS_BORDER,
                         player.right, player.top, 200, 40, nullptr, nullptr, descriptor.hDllInstance, nullptr);
}

DWORD WINAPI ThreadMain(void*) {
  state.window = CreateThreadWindow();
  SetTimer(state.window, 1, 50, nullptr);
  ShowWindow(state.window, SW_SHOWNOACTIVATE);
  SetEvent(ready);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd == nullptr && msg.message == WM_USER) {
      SetWindowTextA(state.window, "test plug-in: config");
      continue;
    }
    DispatchMessageA(&msg);
  }
  DestroyWindow(state.window);
  state.window = nullptr;
  UnregisterClassA(kTestPluginWindowClass, descriptor.hDllInstance);
  return 0;
}

// Waits for a handle while answering the messages other threads send to this
// thread's windows: the plug-in thread may be inside a send to the player.
void WaitAnswering(HANDLE handle, DWORD timeoutMs) {
  ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    ULONGLONG now = GetTickCount64();
    if (now >= end) return;
    DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, static_cast<DWORD>(end - now), QS_SENDMESSAGE);
    if (r != WAIT_OBJECT_0 + 1) return;
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

int __cdecl Init() {
  ++state.initCalls;
  Record("init,");
  state.parentAtInit = descriptor.hwndParent;
  state.instanceAtInit = descriptor.hDllInstance;
  state.versionAtInit = SendMessageA(descriptor.hwndParent, kPlayerMessage, 0, kIpcGetVersion);
  ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread = CreateThread(nullptr, 0, ThreadMain, nullptr, 0, &state.threadId);
  if (thread) WaitAnswering(ready, 5000);
  return 0;
}

void __cdecl Config() {
  ++state.configCalls;
  Record("config,");
  PostThreadMessageA(state.threadId, WM_USER, 0, 0);
}

void __cdecl Quit() {
  ++state.quitCalls;
  Record("quit,");
  if (thread) {
    PostThreadMessageA(state.threadId, WM_QUIT, 0, 0);
    WaitAnswering(thread, 10000);
    state.threadEnded = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    CloseHandle(thread);
    thread = nullptr;
  }
  if (ready) CloseHandle(ready);
  ready = nullptr;
}

}  // namespace

extern "C" __declspec(dllexport) WinampGeneralPurposePlugin* __cdecl winampGetGeneralPurposePlugin() {
  return &descriptor;
}

extern "C" __declspec(dllexport) TestPluginState* __cdecl TestPluginGetState() {
  return &state;
}
