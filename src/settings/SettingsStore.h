#pragma once
// The base of every settings object: one section of plugin.ini, read and written
// through typed operations that fix how each kind of value looks on disk. A settings
// object describes its keys once, as a table (key, type, field, default) in read
// order; ResetToDefaults, Load and Save walk that table, so the read order, the write
// order and the defaults cannot drift apart.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/WString.h"
#include "settings/ColorCodec.h"
#include "settings/IniFile.h"

// A window rectangle as the private-profile struct functions store it: four 32-bit
// ints, 16 bytes, little-endian (the layout of a Win32 RECT).
struct SettingsRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool operator==(const SettingsRect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
  bool operator!=(const SettingsRect& other) const { return !(*this == other); }

  static constexpr size_t kBytes = 16;
  std::array<uint8_t, kBytes> ToBytes() const;
  static SettingsRect FromBytes(const uint8_t* bytes);
};

enum class SettingType { kInt, kByte, kAnsi, kWide, kColor, kRect };

// When a key goes back to the file.
enum class SettingSave {
  kInOrder,  // with the others, in table order
  kLast,     // after every kInOrder key
  kNever,    // read only; written on its own when it changes (SaveKey)
};

// One row of a settings table. The field pointer points into the settings object that
// built the table; build tables on demand, never keep them.
struct SettingEntry {
  SettingEntry(const char* key, SettingType type, void* field) : key(key), type(type), field(field) {}

  const char* key;
  SettingType type;
  void* field;
  size_t capacity = 0;           // kAnsi: the buffer's size in bytes
  int32_t number = 0;            // default of kInt, kByte, kColor
  const char16_t* text = u"";    // default of kAnsi, kWide
  SettingsRect rect;             // default of kRect
  SettingSave save = SettingSave::kInOrder;
};

// Table-row builders, one per type.
SettingEntry IntSetting(const char* key, int32_t& field, int32_t fallback);
SettingEntry ByteSetting(const char* key, uint8_t& field, uint8_t fallback);
SettingEntry ColorSetting(const char* key, ColorValue& field, ColorValue fallback);
SettingEntry RectSetting(const char* key, SettingsRect& field, SettingsRect fallback);
SettingEntry WideSetting(const char* key, WString& field, const char16_t* fallback);
template <size_t N>
SettingEntry AnsiSetting(const char* key, char (&field)[N], const char16_t* fallback) {
  SettingEntry entry{key, SettingType::kAnsi, field};
  entry.capacity = N;
  entry.text = fallback;
  return entry;
}
inline SettingEntry WrittenLast(SettingEntry entry) {
  entry.save = SettingSave::kLast;
  return entry;
}
inline SettingEntry NeverWritten(SettingEntry entry) {
  entry.save = SettingSave::kNever;
  return entry;
}

class SettingsStore {
 public:
  // Wide strings are read into a buffer of this size (at most 1024 bytes of text).
  static constexpr size_t kWideCapacity = 1025;
  // Colours are read as text into a buffer of this size.
  static constexpr size_t kColorCapacity = 32;

  SettingsStore(IniFile& ini, const char* section) : ini_(&ini), section_(section) {}
  virtual ~SettingsStore() = default;

  const char* Section() const { return section_; }
  IniFile& Ini() const { return *ini_; }

  // Reads take the value in and out: the current value is the default.
  int32_t ReadInt(const char* key, int32_t& value);
  uint8_t ReadByte(const char* key, uint8_t& value);
  size_t ReadString(const char* key, char* buffer, size_t size);  // bytes read
  size_t ReadWideString(const char* key, WString& value);         // units read
  bool ReadColor(const char* key, ColorValue& value);             // false: kept
  bool ReadRect(const char* key, SettingsRect& value);            // false: kept

  bool WriteInt(const char* key, int32_t value);
  bool WriteString(const char* key, const char* value);
  bool WriteWideString(const char* key, const WString& value);
  bool WriteColor(const char* key, ColorValue value);
  bool WriteRect(const char* key, const SettingsRect& value);

  // Every field of the table to its default.
  void ResetToDefaults();
  // Every key of the table in table order, then the object's load-time corrections.
  void Load();
  // Every saved key: the kInOrder ones in table order, then the kLast ones.
  void Save();
  // One key on its own (such as a crash marker that must reach the disk at once).
  bool SaveKey(const char* key);

  // The keys in the order they are written (for tests and diagnostics).
  std::vector<const char*> WriteOrder();
  std::vector<const char*> ReadOrder();

 protected:
  // The object's settings table in read order.
  virtual std::vector<SettingEntry> Table() = 0;
  // Repairs loaded values that the rest of the plug-in must never see.
  virtual void CorrectLoadedValues() {}

 private:
  std::vector<SettingEntry> SavedEntries();
  void ResetEntry(const SettingEntry& entry);
  void ReadEntry(const SettingEntry& entry);
  bool WriteEntry(const SettingEntry& entry);

  IniFile* ini_;
  const char* section_;
};

// Copies text into a fixed ANSI buffer, cut to size - 1 bytes and NUL-terminated.
void CopyToBuffer(const std::string& text, char* buffer, size_t size);
