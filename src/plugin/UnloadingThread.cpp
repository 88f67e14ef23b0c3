// The player loads and frees the plug-in on its main thread, which lives on after
// FreeLibrary. The static C++ runtime's thread library (winpthreads) attaches a
// record to every thread that runs its once-only initialisations, as the library's
// static constructors do on the loading thread: a duplicate of the thread's handle
// and an event. It releases a record when its thread ends, never when the library
// goes, so each load and unload would leave a thread handle and an event behind in
// the player. The last thing the library does on its way out is therefore to call
// its own thread-detach callbacks for the unloading thread, as the loader does for
// a thread that ends, and to free the TLS slot that held the record.
//
// The runtime's thread-local storage for exceptions costs a read-write lock with
// two semaphores that nothing ever frees; it is made on first use, and the only use
// in a run without exceptions is the flush of the standard error streams by the
// static destructors at unload (a unit-buffered stream asks for uncaught exceptions
// after each flush). Nothing here writes to them, so they stop being unit-buffered
// before the destructors run.

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <iostream>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// 64 slots in the thread block and 1,024 in its expansion.
constexpr DWORD kTlsSlots = 1088;

void DetachUnloadingThread() {
  // The image's headers, reached from its base address.
  const uintptr_t base = reinterpret_cast<uintptr_t>(&__ImageBase);
  const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + __ImageBase.e_lfanew);
  const IMAGE_DATA_DIRECTORY& entry = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_TLS];
  if (entry.VirtualAddress == 0) return;
  const auto* tls = reinterpret_cast<const IMAGE_TLS_DIRECTORY*>(base + entry.VirtualAddress);
  static void* held[kTlsSlots];
  for (DWORD slot = 0; slot < kTlsSlots; ++slot) held[slot] = TlsGetValue(slot);
  // The table holds addresses, relocated with the image, and ends with a null.
  auto* callback = reinterpret_cast<PIMAGE_TLS_CALLBACK*>(static_cast<uintptr_t>(tls->AddressOfCallBacks));
  for (; callback && *callback; ++callback) (*callback)(&__ImageBase, DLL_THREAD_DETACH, nullptr);
  // The thread library keeps its records in a TLS slot of its own that it never
  // frees: about a thousand loads would use up the process's slots. The slot it
  // has just emptied for this thread is that one.
  for (DWORD slot = 0; slot < kTlsSlots; ++slot) {
    if (held[slot] && !TlsGetValue(slot)) TlsFree(slot);
  }
}

// Constructed before every other static object, so its exit handler runs after
// every static destructor: those still use the runtime's per-thread record.
struct DetachAtUnload {
  DetachAtUnload() { atexit(DetachUnloadingThread); }
};
DetachAtUnload gDetachAtUnload __attribute__((init_priority(101)));

}  // namespace

// Runs before the static destructors, at unload and at process exit alike.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_DETACH) {
    std::cerr.unsetf(std::ios_base::unitbuf);
    std::wcerr.unsetf(std::ios_base::unitbuf);
  }
  return TRUE;
}
