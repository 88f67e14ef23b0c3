// mrlyrics-tool: the plug-in's lyrics model on the command line, for checking
// lyrics files in bulk and the model from outside.
#include <cstdio>
#include <string>

#include "CommandLine.h"
#include "Commands.h"
#include "base/CodePage.h"

namespace {

int Dispatch(const CommandLine& commandLine) {
  const std::string& command = commandLine.command;
  if (command == "dump") return RunDump(commandLine);
  if (command == "at") return RunAt(commandLine);
  if (command == "karaoke") return RunKaraoke(commandLine);
  if (command == "edit") return RunEdit(commandLine);
  if (command == "save") return RunSave(commandLine);
  if (command == "tags") return RunTags(commandLine);
  if (command == "locate") return RunLocate(commandLine);
  if (command == "format") return RunFormat(commandLine);
  return RunCheck(commandLine);
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine commandLine;
  std::string error;
  if (!ParseCommandLine(argc, argv, commandLine, error)) return ReportError(error + " (see --help)");
  if (commandLine.help) {
    std::fputs(UsageText(), stdout);
    return 0;
  }
  if (!SetAnsiCodePage(commandLine.codePage)) return ReportError("code page " + std::to_string(commandLine.codePage) + " is not available");
  return Dispatch(commandLine);
}
