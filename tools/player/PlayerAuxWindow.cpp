// The playlist editor, equaliser and mini-browser windows. They do nothing of
// their own; the plug-in finds them by class name, watches them and anchors its
// window to them, so they only need to exist, move and show or hide.
#include "player/PlayerWindows.h"
#include "player/SubstitutePlayer.h"

namespace {

struct AuxState {
  SubstitutePlayer* player;
  int index;
};

LRESULT CALLBACK AuxWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* state = reinterpret_cast<AuxState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    delete state;
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  if (!state) return DefWindowProcA(hwnd, message, wParam, lParam);
  return state->player->HandleAuxMessage(state->index, hwnd, message, wParam, lParam);
}

bool RegisterAuxClass(const char* name) {
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(GetModuleHandleA(nullptr), name, &existing)) return true;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = AuxWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = name;
  return RegisterClassExA(&wc) != 0;
}

const char* AuxCaption(int index) {
  static const char* const kCaptions[] = {"Playlist editor", "Equalizer", "Mini-browser"};
  return kCaptions[index - 1];
}

void PaintAux(HWND hwnd, int index, HDC dc) {
  RECT r;
  GetClientRect(hwnd, &r);
  HBRUSH brush = CreateSolidBrush(RGB(24, 24, 40));
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 200, 0));
  const char* caption = AuxCaption(index);
  TextOutA(dc, 6, 4, caption, lstrlenA(caption));
}

}  // namespace

const char* AuxClassName(int index) {
  static const char* const kClasses[] = {kPlaylistClass, kEqualizerClass, kMiniBrowserClass};
  return index >= 1 && index <= 3 ? kClasses[index - 1] : nullptr;
}

HWND CreatePlayerAuxWindow(SubstitutePlayer* player, int index, HWND owner, int x, int y, int w, int h) {
  const char* name = AuxClassName(index);
  if (!name || !RegisterAuxClass(name)) return nullptr;
  auto* state = new AuxState{player, index};
  HWND hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, name, AuxCaption(index), WS_POPUP, x, y, w, h, owner,
                              nullptr, GetModuleHandleA(nullptr), state);
  if (!hwnd) delete state;
  return hwnd;
}

// Keys reach the player through whichever of its windows is active; plain keys go
// on to the main window, Ctrl+arrows move this window.
LRESULT SubstitutePlayer::HandleAuxMessage(int index, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintAux(hwnd, index, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: PaintAux(hwnd, index, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_KEYDOWN:
      if (GetKeyState(VK_CONTROL) < 0 && wParam >= VK_LEFT && wParam <= VK_DOWN) {
        RECT r;
        GetWindowRect(hwnd, &r);
        int dx = wParam == VK_LEFT ? -8 : wParam == VK_RIGHT ? 8 : 0;
        int dy = wParam == VK_UP ? -8 : wParam == VK_DOWN ? 8 : 0;
        MoveAux(index, r.left + dx, r.top + dy);
        return 0;
      }
      return SendMessageA(main_, message, wParam, lParam);
    case WM_CHAR:
    case WM_SYSKEYDOWN: return SendMessageA(main_, message, wParam, lParam);
    case WM_CLOSE: ShowAux(index, false); return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}
