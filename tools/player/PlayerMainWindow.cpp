// The player's main window: the message table the plug-in relies on, the buttons
// and keys a user plays with, and a small face showing the song and the time.
#include <cstdio>

#include "player/PlayerWindows.h"
#include "player/SubstitutePlayer.h"

namespace {

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* player = reinterpret_cast<SubstitutePlayer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (message == WM_NCDESTROY) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  if (!player) return DefWindowProcA(hwnd, message, wParam, lParam);
  return player->HandleMainMessage(hwnd, message, wParam, lParam);
}

// The transport buttons, in unscaled client pixels, where the player has them:
// previous, play, pause, stop, next.
constexpr int kButtonTop = 88;
constexpr int kButtonHeight = 18;
constexpr int kButtonLeft[] = {16, 39, 62, 85, 108};
constexpr int kButtonWidth = 23;
constexpr WPARAM kButtonCommand[] = {kPlayerCommandPrevious, kPlayerCommandPlay, kPlayerCommandPause,
                                     kPlayerCommandStop, kPlayerCommandNext};
const char* const kButtonLabel[] = {"|<", ">", "||", "[]", ">|"};

struct Brush {
  HBRUSH brush;
  explicit Brush(COLORREF color) : brush(CreateSolidBrush(color)) {}
  ~Brush() { DeleteObject(brush); }
  Brush(const Brush&) = delete;
  Brush& operator=(const Brush&) = delete;
};

void Text(HDC dc, int x, int y, const std::string& text) {
  TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

}  // namespace

HWND CreatePlayerMainWindow(SubstitutePlayer* player, int x, int y, int width, int height) {
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExA(GetModuleHandleA(nullptr), kPlayerMainClass, &existing)) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.lpszClassName = kPlayerMainClass;
    if (!RegisterClassExA(&wc)) return nullptr;
  }
  // A caption-less popup like the player's skinned window: its window rectangle is
  // exactly 275 x 116 (or twice that), which is how the plug-in tells double size.
  return CreateWindowExA(0, kPlayerMainClass, "Winamp", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, x, y,
                         width, height, nullptr, nullptr, GetModuleHandleA(nullptr), player);
}

LRESULT SubstitutePlayer::HandleMainMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kPlayerMessage: return OnPlayerMessage(wParam, lParam);
    case WM_COMMAND: OnCommand(wParam); return 0;
    case WM_SYSCOMMAND:
      // The system menu's own items (and those the plug-in adds there) arrive as
      // system commands; the player handles them as its commands.
      if ((wParam & 0xFFF0) < 0xF000) return SendMessageA(hwnd, WM_COMMAND, LOWORD(wParam), 0);
      break;
    case WM_KEYDOWN: OnKey(message, wParam); OnKeyDown(wParam); return 0;
    case WM_CHAR: OnKey(message, wParam); return 0;
    case WM_SYSKEYDOWN:
      OnKey(message, wParam);
      OnSysKeyDown(wParam);
      break;
    case WM_LBUTTONUP: OnLButtonUp(lParam); return 0;
    case WM_TIMER: OnTimer(); return 0;
    case kInputEndOfSongMessage: OnInputEnded(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      OnPaint(dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: OnPaint(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_CLOSE: PostQuitMessage(0); return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void SubstitutePlayer::OnKey(UINT message, WPARAM key) {
  keys_.push_back({message, key});
}

// The player's classic keys: Z previous, X play, C pause, V stop, B next, arrows
// seek by 5 s; Ctrl+arrows move the window.
void SubstitutePlayer::OnKeyDown(WPARAM key) {
  if (GetKeyState(VK_CONTROL) < 0 && key >= VK_LEFT && key <= VK_DOWN) {
    RECT r;
    GetWindowRect(main_, &r);
    int dx = key == VK_LEFT ? -8 : key == VK_RIGHT ? 8 : 0;
    int dy = key == VK_UP ? -8 : key == VK_DOWN ? 8 : 0;
    MoveMain(r.left + dx, r.top + dy);
    return;
  }
  switch (key) {
    case 'Z': OnCommand(kPlayerCommandPrevious); break;
    case 'X': OnCommand(kPlayerCommandPlay); break;
    case 'C': OnCommand(kPlayerCommandPause); break;
    case 'V': OnCommand(kPlayerCommandStop); break;
    case 'B': OnCommand(kPlayerCommandNext); break;
    case VK_LEFT: OnCommand(kPlayerCommandRewind); break;
    case VK_RIGHT: OnCommand(kPlayerCommandForward); break;
  }
}

// Alt+E, Alt+G and Alt+T show or hide the playlist, equaliser and mini-browser.
void SubstitutePlayer::OnSysKeyDown(WPARAM key) {
  int index = key == 'E' ? kAuxPlaylist : key == 'G' ? kAuxEqualizer : key == 'T' ? kAuxMiniBrowser : 0;
  if (index) ShowAux(index, !IsWindowVisible(AuxWindow(index)));
}

int SubstitutePlayer::ButtonAt(int x, int y) const {
  x /= Scale();
  y /= Scale();
  if (y < kButtonTop || y >= kButtonTop + kButtonHeight) return -1;
  for (int i = 0; i < 5; ++i) {
    if (x >= kButtonLeft[i] && x < kButtonLeft[i] + kButtonWidth) return i;
  }
  return -1;
}

// Buttons act on release, as the player's do; presses are left to whoever watches
// the window (the plug-in finds its anchors on them).
void SubstitutePlayer::OnLButtonUp(LPARAM lParam) {
  int button = ButtonAt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  if (button >= 0) OnCommand(kButtonCommand[button]);
}

void SubstitutePlayer::OnTimer() {
  if (state_ == PlayState::kPlaying && lengthSeconds_ >= 0 && clock_.Get() >= lengthSeconds_ * 1000) {
    if (current_ + 1 < static_cast<int>(playlist_.size())) {
      SelectEntry(current_ + 1);
    } else {
      Stop();
    }
  }
  Repaint();
}

void SubstitutePlayer::OnPaint(HDC dc) {
  int scale = Scale();
  RECT r = {0, 0, kPlayerWidth * scale, kPlayerHeight * scale};
  // Drawn once into memory at normal size and stretched, so double size needs no
  // second set of coordinates.
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, kPlayerWidth, kPlayerHeight);
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  RECT face = {0, 0, kPlayerWidth, kPlayerHeight};
  { Brush background(RGB(32, 32, 48)); FillRect(memory, &face, background.brush); }
  SetBkMode(memory, TRANSPARENT);
  SetTextColor(memory, RGB(0, 230, 0));
  Text(memory, 8, 4, Title());
  int ms = PositionMs();
  char time[32];
  if (ms < 0) {
    std::snprintf(time, sizeof time, "--:--");
  } else {
    std::snprintf(time, sizeof time, "%02d:%02d", ms / 60000, ms / 1000 % 60);
  }
  Text(memory, 24, 30, time);
  if (lengthSeconds_ >= 0) {
    char length[32];
    std::snprintf(length, sizeof length, "/ %02d:%02d", lengthSeconds_ / 60, lengthSeconds_ % 60);
    Text(memory, 72, 30, length);
  }
  const char* state = state_ == PlayState::kPlaying ? "PLAY" : state_ == PlayState::kPaused ? "PAUSE" : "STOP";
  Text(memory, 200, 30, state);
  SetTextColor(memory, RGB(220, 220, 220));
  for (int i = 0; i < 5; ++i) {
    RECT b = {kButtonLeft[i], kButtonTop, kButtonLeft[i] + kButtonWidth - 1, kButtonTop + kButtonHeight};
    Brush button(RGB(80, 80, 100));
    FillRect(memory, &b, button.brush);
    DrawTextA(memory, kButtonLabel[i], -1, &b, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  StretchBlt(dc, 0, 0, r.right, r.bottom, memory, 0, 0, kPlayerWidth, kPlayerHeight, SRCCOPY);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
}
