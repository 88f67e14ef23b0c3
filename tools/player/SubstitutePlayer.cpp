#include "player/SubstitutePlayer.h"

#include <algorithm>
#include <cstring>

#include "player/Mp3Length.h"
#include "player/PlayerWindows.h"

namespace {

// The file name without folder and extension, found on whole characters: a
// double-byte character's trail byte may be 0x5C, the backslash.
std::string SongName(const std::string& ansiPath) {
  size_t nameStart = 0;
  size_t dot = std::string::npos;
  for (size_t i = 0; i < ansiPath.size(); ++i) {
    char c = ansiPath[i];
    if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < ansiPath.size()) {
      ++i;
    } else if (c == '\\' || c == '/') {
      nameStart = i + 1;
      dot = std::string::npos;
    } else if (c == '.') {
      dot = i;
    }
  }
  size_t end = dot == std::string::npos ? ansiPath.size() : dot;
  return ansiPath.substr(nameStart, end - nameStart);
}

// WAV files by their data, MPEG audio by its frames; -1 for anything else.
int SongLengthMs(const std::string& ansiPath) {
  WaveFile wave;
  if (ReadWaveFile(ansiPath, wave)) return wave.LengthMs();
  return MpegAudioFileLengthMs(ansiPath);
}

// The equaliser and playlist stack under the main window, as the player starts.
struct AuxLayout {
  int dy;
  int height;
};

}  // namespace

SubstitutePlayer::SubstitutePlayer() = default;

SubstitutePlayer::~SubstitutePlayer() {
  // The plug-in goes first: it still watches the player's windows until quit.
  plugin_.Unload();
  input_.Unload();
  audio_.Stop();
  for (HWND& aux : aux_) {
    if (aux) DestroyWindow(aux);
    aux = nullptr;
  }
  if (main_) DestroyWindow(main_);
  main_ = nullptr;
}

namespace {
// The real player has the common dialogs, the shell and the common controls loaded
// for its whole life, so a plug-in that imports them never makes them come and go.
// Wine's common dialogs leave a mutex behind at every unload, which a plug-in's
// load and unload in a bare player would be blamed for.
void LoadWhatThePlayerKeepsLoaded() {
  static const bool loaded = [] {
    for (const char* name : {"comdlg32.dll", "shell32.dll", "comctl32.dll"}) LoadLibraryA(name);
    return true;
  }();
  (void)loaded;
}
}  // namespace

bool SubstitutePlayer::Create(const PlayerOptions& options) {
  if (main_) return false;
  LoadWhatThePlayerKeepsLoaded();
  options_ = options;
  clock_.SetRealTime(options.realTimeClock);
  int scale = Scale();
  main_ = CreatePlayerMainWindow(this, options.x, options.y, kPlayerWidth * scale, kPlayerHeight * scale);
  if (!main_) return false;
  const AuxLayout layout[] = {{kPlayerHeight * 2, kPlayerHeight * 2},  // playlist below the equaliser
                              {kPlayerHeight, kPlayerHeight},
                              {0, kPlayerHeight * 3}};
  for (int i = kAuxPlaylist; i <= kAuxMiniBrowser; ++i) {
    int dy = layout[i - 1].dy * scale;
    int x = i == kAuxMiniBrowser ? options.x + kPlayerWidth * scale : options.x;
    aux_[i - 1] = CreatePlayerAuxWindow(this, i, main_, x, options.y + dy, kPlayerWidth * scale,
                                        layout[i - 1].height * scale);
    if (!aux_[i - 1]) return false;
  }
  if (options.systemSubmenu) AddSystemSubmenu();
  if (options.realTimeClock) SetTimer(main_, kClockTimer, 100, nullptr);
  ShowWindow(main_, SW_SHOWNOACTIVATE);
  if (options.showAuxWindows) {
    ShowAux(kAuxEqualizer, true);
    ShowAux(kAuxPlaylist, true);
  }
  Retitle();
  return true;
}

// The player's system menu begins with a submenu holding its main menu; the
// plug-in adds its own entry at the end of that submenu.
void SubstitutePlayer::AddSystemSubmenu() {
  HMENU system = GetSystemMenu(main_, FALSE);
  if (!system) return;
  systemSubmenu_ = CreatePopupMenu();
  AppendMenuA(systemSubmenu_, MF_STRING, kPlayerCommandPlay, "Play");
  AppendMenuA(systemSubmenu_, MF_STRING, kPlayerCommandPause, "Pause");
  AppendMenuA(systemSubmenu_, MF_STRING, kPlayerCommandStop, "Stop");
  AppendMenuA(systemSubmenu_, MF_STRING, kPlayerCommandNext, "Next");
  InsertMenuA(system, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(systemSubmenu_), "Winamp");
  InsertMenuA(system, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

HWND SubstitutePlayer::AuxWindow(int index) const {
  return index >= kAuxPlaylist && index <= kAuxMiniBrowser ? aux_[index - 1] : nullptr;
}

void SubstitutePlayer::ShowAux(int index, bool show) {
  if (HWND aux = AuxWindow(index)) ShowWindow(aux, show ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void SubstitutePlayer::MoveMain(int x, int y) {
  SetWindowPos(main_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SubstitutePlayer::MoveAux(int index, int x, int y) {
  if (HWND aux = AuxWindow(index)) {
    SetWindowPos(aux, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void SubstitutePlayer::SetDoubleSize(bool doubleSize) {
  options_.doubleSize = doubleSize;
  SetWindowPos(main_, nullptr, 0, 0, kPlayerWidth * Scale(), kPlayerHeight * Scale(),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Repaint();
}

void SubstitutePlayer::SetPlaylist(const std::vector<std::string>& ansiFiles) {
  for (auto& entry : playlist_) retired_.push_back(std::move(entry));
  playlist_.clear();
  for (const auto& file : ansiFiles) playlist_.push_back(std::make_unique<std::string>(file));
  current_ = 0;
  if (!playlist_.empty()) SelectEntry(0);
}

void SubstitutePlayer::SelectEntry(int index) {
  if (index < 0 || index >= static_cast<int>(playlist_.size())) return;
  current_ = index;
  clock_.Set(0);
  if (options_.realTimeClock) {
    int lengthMs = SongLengthMs(*playlist_[current_]);
    lengthSeconds_ = lengthMs < 0 ? -1 : (lengthMs + 999) / 1000;
  }
  if (state_ != PlayState::kStopped) StartAudio();
  if (state_ == PlayState::kPaused) audio_.Pause();
  Retitle();
}

void SubstitutePlayer::Next() {
  if (!playlist_.empty()) SelectEntry((current_ + 1) % static_cast<int>(playlist_.size()));
}

void SubstitutePlayer::Previous() {
  int count = static_cast<int>(playlist_.size());
  if (count) SelectEntry((current_ + count - 1) % count);
}

std::string SubstitutePlayer::Title() const {
  if (playlist_.empty()) return "Winamp";
  std::string title = std::to_string(current_ + 1) + ". " + SongName(*playlist_[current_]) + " - Winamp";
  if (state_ == PlayState::kStopped) title += " [Stopped]";
  if (state_ == PlayState::kPaused) title += " [Paused]";
  return title;
}

// The player retitles its main window whenever the song or its state changes;
// the plug-in notices new songs by that alone.
void SubstitutePlayer::Retitle() {
  ++retitles_;
  SetWindowTextA(main_, Title().c_str());
  Repaint();
}

void SubstitutePlayer::Repaint() {
  if (main_) InvalidateRect(main_, nullptr, FALSE);
}

void SubstitutePlayer::StartAudio() {
  if (input_.Loaded()) input_.Play(playlist_.empty() ? std::string() : *playlist_[current_]);
  if (options_.realTimeClock && !playlist_.empty()) {
    audio_.Start(*playlist_[current_], clock_.Get());
  }
}

// Play while playing starts the song again, as the player's button does.
void SubstitutePlayer::Play() {
  if (state_ != PlayState::kPaused) clock_.Set(0);
  if (state_ == PlayState::kPaused && input_.Loaded()) {
    input_.Pause(false);
  } else if (state_ == PlayState::kPaused && audio_.Audible()) {
    audio_.Resume();
  } else {
    StartAudio();
  }
  state_ = PlayState::kPlaying;
  clock_.Run();
  Retitle();
}

void SubstitutePlayer::Pause() {
  if (state_ == PlayState::kPlaying) {
    state_ = PlayState::kPaused;
    clock_.Halt();
    audio_.Pause();
    input_.Pause(true);
  } else if (state_ == PlayState::kPaused) {
    state_ = PlayState::kPlaying;
    clock_.Run();
    audio_.Resume();
    input_.Pause(false);
  } else {
    return;
  }
  Retitle();
}

void SubstitutePlayer::Stop() {
  state_ = PlayState::kStopped;
  clock_.Halt();
  clock_.Set(0);
  audio_.Stop();
  input_.Stop();
  Retitle();
}

// The input module's song has played out: the next one, or stop after the last.
void SubstitutePlayer::OnInputEnded() {
  if (state_ != PlayState::kPlaying) return;
  if (current_ + 1 < static_cast<int>(playlist_.size())) {
    SelectEntry(current_ + 1);
  } else {
    Stop();
  }
}

int SubstitutePlayer::PositionMs() const {
  if (state_ == PlayState::kStopped) return -1;
  return input_.Loaded() ? input_.OutputTimeMs() : clock_.Get();
}

void SubstitutePlayer::Queue(WPARAM query, const std::vector<LRESULT>& answers) {
  scripted_[query].insert(scripted_[query].end(), answers.begin(), answers.end());
}

void SubstitutePlayer::ClearRecords() {
  seeks_.clear();
  ipcCalls_.clear();
  commands_.clear();
  keys_.clear();
  retitles_ = 0;
}

LRESULT SubstitutePlayer::OnPlayerMessage(WPARAM wParam, LPARAM operation) {
  ipcCalls_.push_back({wParam, operation});
  switch (operation) {
    case kIpcGetVersion: return options_.version;
    case kIpcIsPlaying: return static_cast<LRESULT>(state_);
    case kIpcGetOutputTime: return OnGetOutputTime(wParam);
    case kIpcJumpToTime: return OnJumpToTime(static_cast<int>(wParam));
    case kIpcGetListPosition: return current_;
    case kIpcGetSkin: return OnGetSkin(wParam);
    case kIpcGetPlaylistFile: return OnGetPlaylistFile(wParam);
  }
  return 0;
}

// wParam 0: position in ms (a scripted one first); 1: length in s; 2: length in ms.
LRESULT SubstitutePlayer::OnGetOutputTime(WPARAM wParam) {
  if (wParam < 2 && !scripted_[wParam].empty()) {
    LRESULT answer = scripted_[wParam].front();
    scripted_[wParam].pop_front();
    return answer;
  }
  if (wParam == 0) return PositionMs();
  if (input_.Loaded()) return wParam == 1 ? input_.LengthMs() / 1000 : input_.LengthMs();
  if (playlist_.empty() || lengthSeconds_ < 0) return -1;
  return wParam == 1 ? lengthSeconds_ : lengthSeconds_ * 1000;
}

// 0 on success, -1 when nothing plays, 1 past the end of the song.
LRESULT SubstitutePlayer::OnJumpToTime(int ms) {
  seeks_.push_back(ms);
  return SeekTo(ms);
}

int SubstitutePlayer::SeekTo(int ms) {
  if (state_ == PlayState::kStopped) return -1;
  if (input_.Loaded()) return input_.Seek(ms < 0 ? 0 : ms), 0;
  if (lengthSeconds_ >= 0 && ms >= lengthSeconds_ * 1000) return 1;
  clock_.Set(ms < 0 ? 0 : ms);
  if (audio_.Audible()) {
    StartAudio();
    if (state_ == PlayState::kPaused) audio_.Pause();
  }
  Repaint();
  return 0;
}

// A pointer into the player's own memory, valid until the player goes.
LRESULT SubstitutePlayer::OnGetPlaylistFile(WPARAM index) {
  if (index >= playlist_.size()) return 0;
  return reinterpret_cast<LRESULT>(playlist_[index]->c_str());
}

LRESULT SubstitutePlayer::OnGetSkin(WPARAM buffer) {
  constexpr size_t kBufferSize = 260;
  char* out = reinterpret_cast<char*>(buffer);
  if (!out) return 0;
  size_t n = options_.skinFolder.size() < kBufferSize ? options_.skinFolder.size() : kBufferSize - 1;
  std::memcpy(out, options_.skinFolder.data(), n);
  out[n] = '\0';
  return reinterpret_cast<LRESULT>(out);
}

void SubstitutePlayer::OnCommand(WPARAM id) {
  commands_.push_back(id);
  switch (LOWORD(id)) {
    case kPlayerCommandPlay: Play(); break;
    case kPlayerCommandPause: Pause(); break;
    case kPlayerCommandStop: Stop(); break;
    case kPlayerCommandNext: Next(); break;
    case kPlayerCommandPrevious: Previous(); break;
    case kPlayerCommandRewind: SeekTo(std::max(0, clock_.Get() - 5000)); break;
    case kPlayerCommandForward: SeekTo(clock_.Get() + 5000); break;
  }
}

bool SubstitutePlayer::LoadPlugin(const std::string& dllPath) {
  return main_ && plugin_.Load(dllPath, main_);
}

bool SubstitutePlayer::InitPlugin() { return plugin_.Init(); }
bool SubstitutePlayer::ConfigPlugin() { return plugin_.Config(); }
bool SubstitutePlayer::QuitPlugin() { return plugin_.Quit(); }
void SubstitutePlayer::UnloadPlugin() { plugin_.Unload(); }
