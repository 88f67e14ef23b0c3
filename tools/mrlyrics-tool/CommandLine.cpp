#include "CommandLine.h"

#include <cstring>

bool ParseInt32(std::string_view text, int32_t& value) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > int64_t{INT32_MAX} + 1) return false;
  }
  const int64_t result = negative ? -magnitude : magnitude;
  if (result > INT32_MAX || result < INT32_MIN) return false;
  value = static_cast<int32_t>(result);
  return true;
}

bool ParseInt32List(std::string_view text, size_t count, int32_t* values) {
  for (size_t n = 0; n < count; ++n) {
    const size_t comma = text.find(',');
    const bool last = n + 1 == count;
    if (last != (comma == std::string_view::npos)) return false;
    if (!ParseInt32(text.substr(0, comma), values[n])) return false;
    if (!last) text.remove_prefix(comma + 1);
  }
  return true;
}

namespace {

struct CommandInfo {
  const char* name;
  size_t minArguments;
  size_t maxArguments;  // SIZE_MAX: any number
  const char* options;  // the options it takes, space separated
};

constexpr CommandInfo kCommands[] = {
    {"dump", 1, 1, "--hide-untagged"},
    {"at", 2, SIZE_MAX, "--hide-untagged --anchor"},
    {"karaoke", 1, 1, "--lang --max-chars"},
    {"edit", 1, SIZE_MAX, ""},
    {"save", 2, 2, ""},
    {"check", 1, 1, ""},
    {"tags", 1, 1, "--id3exts --no-id3v2"},
    {"locate", 1, 1, "--lyrics-folder"},
    {"format", 2, 2, "--id3exts --no-id3v2"},
};

const CommandInfo* FindCommand(const std::string& name) {
  for (const CommandInfo& info : kCommands)
    if (name == info.name) return &info;
  return nullptr;
}

bool TakesOption(const CommandInfo& info, const std::string& option) {
  std::string_view list = info.options;
  while (!list.empty()) {
    const size_t space = list.find(' ');
    if (list.substr(0, space) == option) return true;
    if (space == std::string_view::npos) break;
    list.remove_prefix(space + 1);
  }
  return false;
}

// Reads one option (and its value, from the next argument) into commandLine.
bool ReadOption(const std::string& option, const char* value, CommandLine& commandLine, std::string& error) {
  if (option == "--hide-untagged") {
    commandLine.hideUntagged = true;
    return true;
  }
  if (option == "--no-id3v2") {
    commandLine.noId3v2 = true;
    return true;
  }
  if (!value) {
    error = option + " needs a value";
    return false;
  }
  if (option == "--codepage") {
    int32_t codePage;
    if (!ParseInt32(value, codePage) || codePage <= 0) {
      error = std::string("bad code page: ") + value;
      return false;
    }
    commandLine.codePage = static_cast<unsigned>(codePage);
    return true;
  }
  if (option == "--anchor") {
    int32_t parts[3];
    if (!ParseInt32List(value, 3, parts)) {
      error = std::string("--anchor wants LINE,TIME,LENGTH, not ") + value;
      return false;
    }
    commandLine.hasAnchor = true;
    commandLine.anchor = {parts[0], parts[1], parts[2]};
    return true;
  }
  if (option == "--lang") {
    commandLine.language = value;
    return true;
  }
  if (option == "--max-chars") {
    if (!ParseInt32(value, commandLine.maxChars) || commandLine.maxChars < 0) {
      error = std::string("bad --max-chars: ") + value;
      return false;
    }
    return true;
  }
  if (option == "--id3exts") {
    commandLine.hasId3Exts = true;
    commandLine.id3Exts = value;
    return true;
  }
  if (option == "--lyrics-folder") {
    commandLine.lyricsFolder = value;
    return true;
  }
  error = "unknown option " + option;
  return false;
}

bool TakesValue(const std::string& option) {
  return option == "--codepage" || option == "--anchor" || option == "--lang" || option == "--max-chars" ||
         option == "--id3exts" || option == "--lyrics-folder";
}

}  // namespace

bool ParseCommandLine(int argc, char** argv, CommandLine& commandLine, std::string& error) {
  std::vector<std::string> options;  // checked against the command once it is known
  bool endOfOptions = false;
  for (int a = 1; a < argc; ++a) {
    const std::string arg = argv[a];
    if (!endOfOptions && (arg == "--help" || arg == "-h")) {
      commandLine.help = true;
      return true;
    }
    if (!endOfOptions && arg == "--") {
      endOfOptions = true;
    } else if (!endOfOptions && arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
      const char* value = TakesValue(arg) && a + 1 < argc ? argv[++a] : nullptr;
      if (!ReadOption(arg, value, commandLine, error)) return false;
      options.push_back(arg);
    } else if (commandLine.command.empty()) {
      commandLine.command = arg;
    } else {
      commandLine.arguments.push_back(arg);
    }
  }
  if (commandLine.command.empty()) {
    error = "no command given";
    return false;
  }
  const CommandInfo* info = FindCommand(commandLine.command);
  if (!info) {
    error = "unknown command " + commandLine.command;
    return false;
  }
  for (const std::string& option : options) {
    if (option != "--codepage" && !TakesOption(*info, option)) {
      error = commandLine.command + " does not take " + option;
      return false;
    }
  }
  const size_t count = commandLine.arguments.size();
  if (count < info->minArguments || count > info->maxArguments) {
    error = "wrong number of arguments for " + commandLine.command;
    return false;
  }
  return true;
}

const char* UsageText() {
  return
      "usage: mrlyrics-tool [--codepage N] COMMAND ...\n"
      "\n"
      "Reads a lyrics file (text, or the Lyrics3 v2 tag of an .mp3) with the plug-in's own\n"
      "model and prints the result as UTF-8 JSON; finds a song's lyrics file and reads its\n"
      "information as the plug-in does.\n"
      "\n"
      "  dump FILE [--hide-untagged]\n"
      "      status, header fields, lines with their stamps, and the playback order\n"
      "  at FILE T [T ...] [--hide-untagged] [--anchor LINE,TIME,LENGTH]\n"
      "      one JSON line per time T (ms), all asked in order of one timeline:\n"
      "      {\"t\",\"line\",\"tags\",\"prev\",\"next\"}\n"
      "  karaoke FILE [--lang NAME] [--max-chars N]\n"
      "      make every line karaoke, split lines longer than N UTF-16 units\n"
      "      (default N = 40, NAME = JPN: Japanese break rules; e.g. ENU for English)\n"
      "  edit FILE OP...\n"
      "      apply stamp edits in order, then dump. OP is one of\n"
      "        shift:DELTA  rescale:NS,NE,OS,OE  reformat:long|short  expand\n"
      "        makekaraoke  removeall  removekaraoke  add:LINE,TIME,POS\n"
      "        set:LINE,N,TIME,POS  removenth:LINE,N  removeat:LINE,POS,N\n"
      "  save FILE OUT\n"
      "      parse FILE and write it to OUT as the plug-in saves\n"
      "  check FILE\n"
      "      a readable report: malformed [..] groups, stamps going back in time,\n"
      "      lines shown more than once\n"
      "  tags SONG [--id3exts LIST] [--no-id3v2]\n"
      "      the song's information as the plug-in reads it, and its background\n"
      "      picture and folder: {\"title\",\"artist\",...,\"bgfile\",\"bgfolder\"}\n"
      "      (LIST: extensions read for tags, default \"mp3;rmp\")\n"
      "  locate SONG [--lyrics-folder DIR]\n"
      "      the lyrics file the plug-in would load for SONG: {\"path\",\"exists\"}\n"
      "  format SONG PATTERN [--id3exts LIST] [--no-id3v2]\n"
      "      an information format (%1 artist, %2 title, %3 album, %4 year, %5 comment,\n"
      "      %6 genre, %7 base name, %8 folder, %9 extension): {\"text\",\"ok\"}\n"
      "\n"
      "  --codepage N   code page of lyrics files (default 932, Shift-JIS; 65001 UTF-8)\n"
      "\n"
      "Exit status: 0 success, 2 bad usage or a file that cannot be loaded or saved.\n";
}
