#pragma once
// An input module as the player hosts one: loaded from a path, its table taken from
// "winampGetInModule2" and given the player's window, the player's own functions and
// the output module (the manual-clock one), then start, stop, pause, position, length
// and seek routed to it.

#include <windows.h>

#include <string>

#include "host/WinampModules.h"

class InputModuleHost {
 public:
  InputModuleHost() = default;
  ~InputModuleHost() { Unload(); }
  InputModuleHost(const InputModuleHost&) = delete;
  InputModuleHost& operator=(const InputModuleHost&) = delete;

  // False (and nothing held) when the library does not load or gives no table.
  bool Load(const std::string& dllPath, HWND playerWindow);
  // Stops the song, calls the module's quit and frees the library.
  void Unload();
  WinampInModule* Module() const { return module_; }
  bool Loaded() const { return module_ != nullptr; }

  // The entries called through the table, as the player calls them: whatever a
  // plug-in has put into its slots runs.
  bool Play(const std::string& file);
  void Stop();
  void Pause(bool pause);
  int OutputTimeMs() const;
  int LengthMs() const;
  void Seek(int ms);

 private:
  HMODULE library_ = nullptr;
  WinampInModule* module_ = nullptr;
  bool playing_ = false;
};
