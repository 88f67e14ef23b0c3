#pragma once
// What this process has right now, for the tests that check nothing is left behind:
// Wine answers 0 to GetGuiResources and GetProcessHandleCount, so count by listing.

#include <windows.h>
#include <tlhelp32.h>

#include <vector>

inline std::vector<DWORD> ProcessThreads() {
  std::vector<DWORD> threads;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return threads;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) threads.push_back(entry.th32ThreadID);
  }
  CloseHandle(snapshot);
  return threads;
}

inline BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM list) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId()) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// Top-level windows of this process, hidden ones included.
inline std::vector<HWND> AllProcessWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}
