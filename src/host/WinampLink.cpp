// The link's life and the plug-in thread's questions to the player. The other parts
// of the class live beside it: PlayerSubclass.cpp, SongDetection.cpp,
// FollowerMove.cpp, LyricsButton.cpp, SkinLookup.cpp and PlayerSystemMenu.cpp.
#include "host/WinampLink.h"

#include <climits>
#include <cstdint>

#include "host/PlayerQuery.h"
#include "host/WinampProtocol.h"

namespace {

constexpr int kMaxPositionJitterMs = 100;

// The player answers in an LRESULT, which a broken player may fill with anything;
// times reach the plug-in as 32-bit milliseconds.
int ClampToInt(int64_t value) {
  return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

}  // namespace

WinampLink::WinampLink(HWND mainWindow, HINSTANCE instance) : instance_(instance) {
  MutexLock lock(playerThreadLock_);
  mainWindow_ = mainWindow;
  if (!mainWindow_) return;
  aux_[0] = FindWindowA(kPlaylistClass, nullptr);
  aux_[1] = FindWindowA(kEqualizerClass, nullptr);
  aux_[2] = FindWindowA(kMiniBrowserClass, nullptr);
  LoadBuiltInButtonBitmap();
  StartWatching();
  // Nothing may escape once the procedures are installed: a throwing constructor
  // would leave them calling into a link that never finished.
  try {
    LoadButtonBitmap();
    CheckPlayingFile();
  } catch (...) {
  }
}

WinampLink::~WinampLink() {
  RemoveSystemMenu();
  StopWatching();
}

HWND WinampLink::Window(int index) const {
  if (index == 0) return mainWindow_;
  return index >= 1 && index <= 3 ? aux_[index - 1] : nullptr;
}

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
  return state == 3 ? 0 : ClampToInt(state);  // paused counts as not playing
}

int WinampLink::GetPosition() {
  HWND main = MainWindow();
  if (!main) return 0;
  LRESULT answer = 0;
  bool answered = AskPlayer(main, kPlayerMessage, 0, kIpcGetOutputTime, &answer);
  MutexLock lock(pluginThreadLock_);
  // A player that does not answer in time leaves the position where it was.
  if (!answered) return lastPosition_;
  const int position = ClampToInt(answer);
  // Players report a slightly earlier time now and then; a small step back is noise
  // and would make the lyrics flicker back. A bigger one is a seek (or a stop: -1).
  // Compared in 64 bits: near INT_MIN the window below the last position has no room.
  if (position >= lastPosition_ || position < int64_t(lastPosition_) - kMaxPositionJitterMs) lastPosition_ = position;
  return lastPosition_;
}

int WinampLink::GetLength() {
  HWND main = MainWindow();
  if (!main) return -1000;  // no player, no length
  LRESULT answer = 0;
  if (!AskPlayer(main, kPlayerMessage, 1, kIpcGetOutputTime, &answer)) return -1000;
  // The player says -1 when it knows no length; no other negative length means more.
  const int64_t seconds = answer;
  if (seconds < 0) return -1000;
  return seconds > INT_MAX / 1000 ? INT_MAX : static_cast<int>(seconds * 1000);
}

bool WinampLink::Seek(int milliseconds) {
  HWND main = MainWindow();
  if (!main) return false;
  if (IsPlaying() != 1) Play();
  LRESULT result = -1;
  WPARAM target = milliseconds < 0 ? 0 : static_cast<WPARAM>(milliseconds);
  return AskPlayer(main, kPlayerMessage, target, kIpcJumpToTime, &result) && result == 0;
}
