// mrlyrics-player: the substitute player as a program.
//
//   mrlyrics-player [--plugin DLL] [--play FILE...] [--version N] [--skin DIR]
//                   [--double] [--command ID...] [--screenshots DIR --seconds N]
//
// Plays the files by the real-time clock (audibly where WAV files and a sound
// device allow) with the plug-in loaded. With --screenshots it runs for the given
// seconds, writes a BMP of every window of the process to DIR, prints their paths,
// quits the plug-in and exits: the headless demo. Each --command is sent to the main
// window as WM_COMMAND once the plug-in runs (50003 opens the plug-in's Displayer).
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "player/SubstitutePlayer.h"

namespace {

struct Arguments {
  PlayerOptions options;
  std::string plugin;
  std::vector<std::string> files;
  std::vector<WPARAM> commands;
  std::string screenshots;
  int seconds = 10;
};

int Usage() {
  std::fprintf(stderr,
               "usage: mrlyrics-player [--plugin DLL] [--play FILE...] [--version N] [--skin DIR]\n"
               "                       [--double] [--command ID...] [--screenshots DIR --seconds N]\n");
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
    } else {
      return false;
    }
  }
  return true;
}

std::string FileNamePart(const char* className) {
  std::string name;
  for (const char* p = className; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
}

void WriteScreenshots(const std::string& folder) {
  CreateDirectoryA(folder.c_str(), nullptr);
  int n = 0;
  for (HWND window : SubstitutePlayer::ProcessWindows()) {
    char className[128] = {};
    GetClassNameA(window, className, sizeof className);
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%02d-", ++n);
    std::string path = folder + "\\" + prefix + FileNamePart(className) + ".bmp";
    if (SubstitutePlayer::Screenshot(window, path)) {
      std::printf("%s\n", path.c_str());
    } else {
      std::fprintf(stderr, "mrlyrics-player: no screenshot of %s\n", className);
    }
  }
  std::fflush(stdout);
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
  if (args.screenshots.empty()) {
    RunMessageLoop();
  } else {
    SubstitutePlayer::PumpFor(args.seconds * 1000);
    WriteScreenshots(args.screenshots);
  }
  player.QuitPlugin();
  player.UnloadPlugin();
  return 0;
}
