#include "TickCounts.h"

#include <cstdio>
#include <cstring>

#include "host/PluginThread.h"

// --- Lockstep ---------------------------------------------------------------------

TickLockstep::TickLockstep()
    : parked_(CreateEventA(nullptr, FALSE, FALSE, nullptr)), go_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

DWORD TickLockstep::Nap(DWORD ms) {
  if (markers_) GlobalFindAtomW(kTickEndAtom);
  SetEvent(parked_.Get());
  PluginThread::WaitPumpingSent(go_.Get(), INFINITE);
  if (markers_) GlobalFindAtomW(kTickBeginAtom);
  return ms;
}

bool TickLockstep::WaitParked(DWORD boundMs) {
  const ULONGLONG end = GetTickCount64() + boundMs;
  HANDLE parked = parked_.Get();
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return false;
    const DWORD result = MsgWaitForMultipleObjects(1, &parked, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    if (result == WAIT_OBJECT_0) return true;
    if (result != WAIT_OBJECT_0 + 1) return false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

void TickLockstep::Release() { SetEvent(go_.Get()); }

// --- Counting drawing calls ---------------------------------------------------------

namespace {

constexpr int kMaxFunctions = 40;

struct Counted {
  const char* dll;
  const char* name;
  void* wrapper;
  bool user;
};

void* originals[kMaxFunctions];
std::atomic<long> calls[kMaxFunctions];
std::atomic<DWORD> countedThread{0};

template <typename F>
struct Wrap;
template <typename R, typename... A>
struct Wrap<R(WINAPI*)(A...)> {
  template <int I>
  static R WINAPI Call(A... a) {
    if (GetCurrentThreadId() == countedThread.load(std::memory_order_relaxed)) ++calls[I];
    return reinterpret_cast<R(WINAPI*)(A...)>(originals[I])(a...);
  }
};

#define GDI(i, name) Counted{"gdi32.dll", #name, reinterpret_cast<void*>(&Wrap<decltype(&::name)>::Call<i>), false}
#define USER(i, name) Counted{"user32.dll", #name, reinterpret_cast<void*>(&Wrap<decltype(&::name)>::Call<i>), true}

// Every GDI function this program imports, and the USER calls that get, paint or
// scroll a window's pixels or read its client area.
const Counted kCounted[] = {
    GDI(0, BitBlt),          GDI(1, CreateCompatibleBitmap), GDI(2, CreateCompatibleDC), GDI(3, CreateDIBitmap),
    GDI(4, CreateFontIndirectW), GDI(5, CreatePen),          GDI(6, CreateRectRgn),      GDI(7, CreateSolidBrush),
    GDI(8, DeleteDC),        GDI(9, DeleteObject),           GDI(10, ExtTextOutW),       GDI(11, GetObjectA),
    GDI(12, GetStockObject), GDI(13, GetTextExtentPoint32W), GDI(14, GetTextMetricsW),   GDI(15, LineTo),
    GDI(16, MoveToEx),       GDI(17, SelectObject),          GDI(18, SetBkColor),        GDI(19, SetBkMode),
    GDI(20, SetTextColor),   GDI(21, StretchBlt),            GDI(22, TextOutA),          USER(23, GetDC),
    USER(24, GetWindowDC),   USER(25, ReleaseDC),            USER(26, BeginPaint),       USER(27, EndPaint),
    USER(28, ScrollWindowEx), USER(29, InvalidateRect),      USER(30, UpdateWindow),     USER(31, RedrawWindow),
    USER(32, GetClientRect),
};
constexpr int kCountedFunctions = static_cast<int>(sizeof kCounted / sizeof kCounted[0]);
static_assert(kCountedFunctions <= kMaxFunctions, "room for every counted function");

// Points this program's import of dll!name at the wrapper; the original goes first
// into `original`, so a call already on its way finds it.
bool PatchImport(const char* dll, const char* name, void* wrapper, void*& original) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return false;
  for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); module->Name;
       ++module) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + module->Name), dll) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (strcmp(reinterpret_cast<const char*>(byName->Name), name) != 0) continue;
      DWORD protection = 0;
      if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection)) return false;
      original = reinterpret_cast<void*>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(wrapper);
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
      return true;
    }
  }
  return false;
}

}  // namespace

bool GdiCallCounter::Install() {
  static bool installed = false;
  if (installed) return true;
  installed = true;
  bool all = true;
  for (int i = 0; i < kCountedFunctions; ++i) {
    // A function this program does not import cannot be called through its table.
    if (!PatchImport(kCounted[i].dll, kCounted[i].name, kCounted[i].wrapper, originals[i]) &&
        strcmp(kCounted[i].name, "GetWindowDC") != 0) {
      fprintf(stderr, "counts: %s!%s is not imported\n", kCounted[i].dll, kCounted[i].name);
      all = false;
    }
  }
  return all;
}

void GdiCallCounter::CountThread(DWORD threadId) { countedThread = threadId; }

DrawingCalls GdiCallCounter::Calls() {
  DrawingCalls total;
  for (int i = 0; i < kCountedFunctions; ++i) (kCounted[i].user ? total.user : total.gdi) += calls[i].load();
  return total;
}

void GdiCallCounter::PrintCalls(const char* prefix, long ticks) {
  for (int i = 0; i < kCountedFunctions; ++i) {
    if (calls[i].load() > 0 && ticks > 0) {
      printf("%s%s %.2f\n", prefix, kCounted[i].name, static_cast<double>(calls[i].load()) / ticks);
    }
  }
}
