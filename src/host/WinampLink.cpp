#include "host/WinampLink.h"

#include <windowsx.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include "base/CodePage.h"
#include "host/SkinFiles.h"
#include "host/ThreadMessages.h"
#include "host/WinampProtocol.h"
#include "resources/resource.h"

namespace {

// The built-in skin bitmap holds the Lyrics button too; the string names the skin
// file, which a module without the string (a test program) still looks for.
constexpr int kButtonBitmapResource = IDB_SKIN;
constexpr int kSkinBitmapNameString = IDS_SKIN_BITMAP_NAME;
constexpr WChar kDefaultSkinBitmapName[] = u"gen_mrlyrics.bmp";

// Where the Lyrics button sits on the player at normal size, and where it is taken
// from in the button bitmap.
constexpr RECT kButtonDestination = {239, 83, 269, 91};
constexpr RECT kButtonSource = {241, 10, 271, 18};

constexpr char kSubclassProperty[] = "MrLyricsPreviousProc";
constexpr char kSystemMenuText[] = "Mirabo's Lyrics";
// A playlist entry's name is read from the player's memory up to its NUL; long
// stream URLs are the longest, and nothing sane is longer.
constexpr size_t kMaxPlaylistName = 32768;
constexpr int kMaxPositionJitterMs = 100;

// The one live link, for the subclass procedures.
std::atomic<WinampLink*> currentLink{nullptr};

class GdiObject {
 public:
  explicit GdiObject(HGDIOBJ object) : object_(object) {}
  ~GdiObject() {
    if (object_) DeleteObject(object_);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  HGDIOBJ Get() const { return object_; }

 private:
  HGDIOBJ object_;
};

// A memory context with one bitmap selected, put back on destruction.
class MemoryDC {
 public:
  MemoryDC(HDC compatible, HBITMAP bitmap) : dc_(CreateCompatibleDC(compatible)) {
    if (dc_) old_ = SelectObject(dc_, bitmap);
  }
  ~MemoryDC() {
    if (!dc_) return;
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

// One message to a player window that gives up after the reply bound, or at once
// when the window's thread is hung. Messages to a window of the calling thread are a
// plain call.
bool AskPlayer(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr) {
  if (!window) return false;
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                           WinampLink::kPlayerReplyTimeoutMs, &answer))
    return false;
  if (result) *result = static_cast<LRESULT>(answer);
  return true;
}

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

// The follower sticks to a window when an edge of one lies on an edge of the other
// and the two overlap along that edge.
bool Touches(const RECT& f, const RECT& r) {
  bool overlapVertically = r.top <= f.bottom && f.top <= r.bottom;
  bool overlapHorizontally = r.left <= f.right && f.left <= r.right;
  return (overlapVertically && (f.left == r.right || f.right == r.left)) ||
         (overlapHorizontally && (f.top == r.bottom || f.bottom == r.top));
}

bool FileExists(const WString& path) {
  DWORD attributes = GetFileAttributesW(path.W());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

WString JoinPath(WString folder, const WString& name) {
  if (!folder.IsEmpty() && folder[folder.Length() - 1] != u'\\' && folder[folder.Length() - 1] != u'/')
    folder.Append(u'\\');
  return folder.Append(name);
}

bool IsSeparatorItem(HMENU menu, int position) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  return GetMenuItemInfoA(menu, position, TRUE, &info) && (info.fType & MFT_SEPARATOR);
}

}  // namespace

WinampLink::WinampLink(HWND mainWindow, HINSTANCE instance) : instance_(instance) {
  MutexLock lock(playerThreadLock_);
  mainWindow_ = mainWindow;
  if (!mainWindow_) return;
  aux_[0] = FindWindowA(kPlaylistClass, nullptr);
  aux_[1] = FindWindowA(kEqualizerClass, nullptr);
  aux_[2] = FindWindowA(kMiniBrowserClass, nullptr);
  currentLink = this;
  buttonBitmap_.Reset(LoadBitmapA(instance_, MAKEINTRESOURCEA(kButtonBitmapResource)));
  Subclass(mainWindow_, MainWindowProc);
  for (HWND aux : aux_) Subclass(aux, AuxWindowProc);
  // Nothing may escape once the procedures are installed: a throwing constructor
  // would leave them calling into a link that never finished.
  try {
    LoadButtonBitmap();
    CheckPlayingFile();
  } catch (...) {
  }
}

WinampLink::~WinampLink() {
  {
    MutexLock lock(playerThreadLock_);
    WinampLink* self = this;
    currentLink.compare_exchange_strong(self, nullptr);
  }
  RemoveSystemMenu();
  MutexLock lock(playerThreadLock_);
  Unsubclass(mainWindow_);
  for (HWND aux : aux_) Unsubclass(aux);
  DeleteButtonBitmap();
}

// --- Subclassing ---

void WinampLink::Subclass(HWND hwnd, WNDPROC procedure) {
  // A window that still has our property still has our procedure in its chain (an
  // earlier link could not take it out): it reaches this link through currentLink,
  // and subclassing again would make the chain call itself.
  if (!hwnd || GetPropA(hwnd, kSubclassProperty)) return;
  LONG_PTR previous = GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
  if (!previous || !SetPropA(hwnd, kSubclassProperty, reinterpret_cast<HANDLE>(previous))) return;
  if (!SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)))
    RemovePropA(hwnd, kSubclassProperty);
}

void WinampLink::Unsubclass(HWND hwnd) {
  if (!hwnd || !IsWindow(hwnd)) return;
  HANDLE previous = GetPropA(hwnd, kSubclassProperty);
  if (!previous) return;
  LONG_PTR current = GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
  if (current == reinterpret_cast<LONG_PTR>(&MainWindowProc) ||
      current == reinterpret_cast<LONG_PTR>(&AuxWindowProc)) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(hwnd, kSubclassProperty);
  } else {
    // Someone subclassed after us and calls our procedure: it stays, without a link.
    PinThisModule();
  }
}

HWND WinampLink::Window(int index) const {
  if (index == 0) return mainWindow_;
  return index >= 1 && index <= 3 ? aux_[index - 1] : nullptr;
}

int WinampLink::AuxIndex(HWND hwnd) {
  MutexLock lock(playerThreadLock_);
  for (int i = 1; i <= 3; ++i)
    if (hwnd && aux_[i - 1] == hwnd) return i;
  return 0;
}

// --- Window procedures (player's thread) ---

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

void WinampLink::OnCommand(WPARAM wParam) {
  unsigned id = LOWORD(wParam);
  if (id < kFirstWindowCommand || id >= kFirstWindowCommand + kWindowIndexCount) return;
  MutexLock lock(playerThreadLock_);
  Notify(TM_TOGGLE_WINDOW, id - kFirstWindowCommand, 0);
}

void WinampLink::OnDisplayChange() {
  MutexLock lock(playerThreadLock_);
  LoadButtonBitmap();
  Notify(TM_SKIN_CHANGED, 0, 0);
}

void WinampLink::OnLeftButtonUp(LPARAM lParam) {
  if (HitsButton(lParam)) Notify(TM_TOGGLE_WINDOW, kDisplayerWindow, 0);
}

bool WinampLink::OnRightButtonUp(LPARAM lParam) {
  if (!HitsButton(lParam)) return false;
  Notify(TM_TOGGLE_WINDOW, kKaraokeWindow, 0);
  return true;
}

void WinampLink::OnAuxLeftButtonDown(int index) {
  // A window the user drags by itself stops carrying the follower.
  MutexLock lock(playerThreadLock_);
  anchors_[index] = 0;
}

void WinampLink::OnWindowGone(HWND hwnd) {
  MutexLock lock(playerThreadLock_);
  if (mainWindow_ == hwnd) mainWindow_ = nullptr;
  for (HWND& aux : aux_)
    if (aux == hwnd) aux = nullptr;
}

// --- Song changes ---

void WinampLink::CheckPlayingFile() {
  MutexLock lock(playerThreadLock_);
  LRESULT entry = 0;
  LRESULT name = 0;
  if (!AskPlayer(mainWindow_, kPlayerMessage, 0, kIpcGetListPosition, &entry)) return;
  if (!AskPlayer(mainWindow_, kPlayerMessage, static_cast<WPARAM>(entry), kIpcGetPlaylistFile, &name)) return;
  const char* ansi = reinterpret_cast<const char*>(name);
  WString file = ansi ? AnsiToWide(ansi, strnlen(ansi, kMaxPlaylistName)) : WString();
  // The whole path counts: the same file name in another folder is another song.
  if (file == playingFile_) return;
  playingFile_ = file;
  Notify(TM_SONG_CHANGED, 0, 0);
}

// --- Following the player ---

void WinampLink::FindAnchors() {
  MutexLock lock(playerThreadLock_);
  RECT f = {};
  bool haveFollower = follower_ && GetWindowRect(follower_, &f);
  bool found = false;
  for (int i = 0; i < 4; ++i) {
    anchors_[i] = 0;
    RECT r;
    HWND window = Window(i);
    if (!haveFollower || found || !window || !GetWindowRect(window, &r) || !Touches(f, r)) continue;
    anchors_[i] = 1;
    reference_ = r;
    found = true;
  }
  if (haveFollower) followerRect_ = f;
  mainAnchored_ = anchors_[0];
}

void WinampLink::Follow(int index, LPARAM lParam) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
  POINT target;
  {
    MutexLock lock(playerThreadLock_);
    if (!follower_ || !mainWindow_ || !pos || (pos->flags & SWP_NOMOVE)) return;
    bool anchored = index == 0 ? mainAnchored_ != 0
                               : anchors_[index] && (GetWindowLongPtrA(Window(index), GWL_STYLE) & WS_VISIBLE);
    if (!anchored) return;
    RECT now = {pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy};
    OffsetRect(&followerRect_, now.left - reference_.left, now.top - reference_.top);
    reference_ = now;
    target = {followerRect_.left, followerRect_.top};
  }
  Notify(TM_MOVE_FOLLOWER, static_cast<WPARAM>(static_cast<INT_PTR>(target.x)), target.y);
}

// --- The Lyrics button ---

RECT WinampLink::ButtonRect() const {
  RECT r = kButtonDestination;
  RECT window;
  // The player draws itself at double size in a main window of any other width.
  if (mainWindow_ && GetWindowRect(mainWindow_, &window) && window.right - window.left != kPlayerWidth)
    r = {r.left * 2, r.top * 2, r.right * 2, r.bottom * 2};
  return r;
}

bool WinampLink::HitsButton(LPARAM lParam) {
  MutexLock lock(playerThreadLock_);
  RECT r = ButtonRect();
  POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return mainWindow_ && PtInRect(&r, point);
}

void WinampLink::InvalidateButton() {
  MutexLock lock(playerThreadLock_);
  RECT r = ButtonRect();
  if (mainWindow_) InvalidateRect(mainWindow_, &r, FALSE);
}

void WinampLink::PaintButton() {
  MutexLock lock(playerThreadLock_);
  if (!buttonVisible_ || !mainWindow_) return;
  GdiObject update(CreateRectRgn(0, 0, 0, 0));
  HRGN region = static_cast<HRGN>(update.Get());
  if (!region) return;
  int kind = GetUpdateRgn(mainWindow_, region, FALSE);
  if (kind == NULLREGION || kind == ERROR) return;
  RECT dest = ButtonRect();
  PAINTSTRUCT paint;
  if (HDC dc = BeginPaint(mainWindow_, &paint)) {
    if (buttonBitmap_) {
      MemoryDC memory(dc, buttonBitmap_.Get());
      StretchBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, memory.Get(),
                 kButtonSource.left, kButtonSource.top, kButtonSource.right - kButtonSource.left,
                 kButtonSource.bottom - kButtonSource.top, SRCCOPY);
    }
    EndPaint(mainWindow_, &paint);
  }
  // The player's own procedure still paints everything it was asked to, except the
  // button.
  InvalidateRgn(mainWindow_, region, FALSE);
  ValidateRect(mainWindow_, &dest);
}

void WinampLink::LoadButtonBitmap() {
  MutexLock lock(playerThreadLock_);
  DeleteButtonBitmap();
  WString path;
  if (FindSkinBitmap(mainWindow_, path)) {
    ScopedWindowDC dc(mainWindow_);
    if (dc) buttonBitmap_ = LoadBitmapFile(path, dc.Get());
  }
  buttonFromSkin_ = static_cast<bool>(buttonBitmap_);
  if (!buttonBitmap_) buttonBitmap_.Reset(LoadBitmapA(instance_, MAKEINTRESOURCEA(kButtonBitmapResource)));
}

void WinampLink::DeleteButtonBitmap() {
  buttonBitmap_.Reset();
  buttonFromSkin_ = false;
}

HBITMAP WinampLink::ButtonBitmap() {
  MutexLock lock(playerThreadLock_);
  return buttonBitmap_.Get();
}

bool WinampLink::ButtonFromSkin() {
  MutexLock lock(playerThreadLock_);
  return buttonFromSkin_;
}

bool WinampLink::ShowLyricsButton(bool show) {
  MutexLock lock(pluginThreadLock_);
  buttonVisible_ = show ? 1 : 0;
  RECT r = ButtonRect();
  if (mainWindow_) InvalidateRect(mainWindow_, &r, FALSE);
  return true;
}

// --- Skin file ---

WString WinampLink::SkinBitmapName() const {
  wchar_t name[MAX_PATH];
  int length = LoadStringW(instance_, kSkinBitmapNameString, name, MAX_PATH);
  if (length <= 0) return WString(kDefaultSkinBitmapName);
  return WString(reinterpret_cast<const WChar*>(name), static_cast<size_t>(length));
}

bool WinampLink::FindSkinBitmap(HWND player, WString& path) const {
  const WString name = SkinBitmapName();
  if (!player) return false;
  // The player writes into the buffer whenever it handles the message: after a
  // time-out that may still happen, so the buffer is then left to it.
  auto folder = std::make_unique<char[]>(MAX_PATH);
  if (AskPlayer(player, kPlayerMessage, reinterpret_cast<WPARAM>(folder.get()), kIpcGetSkin)) {
    WString skinFolder = AnsiToWide(folder.get(), strnlen(folder.get(), MAX_PATH));
    // An empty folder means the player's built-in skin, which has no such file.
    WString joined = JoinPath(skinFolder, name);
    if (!skinFolder.IsEmpty() && joined[0] != u'\\' && FileExists(joined)) {
      path = joined;
      return true;
    }
  } else {
    folder.release();
  }
  // Beside the plug-in itself; the folder is cut on wide text, where a backslash is
  // never the second half of a double-byte character.
  std::vector<wchar_t> module(32768);
  DWORD length = GetModuleFileNameW(instance_, module.data(), static_cast<DWORD>(module.size()));
  if (!length || length >= module.size()) return false;
  WString own(reinterpret_cast<const WChar*>(module.data()), length);
  size_t slash = own.FindLast(u'\\');
  if (slash == WString::npos) return false;
  WString beside = own.Substr(0, slash + 1).Append(name);
  if (!FileExists(beside)) return false;
  path = beside;
  return true;
}

bool WinampLink::GetSkinBitmapPath(WString& path) { return FindSkinBitmap(MainWindow(), path); }

// --- Queries (plug-in thread) ---

HWND WinampLink::GetPlayerWindow(int index) {
  MutexLock lock(pluginThreadLock_);
  return Window(index);
}

bool WinampLink::GetPlayingFile(WString& file) {
  MutexLock lock(pluginThreadLock_);
  file = playingFile_;
  return !file.IsEmpty();
}

int WinampLink::Play() {
  HWND main = MainWindow();
  if (!main) return 0;
  AskPlayer(main, WM_COMMAND, kPlayerCommandPlay, 0);
  return IsPlaying();
}

int WinampLink::IsPlaying() {
  LRESULT state = 0;
  if (!AskPlayer(MainWindow(), kPlayerMessage, 0, kIpcIsPlaying, &state)) return 0;
  return state == 3 ? 0 : static_cast<int>(state);  // paused counts as not playing
}

int WinampLink::GetPosition() {
  HWND main = MainWindow();
  if (!main) return 0;
  LRESULT answer = 0;
  bool answered = AskPlayer(main, kPlayerMessage, 0, kIpcGetOutputTime, &answer);
  MutexLock lock(pluginThreadLock_);
  // A player that does not answer in time leaves the position where it was.
  if (!answered) return lastPosition_;
  int position = static_cast<int>(answer);
  // Players report a slightly earlier time now and then; a small step back is noise
  // and would make the lyrics flicker back. A bigger one is a seek (or a stop: -1).
  if (position >= lastPosition_ || position < lastPosition_ - kMaxPositionJitterMs) lastPosition_ = position;
  return lastPosition_;
}

int WinampLink::GetLength() {
  HWND main = MainWindow();
  if (!main) return 0;
  LRESULT seconds = 0;
  if (!AskPlayer(main, kPlayerMessage, 1, kIpcGetOutputTime, &seconds)) return -1000;
  long long ms = static_cast<long long>(static_cast<int>(seconds)) * 1000;
  return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

bool WinampLink::Seek(int milliseconds) {
  HWND main = MainWindow();
  if (!main) return false;
  if (IsPlaying() != 1) Play();
  LRESULT result = -1;
  WPARAM target = milliseconds < 0 ? 0 : static_cast<WPARAM>(milliseconds);
  return AskPlayer(main, kPlayerMessage, target, kIpcJumpToTime, &result) && result == 0;
}

// --- System menu ---

bool WinampLink::AddSystemMenu(HMENU menu) {
  HWND main = MainWindow();
  if (!main || !menu) return false;
  RemoveSystemMenu();
  HMENU system = GetSystemMenu(main, FALSE);
  HMENU submenu = system ? GetSubMenu(system, 0) : nullptr;
  if (!submenu) return false;
  MENUITEMINFOA separator = {};
  separator.cbSize = sizeof separator;
  separator.fMask = MIIM_FTYPE;
  separator.fType = MFT_SEPARATOR;
  if (!InsertMenuItemA(submenu, GetMenuItemCount(submenu), TRUE, &separator)) return false;
  char text[sizeof kSystemMenuText];
  memcpy(text, kSystemMenuText, sizeof text);
  MENUITEMINFOA item = {};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STATE | MIIM_SUBMENU | MIIM_TYPE;
  item.fType = MFT_STRING;
  item.hSubMenu = menu;
  item.dwTypeData = text;
  if (!InsertMenuItemA(submenu, GetMenuItemCount(submenu), TRUE, &item)) {
    RemoveMenu(submenu, GetMenuItemCount(submenu) - 1, MF_BYPOSITION);
    return false;
  }
  MutexLock lock(pluginThreadLock_);
  systemMenuEntry_ = menu;
  systemSubmenu_ = submenu;
  return true;
}

void WinampLink::RemoveSystemMenu() {
  HMENU entry, submenu;
  {
    MutexLock lock(pluginThreadLock_);
    entry = systemMenuEntry_;
    submenu = systemSubmenu_;
    systemMenuEntry_ = systemSubmenu_ = nullptr;
  }
  if (!entry || !submenu || !IsMenu(submenu)) return;
  // Found by its submenu, not by position: the player may have added items since.
  for (int i = GetMenuItemCount(submenu) - 1; i >= 0; --i) {
    if (GetSubMenu(submenu, i) != entry) continue;
    RemoveMenu(submenu, i, MF_BYPOSITION);  // detaches; the menu's owner destroys it
    if (i > 0 && IsSeparatorItem(submenu, i - 1)) RemoveMenu(submenu, i - 1, MF_BYPOSITION);
    return;
  }
}
