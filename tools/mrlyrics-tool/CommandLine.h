#pragma once
// The tool's command line: a command, its positional arguments and its options.
// Numbers are read strictly (an optional sign, decimal digits, nothing after them,
// within 32 bits) so that a typo is reported instead of read as 0.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

bool ParseInt32(std::string_view text, int32_t& value);
// Exactly count comma-separated 32-bit integers.
bool ParseInt32List(std::string_view text, size_t count, int32_t* values);

struct UntimedAnchor {
  int32_t line = 0;
  int32_t time = 0;
  int32_t songLength = 0;
};

struct CommandLine {
  std::string command;
  std::vector<std::string> arguments;
  unsigned codePage = 932;
  bool hideUntagged = false;
  bool hasAnchor = false;
  UntimedAnchor anchor;
  // Windows answers "JPN" for the abbreviated language name on Japanese systems,
  // which is what the karaoke screen hands to the line splitter there.
  std::string language = "JPN";
  int32_t maxChars = 40;
  // Song information and the lyrics locator: the plug-in's common settings.
  bool hasId3Exts = false;
  std::string id3Exts;
  bool noId3v2 = false;
  std::string lyricsFolder;
  bool help = false;
};

// Fills commandLine from argv. On bad usage answers false and sets error to a
// one-line message.
bool ParseCommandLine(int argc, char** argv, CommandLine& commandLine, std::string& error);

// Text for --help.
const char* UsageText();
