#pragma once
// An INI file held in memory with the semantics of the Win32 private-profile
// functions (case-insensitive section and key names, keys kept in the order they were
// first written, the struct format with its checksum), so the settings rules are
// tested natively without a file system.

#include <string>
#include <vector>

#include "settings/IniFile.h"

// The struct format of WritePrivateProfileStructA: every byte as two upper-case hex
// digits, then one more pair, the sum of the bytes modulo 256.
std::string EncodeProfileStruct(const void* data, size_t size);
// False when the text is not exactly size + 1 pairs of hex digits or the checksum
// does not match; data is left untouched then.
bool DecodeProfileStruct(const std::string& text, void* data, size_t size);
// GetPrivateProfileIntA on a present value: the leading decimal number with an
// optional sign after leading blanks; 0 when there is none.
int ParseProfileInt(const std::string& text);

class MemoryIniFile : public IniFile {
 public:
  MemoryIniFile() = default;
  // Parses INI text ("[section]" lines and "key=value" lines; others are ignored).
  explicit MemoryIniFile(const std::string& text);

  int ReadInt(const char* section, const char* key, int fallback) override;
  std::string ReadString(const char* section, const char* key, const std::string& fallback,
                         size_t capacity) override;
  bool ReadStruct(const char* section, const char* key, void* data, size_t size) override;
  bool WriteString(const char* section, const char* key, const std::string& value) override;
  bool WriteStruct(const char* section, const char* key, const void* data, size_t size) override;

  // The file as the profile functions write it: "[section]" and "key=value" lines
  // ending in CR LF.
  std::string Text() const;
  bool Has(const char* section, const char* key) const { return Find(section, key) != nullptr; }
  size_t KeyCount(const char* section) const;

 private:
  struct Entry {
    std::string key, value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  const std::string* Find(const char* section, const char* key) const;
  Section& SectionFor(const std::string& name);
  void Set(const std::string& section, const std::string& key, const std::string& value);

  std::vector<Section> sections_;
};
