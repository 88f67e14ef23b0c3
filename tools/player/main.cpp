// mrlyrics-player: the substitute player as a program.
//
//   mrlyrics-player [--plugin DLL] [--play FILE...] [--version N] [--skin DIR]
//                   [--double] [--command ID...] [--next-at T,T...]
//                   [--post-at T:CLASS:MESSAGE:WPARAM...]
//                   [--screenshots DIR [--shots-at T,T... | --seconds N]]
//
// Plays the files as one playlist by the real-time clock (audibly where WAV files
// and a sound device allow) with the plug-in loaded. Each --command is sent to the
// main window as WM_COMMAND once the plug-in runs (50003 toggles the plug-in's
// Displayer, which opens by itself at start unless its settings say otherwise).
//
// Times T are seconds (decimals allowed) since the first song started. --next-at
// presses the player's Next button at those times. --post-at posts a message to the
// first window of the process (top-level or child) of that class at time T, as a user
// would press a key or pick a menu item there. With --screenshots the player
// writes a BMP of every visible window of the process to DIR at each --shots-at time
// (or once, after --seconds N, default 10), named "at-<T>s-song<N>-<n>-<class>.bmp",
// prints their paths, and after the last scheduled time quits the plug-in and
// exits: the headless demo.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "player/SubstitutePlayer.h"

namespace {

// A message --post-at posts at a time.
struct TimedMessage {
  int atMs;
  std::string className;
  UINT message;
  WPARAM wParam;
};

struct Arguments {
  PlayerOptions options;
  std::string plugin;
  std::vector<std::string> files;
  std::vector<WPARAM> commands;
  std::vector<int> nextAtMs;
  std::vector<int> shotsAtMs;
  std::vector<TimedMessage> messages;
  std::string screenshots;
  int seconds = 10;
};

// "2,6,10.5" as milliseconds; false for anything but non-negative numbers.
bool ParseTimes(const char* text, std::vector<int>& ms) {
  const char* p = text;
  for (;;) {
    char* end = nullptr;
    double seconds = std::strtod(p, &end);
    if (end == p || !(seconds >= 0 && seconds < 86400)) return false;
    ms.push_back(static_cast<int>(seconds * 1000 + 0.5));
    if (*end == '\0') return true;
    if (*end != ',') return false;
    p = end + 1;
  }
}

// "T:CLASS:MESSAGE:WPARAM"; the class may hold anything but the separators' own ":".
bool ParseTimedMessage(const std::string& text, std::vector<TimedMessage>& messages) {
  const size_t first = text.find(':'), last = text.rfind(':');
  const size_t middle = last == std::string::npos || last == 0 ? std::string::npos : text.rfind(':', last - 1);
  std::vector<int> at;
  if (first == std::string::npos || middle == std::string::npos || middle <= first ||
      !ParseTimes(text.substr(0, first).c_str(), at))
    return false;
  messages.push_back({at[0], text.substr(first + 1, middle - first - 1),
                      static_cast<UINT>(std::strtoul(text.c_str() + middle + 1, nullptr, 0)),
                      static_cast<WPARAM>(std::strtoul(text.c_str() + last + 1, nullptr, 0))});
  return true;
}

int Usage() {
  std::fprintf(stderr,
               "usage: mrlyrics-player [--plugin DLL] [--play FILE...] [--version N] [--skin DIR]\n"
               "                       [--double] [--command ID...] [--next-at T,T...]\n"
               "                       [--post-at T:CLASS:MESSAGE:WPARAM...]\n"
               "                       [--screenshots DIR [--shots-at T,T... | --seconds N]]\n");
  return 2;
}

bool Parse(int argc, char** argv, Arguments& args) {
  args.options.realTimeClock = true;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    bool hasValue = i + 1 < argc;
    if (a == "--double") {
      args.options.doubleSize = true;
    } else if (a == "--play") {
      while (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) args.files.push_back(argv[++i]);
    } else if (a == "--plugin" && hasValue) {
      args.plugin = argv[++i];
    } else if (a == "--version" && hasValue) {
      args.options.version = static_cast<int>(std::strtol(argv[++i], nullptr, 0));
    } else if (a == "--skin" && hasValue) {
      args.options.skinFolder = argv[++i];
    } else if (a == "--command" && hasValue) {
      args.commands.push_back(static_cast<WPARAM>(std::strtoul(argv[++i], nullptr, 0)));
    } else if (a == "--screenshots" && hasValue) {
      args.screenshots = argv[++i];
    } else if (a == "--seconds" && hasValue) {
      args.seconds = std::atoi(argv[++i]);
    } else if (a == "--shots-at" && hasValue) {
      if (!ParseTimes(argv[++i], args.shotsAtMs)) return false;
    } else if (a == "--next-at" && hasValue) {
      if (!ParseTimes(argv[++i], args.nextAtMs)) return false;
    } else if (a == "--post-at" && hasValue) {
      if (!ParseTimedMessage(argv[++i], args.messages)) return false;
    } else {
      return false;
    }
  }
  if (args.screenshots.empty()) return args.shotsAtMs.empty();
  if (args.shotsAtMs.empty()) args.shotsAtMs.push_back(args.seconds * 1000);
  return true;
}

std::string FileNamePart(const char* className) {
  std::string name;
  for (const char* p = className; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
}

// The visible windows by class name: taking a picture raises a window, so the
// order on screen changes from one set to the next.
std::vector<std::pair<std::string, HWND>> WindowsByClass() {
  std::vector<std::pair<std::string, HWND>> windows;
  for (HWND window : SubstitutePlayer::ProcessWindows()) {
    char className[128] = {};
    GetClassNameA(window, className, sizeof className);
    windows.emplace_back(className, window);
  }
  std::stable_sort(windows.begin(), windows.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  return windows;
}

// The time and the playlist entry in the names keep a run's pictures in order.
void WriteScreenshots(const std::string& folder, int atMs, int entry) {
  CreateDirectoryA(folder.c_str(), nullptr);
  int n = 0;
  for (const auto& [name, window] : WindowsByClass()) {
    const char* className = name.c_str();
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "at-%04.1fs-song%d-%02d-", atMs / 1000.0, entry + 1, ++n);
    std::string path = folder + "\\" + prefix + FileNamePart(className) + ".bmp";
    if (SubstitutePlayer::Screenshot(window, path)) {
      std::printf("%s\n", path.c_str());
    } else {
      std::fprintf(stderr, "mrlyrics-player: no screenshot of %s\n", className);
    }
  }
  std::fflush(stdout);
}

struct TimedAction {
  int atMs;
  int kind;  // kNext, kPost (then message is its index) or kShot, the order at one time
  size_t message = 0;
};
constexpr int kNext = 0, kPost = 1, kShot = 2;

BOOL CALLBACK FindChildOfClass(HWND window, LPARAM found) {
  auto* search = reinterpret_cast<std::pair<const char*, HWND>*>(found);
  char name[128] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::strcmp(name, search->first) != 0) return TRUE;
  search->second = window;
  return FALSE;
}

HWND WindowOfClass(const std::string& className) {
  std::pair<const char*, HWND> search{className.c_str(), nullptr};
  for (HWND window : SubstitutePlayer::ProcessWindows()) {
    const LPARAM found = reinterpret_cast<LPARAM>(&search);
    if (FindChildOfClass(window, found)) EnumChildWindows(window, FindChildOfClass, found);
    if (search.second) return search.second;
  }
  return nullptr;
}

// Runs the messages until each action's time (counted from startTick), then does it.
// At one time Next comes first, then the posted messages, then the screenshots.
void RunTimedActions(SubstitutePlayer& player, const Arguments& args, ULONGLONG startTick) {
  std::vector<TimedAction> actions;
  for (int ms : args.nextAtMs) actions.push_back({ms, kNext});
  for (size_t i = 0; i < args.messages.size(); ++i) actions.push_back({args.messages[i].atMs, kPost, i});
  for (int ms : args.shotsAtMs) actions.push_back({ms, kShot});
  std::stable_sort(actions.begin(), actions.end(), [](const TimedAction& a, const TimedAction& b) {
    return a.atMs != b.atMs ? a.atMs < b.atMs : a.kind < b.kind;
  });
  for (const TimedAction& action : actions) {
    ULONGLONG due = startTick + static_cast<ULONGLONG>(action.atMs);
    ULONGLONG now = GetTickCount64();
    if (now < due) SubstitutePlayer::PumpFor(static_cast<int>(due - now));
    if (action.kind == kNext) {
      SendMessageA(player.MainWindow(), WM_COMMAND, kPlayerCommandNext, 0);
    } else if (action.kind == kPost) {
      const TimedMessage& m = args.messages[action.message];
      if (HWND window = WindowOfClass(m.className)) {
        PostMessageA(window, m.message, m.wParam, 0);
      } else {
        std::fprintf(stderr, "mrlyrics-player: no window of class %s at %.1f s\n", m.className.c_str(),
                     m.atMs / 1000.0);
      }
    } else {
      WriteScreenshots(args.screenshots, action.atMs, player.CurrentEntry());
    }
  }
}

void RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (!Parse(argc, argv, args)) return Usage();
  SubstitutePlayer player;
  if (!player.Create(args.options)) {
    std::fprintf(stderr, "mrlyrics-player: cannot create the player's windows\n");
    return 1;
  }
  player.SetPlaylist(args.files);
  ULONGLONG startTick = GetTickCount64();
  if (!args.files.empty()) player.Play();
  if (!args.plugin.empty()) {
    if (!player.LoadPlugin(args.plugin)) {
      std::fprintf(stderr, "mrlyrics-player: cannot load %s as a plug-in\n", args.plugin.c_str());
      return 1;
    }
    player.InitPlugin();
  }
  for (WPARAM command : args.commands) {
    SubstitutePlayer::PumpFor(300);  // the plug-in's thread settles first
    SendMessageA(player.MainWindow(), WM_COMMAND, command, 0);
  }
  RunTimedActions(player, args, startTick);
  if (args.screenshots.empty()) RunMessageLoop();
  player.QuitPlugin();
  player.UnloadPlugin();
  return 0;
}
