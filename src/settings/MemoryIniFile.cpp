#include "settings/MemoryIniFile.h"

#include <cctype>
#include <cstdint>
#include <cstring>

namespace {

bool SameName(const std::string& a, const char* b) {
  const size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Trimmed(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

std::string EncodeProfileStruct(const void* data, size_t size) {
  static const char kDigits[] = "0123456789ABCDEF";
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  std::string text;
  text.reserve(2 * size + 2);
  unsigned sum = 0;
  auto put = [&](uint8_t b) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0xF];
  };
  for (size_t i = 0; i < size; ++i) {
    put(bytes[i]);
    sum += bytes[i];
  }
  put(static_cast<uint8_t>(sum));
  return text;
}

bool DecodeProfileStruct(const std::string& text, void* data, size_t size) {
  if (text.size() != 2 * (size + 1)) return false;
  std::vector<uint8_t> bytes(size + 1);
  for (size_t i = 0; i <= size; ++i) {
    const int high = HexValue(text[2 * i]), low = HexValue(text[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    bytes[i] = static_cast<uint8_t>(high * 16 + low);
  }
  unsigned sum = 0;
  for (size_t i = 0; i < size; ++i) sum += bytes[i];
  if (static_cast<uint8_t>(sum) != bytes[size]) return false;
  if (size) std::memcpy(data, bytes.data(), size);
  return true;
}

int ParseProfileInt(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + static_cast<uint32_t>(text[i] - '0');  // wraps like the platform
  }
  return static_cast<int>(negative ? 0u - value : value);
}

MemoryIniFile::MemoryIniFile(const std::string& text) {
  std::string section;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = Trimmed(text.substr(start, end - start));
    start = end + 1;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
      SectionFor(section);
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0) continue;
    Set(section, Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1)));
  }
}

const std::string* MemoryIniFile::Find(const char* section, const char* key) const {
  for (const Section& s : sections_) {
    if (!SameName(s.name, section)) continue;
    for (const Entry& e : s.entries) {
      if (SameName(e.key, key)) return &e.value;
    }
    return nullptr;
  }
  return nullptr;
}

MemoryIniFile::Section& MemoryIniFile::SectionFor(const std::string& name) {
  for (Section& s : sections_) {
    if (SameName(s.name, name.c_str())) return s;
  }
  sections_.push_back(Section{name, {}});
  return sections_.back();
}

void MemoryIniFile::Set(const std::string& section, const std::string& key, const std::string& value) {
  Section& s = SectionFor(section);
  for (Entry& e : s.entries) {
    if (SameName(e.key, key.c_str())) {
      e.value = value;
      return;
    }
  }
  s.entries.push_back(Entry{key, value});
}

int MemoryIniFile::ReadInt(const char* section, const char* key, int fallback) {
  const std::string* value = Find(section, key);
  // An empty value counts as missing, as it does for the platform.
  if (!value || value->empty()) return fallback;
  return ParseProfileInt(*value);
}

std::string MemoryIniFile::ReadString(const char* section, const char* key, const std::string& fallback,
                                      size_t capacity) {
  if (capacity == 0) return std::string();
  const std::string* value = Find(section, key);
  std::string text = value ? *value : fallback;
  if (text.size() > capacity - 1) text.resize(capacity - 1);
  return text;
}

bool MemoryIniFile::ReadStruct(const char* section, const char* key, void* data, size_t size) {
  const std::string* value = Find(section, key);
  return value && DecodeProfileStruct(*value, data, size);
}

bool MemoryIniFile::WriteString(const char* section, const char* key, const std::string& value) {
  Set(section, key, value);
  return true;
}

bool MemoryIniFile::WriteStruct(const char* section, const char* key, const void* data, size_t size) {
  Set(section, key, EncodeProfileStruct(data, size));
  return true;
}

std::string MemoryIniFile::Text() const {
  std::string text;
  for (const Section& s : sections_) {
    text += "[" + s.name + "]\r\n";
    for (const Entry& e : s.entries) text += e.key + "=" + e.value + "\r\n";
  }
  return text;
}

size_t MemoryIniFile::KeyCount(const char* section) const {
  for (const Section& s : sections_) {
    if (SameName(s.name, section)) return s.entries.size();
  }
  return 0;
}
