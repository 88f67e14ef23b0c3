// mrlyrics-player: the substitute player as a program.
//
//   mrlyrics-player [--plugin DLL] [--play FILE...] [--version N] [--skin DIR]
//                   [--double] [--command ID...] [--next-at T,T...]
//                   [--screenshots DIR [--shots-at T,T... | --seconds N]]
//                   [--to CLASS [--keys-at T=VK,... ] [--commands-at T=ID,...]]
//
// Plays the files as one playlist by the real-time clock (audibly where WAV files
// and a sound device allow) with the plug-in loaded. Each --command is sent to the
// main window as WM_COMMAND once the plug-in runs (50003 toggles the plug-in's
// Displayer, which opens by itself at start unless its settings say otherwise).
//
// Times T are seconds (decimals allowed) since the first song started. --next-at
// presses the player's Next button at those times. With --screenshots the player
// writes a BMP of every visible window of the process to DIR at each --shots-at time
// (or once, after --seconds N, default 10), named "at-<T>s-song<N>-<n>-<class>.bmp",
// prints their paths, and after the last scheduled time quits the plug-in and
// exits: the headless demo. --to names the class of one of the process's top-level
// windows (a plug-in window): --keys-at presses virtual key VK (decimal) at T on
// whatever has the focus in that window's thread, --commands-at sends it WM_COMMAND ID.
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

struct Arguments {
  PlayerOptions options;
  std::string plugin;
  std::vector<std::string> files;
  std::vector<WPARAM> commands;
  std::vector<int> nextAtMs;
  std::vector<int> shotsAtMs;
  std::string screenshots;
  int seconds = 10;
  std::string to;
  std::vector<std::pair<int, WPARAM>> keysAt, commandsAt;
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

// "1.5=13,3=13" as (milliseconds, number) pairs.
bool ParseTimedNumbers(const char* text, std::vector<std::pair<int, WPARAM>>& pairs) {
  const char* p = text;
  for (;;) {
    char* end = nullptr;
    double seconds = std::strtod(p, &end);
    if (end == p || *end != '=' || !(seconds >= 0 && seconds < 86400)) return false;
    p = end + 1;
    unsigned long number = std::strtoul(p, &end, 10);
    if (end == p) return false;
    pairs.emplace_back(static_cast<int>(seconds * 1000 + 0.5), static_cast<WPARAM>(number));
    if (*end == '\0') return true;
    if (*end != ',') return false;
    p = end + 1;
  }
}

int Usage() {
  std::fprintf(stderr,
               "usage: mrlyrics-player [--plugin DLL] [--play FILE...] [--version N] [--skin DIR]\n"
               "                       [--double] [--command ID...] [--next-at T,T...]\n"
               "                       [--screenshots DIR [--shots-at T,T... | --seconds N]]\n"
               "                       [--to CLASS [--keys-at T=VK,...] [--commands-at T=ID,...]]\n");
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
    } else if (a == "--to" && hasValue) {
      args.to = argv[++i];
    } else if (a == "--keys-at" && hasValue) {
      if (!ParseTimedNumbers(argv[++i], args.keysAt)) return false;
    } else if (a == "--commands-at" && hasValue) {
      if (!ParseTimedNumbers(argv[++i], args.commandsAt)) return false;
    } else if (a == "--next-at" && hasValue) {
      if (!ParseTimes(argv[++i], args.nextAtMs)) return false;
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

enum class Action { kNext, kKey, kCommand, kScreenshot };  // in this order at one time

struct TimedAction {
  int atMs;
  Action action;
  WPARAM value = 0;  // the key or the command
};

HWND WindowOfClass(const std::string& className) {
  for (HWND window : SubstitutePlayer::ProcessWindows()) {
    char name[128] = {};
    GetClassNameA(window, name, sizeof name);
    if (className == name) return window;
  }
  return nullptr;
}

// A key as the user presses it: to the window with the focus in the target's thread.
void PressKey(HWND target, WPARAM key) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  HWND focus = GetGUIThreadInfo(GetWindowThreadProcessId(target, nullptr), &info) && info.hwndFocus
                   ? info.hwndFocus
                   : target;
  PostMessageA(focus, WM_KEYDOWN, key, 1);
  PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

// Runs the messages until each action's time (counted from startTick), then does it.
// Next comes before a screenshot at the same time.
void RunTimedActions(SubstitutePlayer& player, const Arguments& args, ULONGLONG startTick) {
  std::vector<TimedAction> actions;
  for (int ms : args.nextAtMs) actions.push_back({ms, Action::kNext});
  for (const auto& [ms, key] : args.keysAt) actions.push_back({ms, Action::kKey, key});
  for (const auto& [ms, id] : args.commandsAt) actions.push_back({ms, Action::kCommand, id});
  for (int ms : args.shotsAtMs) actions.push_back({ms, Action::kScreenshot});
  std::stable_sort(actions.begin(), actions.end(), [](const TimedAction& a, const TimedAction& b) {
    return a.atMs != b.atMs ? a.atMs < b.atMs : a.action < b.action;
  });
  for (const TimedAction& action : actions) {
    ULONGLONG due = startTick + static_cast<ULONGLONG>(action.atMs);
    ULONGLONG now = GetTickCount64();
    if (now < due) SubstitutePlayer::PumpFor(static_cast<int>(due - now));
    HWND target = args.to.empty() ? nullptr : WindowOfClass(args.to);
    switch (action.action) {
      case Action::kNext: SendMessageA(player.MainWindow(), WM_COMMAND, kPlayerCommandNext, 0); break;
      case Action::kKey:
        if (target) PressKey(target, action.value);
        break;
      case Action::kCommand:
        if (target) PostMessageA(target, WM_COMMAND, action.value, 0);
        break;
      case Action::kScreenshot: WriteScreenshots(args.screenshots, action.atMs, player.CurrentEntry()); break;
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
