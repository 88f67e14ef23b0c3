#pragma once
// A stand-in for the media player: the main window that answers the plug-in's
// WM_USER queries, the playlist, equaliser and mini-browser windows the plug-in
// looks up by class, a clock tests set exactly (or a real-time one for the demo),
// and the hosting of one general-purpose plug-in DLL. Everything runs on the thread
// that calls Create; tests drive it in-process and pump its messages with PumpFor
// and PumpUntil while the plug-in's own thread sends it messages.

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/WinampProtocol.h"
#include "player/InputModuleHost.h"
#include "player/PlayerClock.h"
#include "player/PluginHost.h"
#include "player/WavePlayback.h"

struct PlayerOptions {
  int version = 0x5066;  // a current 5.x player
  bool doubleSize = false;
  std::string skinFolder;  // answered to the skin query; empty: no skin folder
  bool realTimeClock = false;  // false: the position moves only when a test sets it
  bool showAuxWindows = true;  // playlist and equaliser shown at start (mini-browser never)
  bool systemSubmenu = true;   // a submenu at position 0 of the system menu, as the player has
  int x = 100;
  int y = 100;
};

enum class PlayState { kStopped = 0, kPlaying = 1, kPaused = 3 };

// One WM_USER query as it reached the main window, in arrival order.
struct IpcCall {
  WPARAM wParam;
  LPARAM operation;
};

// A key message that reached the main window (WM_KEYDOWN, WM_CHAR, WM_SYSKEYDOWN...).
struct KeyMessage {
  UINT message;
  WPARAM key;
};

// The player's own WM_COMMAND ids besides play.
constexpr WPARAM kPlayerCommandPrevious = 40044;
constexpr WPARAM kPlayerCommandPause = 40046;
constexpr WPARAM kPlayerCommandStop = 40047;
constexpr WPARAM kPlayerCommandNext = 40048;
constexpr WPARAM kPlayerCommandRewind = 40144;
constexpr WPARAM kPlayerCommandForward = 40148;

constexpr int kAuxPlaylist = 1;
constexpr int kAuxEqualizer = 2;
constexpr int kAuxMiniBrowser = 3;

class SubstitutePlayer {
 public:
  SubstitutePlayer();
  ~SubstitutePlayer();
  SubstitutePlayer(const SubstitutePlayer&) = delete;
  SubstitutePlayer& operator=(const SubstitutePlayer&) = delete;

  // Creates the main window and the three auxiliary windows. Only one player may
  // live at a time: the plug-in finds the auxiliary windows by class name.
  bool Create(const PlayerOptions& options);
  HWND MainWindow() const { return main_; }
  HWND AuxWindow(int index) const;  // kAuxPlaylist..kAuxMiniBrowser
  void ShowAux(int index, bool show);
  void MoveMain(int x, int y);
  void MoveAux(int index, int x, int y);
  void SetDoubleSize(bool doubleSize);
  void SetVersion(int version) { options_.version = version; }
  void SetSkinFolder(const std::string& folder) { options_.skinFolder = folder; }

  // The playlist holds ANSI paths. Setting it selects entry 0 (and retitles) when
  // it is not empty. Pointers handed out for earlier lists stay valid.
  void SetPlaylist(const std::vector<std::string>& ansiFiles);
  // Selects an entry, rewinds to 0 and retitles, as the player does on a song change.
  void SelectEntry(int index);
  void Next();  // wraps round, like Previous
  void Previous();
  int CurrentEntry() const { return current_; }
  // "N. name - Winamp", with the state after the name when not playing.
  std::string Title() const;

  void Play();
  void Pause();  // toggles between playing and paused, like the player's button
  void Stop();
  PlayState State() const { return state_; }
  // -1 when nothing plays, as answered to the plug-in (ignoring the queue).
  int PositionMs() const;
  void SetPosition(int ms) { clock_.Set(ms); Repaint(); }
  void SetLength(int seconds) { lengthSeconds_ = seconds; }
  int LengthSeconds() const { return lengthSeconds_; }
  // Answers to successive position (ms) or length (s) queries before the clock or
  // the song is asked again: scripted jitter for the link's filter, and answers no
  // sane player gives, of any size an LRESULT holds.
  void QueuePositions(const std::vector<LRESULT>& positionsMs) { Queue(0, positionsMs); }
  void QueueLengths(const std::vector<LRESULT>& lengthsS) { Queue(1, lengthsS); }

  // What reached the player.
  int LastSeek() const { return seeks_.empty() ? -1 : seeks_.back(); }
  const std::vector<int>& Seeks() const { return seeks_; }
  const std::vector<IpcCall>& IpcCalls() const { return ipcCalls_; }
  const std::vector<WPARAM>& CommandsReceived() const { return commands_; }
  const std::vector<KeyMessage>& KeysReceived() const { return keys_; }
  int Retitles() const { return retitles_; }
  void ClearRecords();

  // The plug-in. Load finds the export and fills the descriptor's handles; the
  // entries are called on this thread, as the player calls them.
  bool LoadPlugin(const std::string& dllPath);
  WinampGeneralPurposePlugin* Plugin() const { return plugin_.Descriptor(); }
  HMODULE PluginModule() const { return plugin_.Module(); }
  bool InitPlugin();
  bool ConfigPlugin();
  bool QuitPlugin();
  void UnloadPlugin();

  // An input module (the test MP3 module) playing through the manual-clock output:
  // play, pause, stop, the position, the length and seeks then go to it. Loaded
  // before the plug-in, as the player loads its input modules first.
  bool LoadInputModule(const std::string& dllPath) { return main_ && input_.Load(dllPath, main_); }
  void UnloadInputModule() { input_.Unload(); }
  WinampInModule* InputModule() const { return input_.Module(); }

  // Runs the message loop of this thread: for a while, or until the predicate holds
  // (true) or the time is up (false). Sent messages are answered meanwhile.
  static void PumpFor(int ms);
  static bool PumpUntil(const std::function<bool()>& done, int timeoutMs);

  // The window as it is on screen, written as a 24-bit BMP.
  static bool Screenshot(HWND window, const std::string& bmpPath);
  // The visible top-level windows of this process: the player's and the plug-in's.
  static std::vector<HWND> ProcessWindows();

  // Window procedure plumbing (public for the procedures in the .cpp).
  LRESULT HandleMainMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleAuxMessage(int index, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT OnPlayerMessage(WPARAM wParam, LPARAM operation);
  LRESULT OnGetOutputTime(WPARAM wParam);
  LRESULT OnJumpToTime(int ms);
  int SeekTo(int ms);
  LRESULT OnGetPlaylistFile(WPARAM index);
  LRESULT OnGetSkin(WPARAM buffer);
  void OnCommand(WPARAM id);
  void OnKey(UINT message, WPARAM key);
  void OnKeyDown(WPARAM key);
  void OnSysKeyDown(WPARAM key);
  void OnLButtonUp(LPARAM lParam);
  void OnTimer();
  void OnInputEnded();
  void OnPaint(HDC dc);
  void Retitle();
  void Repaint();
  void StartAudio();
  int Scale() const { return options_.doubleSize ? 2 : 1; }
  void AddSystemSubmenu();
  int ButtonAt(int x, int y) const;

  PlayerOptions options_;
  HWND main_ = nullptr;
  HWND aux_[3] = {};
  HMENU systemSubmenu_ = nullptr;
  PlayState state_ = PlayState::kStopped;
  PlayerClock clock_;
  WavePlayback audio_;
  int lengthSeconds_ = -1;
  std::vector<std::unique_ptr<std::string>> playlist_;
  std::vector<std::unique_ptr<std::string>> retired_;  // earlier lists: their pointers stay valid
  int current_ = 0;
  void Queue(WPARAM query, const std::vector<LRESULT>& answers);
  std::deque<LRESULT> scripted_[2];  // position, length
  std::vector<int> seeks_;
  std::vector<IpcCall> ipcCalls_;
  std::vector<WPARAM> commands_;
  std::vector<KeyMessage> keys_;
  int retitles_ = 0;
  PluginHost plugin_;
  InputModuleHost input_;  // declared after the plug-in: the plug-in goes first
};
