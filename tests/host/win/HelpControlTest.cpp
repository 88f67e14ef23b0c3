// The HTML Help control comes from a full path, never from a bare name the loader
// would look for in the player's folder first.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "host/HelpControl.h"

namespace {

TEST(HelpControlTest, IsLoadedByItsFullPath) {
  wchar_t system[MAX_PATH] = {}, root[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  GetEnvironmentVariableW(L"SystemRoot", root, MAX_PATH);
  auto path = [](const wchar_t* registered) { return std::wstring(HelpControlPath(WString::FromW(registered)).W()); };
  for (const wchar_t* full : {L"D:\\Help\\hhctrl.ocx", L"\\\\server\\share\\hhctrl.ocx"}) EXPECT_EQ(path(full), full);
  EXPECT_EQ(path(L"%SystemRoot%\\x\\hhctrl.ocx"), std::wstring(root) + L"\\x\\hhctrl.ocx");
  // Whatever the loader would look for from the current folder or drive.
  for (const wchar_t* relative : {L"hhctrl.ocx", L"..\\hhctrl.ocx", L"\\hhctrl.ocx", L"C:hhctrl.ocx", L""}) {
    EXPECT_EQ(path(relative), std::wstring(system) + L"\\hhctrl.ocx") << relative;
  }
  OwnedModule control = LoadHelpControl();
  wchar_t loaded[MAX_PATH] = {};
  GetModuleFileNameW(control.Get(), loaded, MAX_PATH);
  EXPECT_EQ(lstrcmpiW(loaded, (std::wstring(system) + L"\\hhctrl.ocx").c_str()), 0) << loaded;
}

}  // namespace
