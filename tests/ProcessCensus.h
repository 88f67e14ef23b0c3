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

// This process's top-level window of that class (and title): other test programs
// share the desktop, so FindWindow could answer one of theirs.
inline HWND ProcessWindow(const char* className, const char* title = nullptr) {
  for (HWND window : AllProcessWindows()) {
    char name[64] = {}, text[128] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, className) != 0) continue;
    if (!title || (GetWindowTextA(window, text, sizeof text), lstrcmpA(text, title) == 0)) return window;
  }
  return nullptr;
}

// --- Kernel handles and GDI objects -------------------------------------------------
// Neither Wine nor a 32-bit process on Windows gives a per-type count, so both are
// found by trying values: kernel handles are multiples of 4 handed out lowest-free
// first, and a GDI handle's low 16 bits index the process's GDI table (Wine accepts
// the bare index; the upper bits only guard against stale handles).

#include <iterator>
#include <map>
#include <string>

namespace process_census_detail {
// ntdll's OBJECT_TYPE_INFORMATION starts with the type's name.
struct ObjectTypeName {
  USHORT length;
  USHORT maximumLength;
  PWSTR buffer;
};
using NtQueryObjectProc = LONG(NTAPI*)(HANDLE, int, void*, ULONG, ULONG*);
constexpr int kObjectTypeInformation = 2;
// Past the last handle in use, this many free values in a row end the search.
constexpr UINT_PTR kKernelHandleGap = 1024;
// A process has 64 TLS slots and 1,024 more in the expansion.
constexpr long kTlsSlots = 1088;
// GetObjectType's answers, OBJ_PEN (1) to OBJ_COLORSPACE (14).
constexpr const char* kGdiTypes[] = {"?",       "Pen",    "Brush",     "DC",          "MetaDC",
                                     "Palette", "Font",   "Bitmap",    "Region",      "Metafile",
                                     "MemDC",   "ExtPen", "EnhMetaDC", "EnhMetafile", "ColorSpace"};
}  // namespace process_census_detail

inline std::string KernelObjectType(HANDLE handle) {
  using namespace process_census_detail;
  static auto query = reinterpret_cast<NtQueryObjectProc>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryObject")));
  alignas(8) unsigned char buffer[1024] = {};
  ULONG size = 0;
  if (!query || query(handle, kObjectTypeInformation, buffer, sizeof buffer - 2, &size) < 0) return "?";
  const auto* name = reinterpret_cast<const ObjectTypeName*>(buffer);
  std::string type;
  for (USHORT i = 0; i < name->length / 2; ++i) type += static_cast<char>(name->buffer[i]);
  return type.empty() ? "?" : type;
}

// What this process holds, by kind: "kernel <type>" (Event, Semaphore, Thread, ...),
// "gdi <type>" (Brush, Font, Bitmap, DC, ...), "tls slots" (taken), "windows"
// (top-level) and "threads".
using ProcessCensus = std::map<std::string, long>;

inline ProcessCensus TakeProcessCensus() {
  ProcessCensus census;
  UINT_PTR lastSeen = 0;
  for (UINT_PTR value = 4; value - lastSeen <= process_census_detail::kKernelHandleGap; value += 4) {
    DWORD flags = 0;
    HANDLE handle = reinterpret_cast<HANDLE>(value);
    if (!GetHandleInformation(handle, &flags)) continue;
    lastSeen = value;
    ++census["kernel " + KernelObjectType(handle)];
  }
  for (UINT_PTR index = 1; index <= 0xFFFF; ++index) {
    using process_census_detail::kGdiTypes;
    DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(index));
    if (type) ++census[std::string("gdi ") + kGdiTypes[type < std::size(kGdiTypes) ? type : 0]];
  }
  std::vector<DWORD> slots;
  for (DWORD slot; (slot = TlsAlloc()) != TLS_OUT_OF_INDEXES;) slots.push_back(slot);
  for (DWORD slot : slots) TlsFree(slot);
  census["tls slots"] = process_census_detail::kTlsSlots - static_cast<long>(slots.size());
  census["windows"] = static_cast<long>(AllProcessWindows().size());
  census["threads"] = static_cast<long>(ProcessThreads().size());
  return census;
}

// "" when after holds no more of any kind than before; else each kind that grew,
// "kernel Event +20, gdi Brush +1", for a failure message that says what leaked.
inline std::string CensusGrowth(const ProcessCensus& before, const ProcessCensus& after) {
  std::string growth;
  for (const auto& [kind, count] : after) {
    auto was = before.find(kind);
    long more = count - (was == before.end() ? 0 : was->second);
    if (more > 0) growth += (growth.empty() ? "" : ", ") + kind + " +" + std::to_string(more);
  }
  return growth;
}
