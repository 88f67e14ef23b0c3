#include "host/HelpControl.h"

namespace {

using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
constexpr UINT kHelpDisplayTopic = 0;
constexpr UINT kHelpCloseAll = 0x12;
constexpr wchar_t kHelpControlName[] = L"hhctrl.ocx";
constexpr wchar_t kHelpControlClass[] = L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

HtmlHelpProc HtmlHelpOf(HMODULE control) {
  if (!control) return nullptr;
  return reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void (*)()>(GetProcAddress(control, "HtmlHelpW")));
}

// The default value of the control's class registration, as stored.
WString RegisteredHelpControl() {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kHelpControlClass, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return {};
  OwnedRegistryKey key(opened);
  wchar_t value[MAX_PATH] = {};
  DWORD type = 0;
  DWORD size = sizeof value - sizeof value[0];  // room for a terminator the value may lack
  if (RegQueryValueExW(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return {};
  }
  return WString::FromW(value);
}

WString SystemHelpControl() {
  wchar_t folder[MAX_PATH] = {};
  UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  WString path = WString::FromW(folder);
  if (path.At(path.Length() - 1) != u'\\') path.AppendAscii("\\");
  path.Append(WString::FromW(kHelpControlName));
  return path;
}

// "C:\..." or "\\server\...": not relative to the current folder or drive.
bool IsFullPath(const WString& path) {
  const WChar letter = path.At(0) | 0x20;
  bool drive = letter >= u'a' && letter <= u'z' && path.At(1) == u':' && (path.At(2) == u'\\' || path.At(2) == u'/');
  bool share = path.At(0) == u'\\' && path.At(1) == u'\\' && path.Length() > 2;
  return drive || share;
}

}  // namespace

WString HelpControlPath(const WString& registered) {
  wchar_t expanded[MAX_PATH] = {};
  DWORD length = ExpandEnvironmentStringsW(registered.W(), expanded, MAX_PATH);
  if (length > 0 && length <= MAX_PATH) {
    WString path = WString::FromW(expanded);
    if (IsFullPath(path)) return path;
  }
  return SystemHelpControl();
}

// The registered control first, so a user's newer control wins; the system's copy
// when the registered one is missing or will not load.
OwnedModule LoadHelpControl() {
  for (const WString& path : {HelpControlPath(RegisteredHelpControl()), SystemHelpControl()}) {
    if (path.IsEmpty()) continue;
    OwnedModule control(LoadLibraryExW(path.W(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (control) return control;
  }
  return OwnedModule();
}

void ShowHelpTopic(HMODULE control, const WString& helpFile) {
  if (HtmlHelpProc htmlHelp = HtmlHelpOf(control)) htmlHelp(nullptr, helpFile.W(), kHelpDisplayTopic, 0);
}

void CloseHelpWindows(HMODULE control) {
  if (HtmlHelpProc htmlHelp = HtmlHelpOf(control)) htmlHelp(nullptr, nullptr, kHelpCloseAll, 0);
}
