#include "host/PluginDescription.h"

#include <cstring>

WString LoadResourceString(HINSTANCE instance, UINT id) {
  const wchar_t* text = nullptr;
  // With a zero size LoadStringW answers a pointer into the resource itself.
  int length = LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) return WString();
  return WString(reinterpret_cast<const WChar*>(text), static_cast<size_t>(length));
}

WString ModulePath(HINSTANCE instance) {
  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(instance, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return WString();
  return WString(reinterpret_cast<const WChar*>(path), length);
}

WString BuildDescription(const WString& product, const WString& version, const WString& modulePath) {
  size_t slash = modulePath.FindLast(u'\\');
  WString fileName = slash == WString::npos ? modulePath : modulePath.Substr(slash + 1);
  WString text = product;
  text.AppendAscii(" v");
  text.Append(version);
  text.AppendAscii(" [");
  text.Append(fileName);
  text.AppendAscii("]");
  return text;
}

size_t CopyAnsiCut(const WString& text, char* buffer, size_t capacity) {
  if (capacity == 0) return 0;
  size_t used = 0;
  const WChar* units = text.CStr();
  for (size_t i = 0; i < text.Length();) {
    // One character at a time (a surrogate pair is one), so a cut can only fall
    // between characters.
    int count = (units[i] >= 0xD800 && units[i] < 0xDC00 && i + 1 < text.Length()) ? 2 : 1;
    char bytes[8];
    int size = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(units + i), count, bytes,
                                   sizeof bytes, nullptr, nullptr);
    if (size <= 0 || used + static_cast<size_t>(size) > capacity - 1) break;
    memcpy(buffer + used, bytes, static_cast<size_t>(size));
    used += static_cast<size_t>(size);
    i += static_cast<size_t>(count);
  }
  buffer[used] = 0;
  return used;
}
