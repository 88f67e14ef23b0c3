#pragma once
// The settings file seen as the Win32 private-profile functions see it. The Win32
// implementation goes through GetPrivateProfile*A on plugin.ini; a memory
// implementation with the same semantics serves native unit tests. Keys, sections and
// values are ANSI text.

#include <cstddef>
#include <cstdint>
#include <string>

class IniFile {
 public:
  virtual ~IniFile() = default;
  // GetPrivateProfileIntA: the leading decimal number, or fallback when the key is missing.
  virtual int ReadInt(const char* section, const char* key, int fallback) = 0;
  // GetPrivateProfileStringA: the value, or fallback when the key is missing; at most
  // capacity - 1 bytes.
  virtual std::string ReadString(const char* section, const char* key, const std::string& fallback,
                                 size_t capacity) = 0;
  // GetPrivateProfileStructA: false when missing, of another size or with a bad checksum.
  virtual bool ReadStruct(const char* section, const char* key, void* data, size_t size) = 0;
  virtual bool WriteString(const char* section, const char* key, const std::string& value) = 0;
  virtual bool WriteStruct(const char* section, const char* key, const void* data, size_t size) = 0;
};
