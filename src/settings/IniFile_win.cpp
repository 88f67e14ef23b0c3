// plugin.ini through GetPrivateProfile*A / WritePrivateProfile*A.
#include <windows.h>

#include <climits>
#include <vector>

#include "base/CodePage.h"
#include "settings/PrivateProfileIniFile.h"

int PrivateProfileIniFile::ReadInt(const char* section, const char* key, int fallback) {
  return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, path_.c_str()));
}

std::string PrivateProfileIniFile::ReadString(const char* section, const char* key,
                                              const std::string& fallback, size_t capacity) {
  if (capacity == 0 || capacity > INT_MAX) return std::string();
  std::vector<char> buffer(capacity, '\0');
  const DWORD count = GetPrivateProfileStringA(section, key, fallback.c_str(), buffer.data(),
                                               static_cast<DWORD>(capacity), path_.c_str());
  return std::string(buffer.data(), count < capacity ? count : capacity - 1);
}

bool PrivateProfileIniFile::ReadStruct(const char* section, const char* key, void* data, size_t size) {
  if (size > UINT_MAX) return false;
  return GetPrivateProfileStructA(section, key, data, static_cast<UINT>(size), path_.c_str()) != FALSE;
}

bool PrivateProfileIniFile::WriteString(const char* section, const char* key, const std::string& value) {
  return WritePrivateProfileStringA(section, key, value.c_str(), path_.c_str()) != FALSE;
}

bool PrivateProfileIniFile::WriteStruct(const char* section, const char* key, const void* data, size_t size) {
  if (size > UINT_MAX) return false;
  return WritePrivateProfileStructA(section, key, const_cast<void*>(data), static_cast<UINT>(size),
                                    path_.c_str()) != FALSE;
}

namespace {

WString LoadWideString(HINSTANCE instance, UINT id) {
  wchar_t buffer[256];
  const int length = LoadStringW(instance, id, buffer, static_cast<int>(sizeof buffer / sizeof buffer[0]));
  return length > 0 ? WString(reinterpret_cast<const WChar*>(buffer), static_cast<size_t>(length)) : WString();
}

}  // namespace

WString PluginIniPath(HINSTANCE instance) {
  char module[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(instance, module, MAX_PATH);
  WString path = AnsiToWide(module, length < MAX_PATH ? length : MAX_PATH);
  // Cut on wide text: in Shift-JIS the byte 0x5C can be the second byte of a character.
  const size_t slash = path.FindLast(u'\\');
  path = slash == WString::npos ? WString() : path.Substr(0, slash + 1);
  WString name = LoadWideString(instance, kIniFileNameString);
  // A module without our string table (a test program) still gets the usual name.
  if (name.IsEmpty()) name = WString(u"plugin.ini");
  return path.Append(name);
}
