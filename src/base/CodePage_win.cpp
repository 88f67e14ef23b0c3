// The ANSI code page on Windows: the system's own, converted with no flags so that
// unrepresentable characters become the code page's default character.
#include <windows.h>

#include <string>

#include "base/CodePage.h"

bool SetAnsiCodePage(unsigned codePage) { return codePage == GetACP(); }

unsigned AnsiCodePage() { return GetACP(); }

WString AnsiToWide(const char* bytes, size_t count) {
  const void* nul = count ? memchr(bytes, 0, count) : nullptr;
  if (nul) count = static_cast<size_t>(static_cast<const char*>(nul) - bytes);
  if (!count || count > 0x7FFFFFFF) return WString();
  int units = MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(count), nullptr, 0);
  if (units <= 0) return WString();
  std::wstring buffer(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(count), &buffer[0], units);
  return WString(reinterpret_cast<const WChar*>(buffer.data()), buffer.size());
}

std::string WideToAnsi(const WChar* text, size_t length) {
  if (!length || length > 0x3FFFFFFF) return std::string();
  const wchar_t* wide = reinterpret_cast<const wchar_t*>(text);
  int bytes = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), &out[0], bytes, nullptr, nullptr);
  return out;
}
