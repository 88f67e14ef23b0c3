#include "settings/SettingsStore.h"

#include <cstring>

#include "base/CodePage.h"

std::array<uint8_t, SettingsRect::kBytes> SettingsRect::ToBytes() const {
  std::array<uint8_t, kBytes> bytes{};
  const int32_t values[4] = {left, top, right, bottom};
  for (size_t i = 0; i < 4; ++i) {
    const uint32_t v = static_cast<uint32_t>(values[i]);
    for (size_t b = 0; b < 4; ++b) bytes[i * 4 + b] = static_cast<uint8_t>(v >> (8 * b));
  }
  return bytes;
}

SettingsRect SettingsRect::FromBytes(const uint8_t* bytes) {
  int32_t values[4];
  for (size_t i = 0; i < 4; ++i) {
    uint32_t v = 0;
    for (size_t b = 0; b < 4; ++b) v |= static_cast<uint32_t>(bytes[i * 4 + b]) << (8 * b);
    values[i] = static_cast<int32_t>(v);
  }
  return {values[0], values[1], values[2], values[3]};
}

SettingEntry IntSetting(const char* key, int32_t& field, int32_t fallback) {
  SettingEntry entry{key, SettingType::kInt, &field};
  entry.number = fallback;
  return entry;
}

SettingEntry ByteSetting(const char* key, uint8_t& field, uint8_t fallback) {
  SettingEntry entry{key, SettingType::kByte, &field};
  entry.number = fallback;
  return entry;
}

SettingEntry ColorSetting(const char* key, ColorValue& field, ColorValue fallback) {
  SettingEntry entry{key, SettingType::kColor, &field};
  entry.number = static_cast<int32_t>(fallback);
  return entry;
}

SettingEntry RectSetting(const char* key, SettingsRect& field, SettingsRect fallback) {
  SettingEntry entry{key, SettingType::kRect, &field};
  entry.rect = fallback;
  return entry;
}

SettingEntry WideSetting(const char* key, WString& field, const char16_t* fallback) {
  SettingEntry entry{key, SettingType::kWide, &field};
  entry.text = fallback;
  return entry;
}

void CopyToBuffer(const std::string& text, char* buffer, size_t size) {
  if (size == 0) return;
  const size_t count = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(buffer, text.data(), count);
  buffer[count] = '\0';
}

int32_t SettingsStore::ReadInt(const char* key, int32_t& value) {
  value = ini_->ReadInt(section_, key, value);
  return value;
}

uint8_t SettingsStore::ReadByte(const char* key, uint8_t& value) {
  value = static_cast<uint8_t>(ini_->ReadInt(section_, key, value));
  return value;
}

size_t SettingsStore::ReadString(const char* key, char* buffer, size_t size) {
  if (size == 0) return 0;
  const std::string current(buffer, strnlen(buffer, size));
  const std::string text = ini_->ReadString(section_, key, current, size);
  CopyToBuffer(text, buffer, size);
  return strlen(buffer);
}

size_t SettingsStore::ReadWideString(const char* key, WString& value) {
  const std::string text = ini_->ReadString(section_, key, value.ToAnsi(), kWideCapacity);
  value = AnsiToWide(text.data(), text.size());
  return value.Length();
}

bool SettingsStore::ReadColor(const char* key, ColorValue& value) {
  return ApplyIniColor(ini_->ReadString(section_, key, "FFFFFFFF", kColorCapacity), value);
}

bool SettingsStore::ReadRect(const char* key, SettingsRect& value) {
  uint8_t bytes[SettingsRect::kBytes];
  if (!ini_->ReadStruct(section_, key, bytes, sizeof bytes)) return false;
  value = SettingsRect::FromBytes(bytes);
  return true;
}

bool SettingsStore::WriteInt(const char* key, int32_t value) {
  return ini_->WriteString(section_, key, std::to_string(value));
}

bool SettingsStore::WriteString(const char* key, const char* value) {
  return ini_->WriteString(section_, key, value);
}

bool SettingsStore::WriteWideString(const char* key, const WString& value) {
  return ini_->WriteString(section_, key, value.ToAnsi());
}

bool SettingsStore::WriteColor(const char* key, ColorValue value) {
  return ini_->WriteString(section_, key, FormatIniColor(value));
}

bool SettingsStore::WriteRect(const char* key, const SettingsRect& value) {
  const auto bytes = value.ToBytes();
  return ini_->WriteStruct(section_, key, bytes.data(), bytes.size());
}

void SettingsStore::ResetEntry(const SettingEntry& entry) {
  switch (entry.type) {
    case SettingType::kInt: *static_cast<int32_t*>(entry.field) = entry.number; break;
    case SettingType::kByte: *static_cast<uint8_t*>(entry.field) = static_cast<uint8_t>(entry.number); break;
    case SettingType::kColor: *static_cast<ColorValue*>(entry.field) = static_cast<ColorValue>(entry.number); break;
    case SettingType::kRect: *static_cast<SettingsRect*>(entry.field) = entry.rect; break;
    case SettingType::kWide: *static_cast<WString*>(entry.field) = WString(entry.text); break;
    case SettingType::kAnsi: {
      const WString text(entry.text);
      CopyToBuffer(WideToAnsi(text.CStr(), text.Length()), static_cast<char*>(entry.field), entry.capacity);
      break;
    }
  }
}

void SettingsStore::ReadEntry(const SettingEntry& entry) {
  switch (entry.type) {
    case SettingType::kInt: ReadInt(entry.key, *static_cast<int32_t*>(entry.field)); break;
    case SettingType::kByte: ReadByte(entry.key, *static_cast<uint8_t*>(entry.field)); break;
    case SettingType::kColor: ReadColor(entry.key, *static_cast<ColorValue*>(entry.field)); break;
    case SettingType::kRect: ReadRect(entry.key, *static_cast<SettingsRect*>(entry.field)); break;
    case SettingType::kWide: ReadWideString(entry.key, *static_cast<WString*>(entry.field)); break;
    case SettingType::kAnsi: ReadString(entry.key, static_cast<char*>(entry.field), entry.capacity); break;
  }
}

bool SettingsStore::WriteEntry(const SettingEntry& entry) {
  switch (entry.type) {
    case SettingType::kInt: return WriteInt(entry.key, *static_cast<int32_t*>(entry.field));
    case SettingType::kByte: return WriteInt(entry.key, *static_cast<uint8_t*>(entry.field));
    case SettingType::kColor: return WriteColor(entry.key, *static_cast<ColorValue*>(entry.field));
    case SettingType::kRect: return WriteRect(entry.key, *static_cast<SettingsRect*>(entry.field));
    case SettingType::kWide: return WriteWideString(entry.key, *static_cast<WString*>(entry.field));
    case SettingType::kAnsi: return WriteString(entry.key, static_cast<char*>(entry.field));
  }
  return false;
}

void SettingsStore::ResetToDefaults() {
  for (const SettingEntry& entry : Table()) ResetEntry(entry);
}

void SettingsStore::Load() {
  for (const SettingEntry& entry : Table()) ReadEntry(entry);
  CorrectLoadedValues();
}

std::vector<SettingEntry> SettingsStore::SavedEntries() {
  const std::vector<SettingEntry> table = Table();
  std::vector<SettingEntry> saved;
  for (SettingSave pass : {SettingSave::kInOrder, SettingSave::kLast}) {
    for (const SettingEntry& entry : table) {
      if (entry.save == pass) saved.push_back(entry);
    }
  }
  return saved;
}

void SettingsStore::Save() {
  for (const SettingEntry& entry : SavedEntries()) WriteEntry(entry);
}

bool SettingsStore::SaveKey(const char* key) {
  for (const SettingEntry& entry : Table()) {
    if (std::strcmp(entry.key, key) == 0) return WriteEntry(entry);
  }
  return false;
}

std::vector<const char*> SettingsStore::ReadOrder() {
  std::vector<const char*> keys;
  for (const SettingEntry& entry : Table()) keys.push_back(entry.key);
  return keys;
}

std::vector<const char*> SettingsStore::WriteOrder() {
  std::vector<const char*> keys;
  for (const SettingEntry& entry : SavedEntries()) keys.push_back(entry.key);
  return keys;
}
