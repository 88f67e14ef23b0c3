#pragma once
// The tool's commands. Each answers the process exit status: 0 on success, 2 for
// bad usage or a file the loader does not accept (after a one-line message on
// stderr). Output goes to stdout.

#include "CommandLine.h"

int RunDump(const CommandLine& commandLine);
int RunAt(const CommandLine& commandLine);
int RunKaraoke(const CommandLine& commandLine);
int RunEdit(const CommandLine& commandLine);
int RunSave(const CommandLine& commandLine);
int RunCheck(const CommandLine& commandLine);
int RunTags(const CommandLine& commandLine);
int RunLocate(const CommandLine& commandLine);
int RunFormat(const CommandLine& commandLine);

constexpr int kExitBadUsage = 2;
int ReportError(const std::string& message);
