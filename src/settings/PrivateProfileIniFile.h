#pragma once
// plugin.ini through the Win32 private-profile functions (ANSI), and the rule that
// places it beside the plug-in library. Win32 only.

#include <windows.h>

#include <string>

#include "base/WString.h"
#include "settings/IniFile.h"

// The string resource that names the settings file.
constexpr UINT kIniFileNameString = 28;

class PrivateProfileIniFile : public IniFile {
 public:
  explicit PrivateProfileIniFile(std::string ansiPath) : path_(std::move(ansiPath)) {}
  explicit PrivateProfileIniFile(const WString& path) : path_(path.ToAnsi()) {}

  const std::string& Path() const { return path_; }

  int ReadInt(const char* section, const char* key, int fallback) override;
  std::string ReadString(const char* section, const char* key, const std::string& fallback,
                         size_t capacity) override;
  bool ReadStruct(const char* section, const char* key, void* data, size_t size) override;
  bool WriteString(const char* section, const char* key, const std::string& value) override;
  bool WriteStruct(const char* section, const char* key, const void* data, size_t size) override;

 private:
  std::string path_;
};

// The library's own folder (from its full path, split on wide text: a Shift-JIS trail
// byte can be 0x5C) followed by string resource 28, "plugin.ini".
WString PluginIniPath(HINSTANCE instance);
