#pragma once
// One general-purpose plug-in library as the player holds it: loaded from a path,
// its descriptor taken from the one export and given the player's main window and
// the library's instance, then init, config and quit, and unloading.

#include <windows.h>

#include <string>

#include "host/WinampProtocol.h"

class PluginHost {
 public:
  PluginHost() = default;
  ~PluginHost() { Unload(); }
  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;

  // False (and nothing held) when the library does not load, lacks the export or
  // gives no descriptor.
  bool Load(const std::string& dllPath, HWND playerWindow);
  // Each entry is called at most as the player would: init once, config only
  // between init and quit, quit once. False when the call is out of order.
  bool Init();
  bool Config();
  bool Quit();
  // Calls quit first when init ran and quit did not, then frees the library.
  void Unload();

  WinampGeneralPurposePlugin* Descriptor() const { return descriptor_; }
  HMODULE Module() const { return module_; }
  bool Initialised() const { return initialised_; }

 private:
  HMODULE module_ = nullptr;
  WinampGeneralPurposePlugin* descriptor_ = nullptr;
  bool initialised_ = false;
};
