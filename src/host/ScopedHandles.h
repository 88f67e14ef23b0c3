#pragma once
// Small owners for GDI, USER and kernel handles and for COM interfaces: each frees
// what it holds when it goes out of scope, none can be copied, all can be moved.
// Every owner that holds something is counted in LiveScopedHandles(), so leak tests
// can count what the plug-in still owns (Wine answers 0 to GetGuiResources and
// GetProcessHandleCount). The count is one atomic add per handle and is kept in
// every build.

#include <windows.h>

#include <atomic>
#include <utility>

namespace scoped_handles_detail {
inline std::atomic<long> liveCount{0};
}

// Owners in this module that hold a handle right now.
inline long LiveScopedHandles() { return scoped_handles_detail::liveCount.load(); }

// Owns one handle of a kind; Traits gives Invalid() and Free(handle).
template <class Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() noexcept = default;
  explicit ScopedHandle(Handle handle) noexcept { Reset(handle); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  // A move hands the handle over: the count of owned handles stays the same.
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = Traits::Invalid(); }
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = other.handle_;
      other.handle_ = Traits::Invalid();
    }
    return *this;
  }
  ~ScopedHandle() { Reset(); }

  Handle Get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

  // Frees the old handle and takes the new one (which may be invalid).
  void Reset(Handle handle = Traits::Invalid()) noexcept {
    if (handle_ != Traits::Invalid()) {
      Traits::Free(handle_);
      --scoped_handles_detail::liveCount;
    }
    handle_ = handle;
    if (handle_ != Traits::Invalid()) ++scoped_handles_detail::liveCount;
  }
  // Gives the handle up without freeing it.
  Handle Release() noexcept {
    Handle handle = handle_;
    if (handle_ != Traits::Invalid()) --scoped_handles_detail::liveCount;
    handle_ = Traits::Invalid();
    return handle;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

namespace scoped_handles_detail {
template <class H>
struct GdiObjectTraits {
  using Handle = H;
  static Handle Invalid() { return nullptr; }
  static void Free(Handle handle) { DeleteObject(handle); }
};
struct IconTraits {
  using Handle = HICON;
  static Handle Invalid() { return nullptr; }
  static void Free(Handle handle) { DestroyIcon(handle); }
};
struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() { return nullptr; }
  static void Free(Handle handle) { DestroyMenu(handle); }
};
// Kernel handles: null for threads, events and mutexes.
struct KernelTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Free(Handle handle) { CloseHandle(handle); }
};
// CreateFile and FindFirstFile answer INVALID_HANDLE_VALUE on failure.
struct FileTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Free(Handle handle) { CloseHandle(handle); }
};
struct FindTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Free(Handle handle) { FindClose(handle); }
};
}  // namespace scoped_handles_detail

using OwnedFont = ScopedHandle<scoped_handles_detail::GdiObjectTraits<HFONT>>;
using OwnedBrush = ScopedHandle<scoped_handles_detail::GdiObjectTraits<HBRUSH>>;
using OwnedPen = ScopedHandle<scoped_handles_detail::GdiObjectTraits<HPEN>>;
using OwnedBitmap = ScopedHandle<scoped_handles_detail::GdiObjectTraits<HBITMAP>>;
using OwnedRegion = ScopedHandle<scoped_handles_detail::GdiObjectTraits<HRGN>>;
using OwnedIcon = ScopedHandle<scoped_handles_detail::IconTraits>;
using OwnedMenu = ScopedHandle<scoped_handles_detail::MenuTraits>;
using KernelHandle = ScopedHandle<scoped_handles_detail::KernelTraits>;
using FileHandle = ScopedHandle<scoped_handles_detail::FileTraits>;
using FindHandle = ScopedHandle<scoped_handles_detail::FindTraits>;

// Owns one reference to a COM interface (DirectDraw's objects among them): Release
// on Reset and at the end of the scope. Counted like a handle.
template <class T>
class OwnedInterface {
 public:
  OwnedInterface() noexcept = default;
  // Takes over a reference the caller holds.
  explicit OwnedInterface(T* object) noexcept { Reset(object); }
  OwnedInterface(const OwnedInterface&) = delete;
  OwnedInterface& operator=(const OwnedInterface&) = delete;
  OwnedInterface(OwnedInterface&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
  OwnedInterface& operator=(OwnedInterface&& other) noexcept {
    if (this != &other) {
      Reset();
      object_ = other.object_;
      other.object_ = nullptr;
    }
    return *this;
  }
  ~OwnedInterface() { Reset(); }

  T* Get() const noexcept { return object_; }
  T* operator->() const noexcept { return object_; }
  explicit operator bool() const noexcept { return object_ != nullptr; }

  void Reset(T* object = nullptr) noexcept {
    if (object_) {
      object_->Release();
      --scoped_handles_detail::liveCount;
    }
    object_ = object;
    if (object_) ++scoped_handles_detail::liveCount;
  }

  // The out-parameter of a function that creates the object: releases what is held,
  // and takes what the function wrote at the end of the call's full expression.
  class OutParam {
   public:
    explicit OutParam(OwnedInterface& owner) noexcept : owner_(owner) {}
    OutParam(const OutParam&) = delete;
    OutParam& operator=(const OutParam&) = delete;
    ~OutParam() { owner_.Reset(written_); }
    operator T**() noexcept { return &written_; }
    operator void**() noexcept { return reinterpret_cast<void**>(&written_); }

   private:
    OwnedInterface& owner_;
    T* written_ = nullptr;
  };
  OutParam Address() noexcept {
    Reset();
    return OutParam(*this);
  }

 private:
  T* object_ = nullptr;
};

// GetDC / ReleaseDC on a window (null: the screen); with kWholeWindow GetWindowDC,
// border and caption included.
class ScopedWindowDC {
 public:
  enum Area { kClientArea, kWholeWindow };
  explicit ScopedWindowDC(HWND window, Area area = kClientArea) noexcept
      : window_(window), dc_(area == kWholeWindow ? GetWindowDC(window) : GetDC(window)) {
    if (dc_) ++scoped_handles_detail::liveCount;
  }
  ScopedWindowDC(const ScopedWindowDC&) = delete;
  ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
  ~ScopedWindowDC() {
    if (!dc_) return;
    ReleaseDC(window_, dc_);
    --scoped_handles_detail::liveCount;
  }
  HDC Get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// CreateCompatibleDC / DeleteDC: the memory DCs of off-screen drawing.
class OwnedMemoryDC {
 public:
  explicit OwnedMemoryDC(HDC compatibleWith) noexcept : dc_(CreateCompatibleDC(compatibleWith)) {
    if (dc_) ++scoped_handles_detail::liveCount;
  }
  OwnedMemoryDC(const OwnedMemoryDC&) = delete;
  OwnedMemoryDC& operator=(const OwnedMemoryDC&) = delete;
  ~OwnedMemoryDC() {
    if (!dc_) return;
    DeleteDC(dc_);
    --scoped_handles_detail::liveCount;
  }
  HDC Get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// BeginPaint / EndPaint inside WM_PAINT.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {
    if (dc_) ++scoped_handles_detail::liveCount;
  }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  ~ScopedPaint() {
    EndPaint(window_, &paint_);
    if (dc_) --scoped_handles_detail::liveCount;
  }
  HDC Get() const noexcept { return dc_; }
  const RECT& Area() const noexcept { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// SelectObject, putting the previous object back at the end of the scope, so the
// selected object can be deleted afterwards.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;
  ~ScopedSelect() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

namespace scoped_handles_detail {
struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static void Free(Handle handle) { FreeLibrary(handle); }
};
struct HookTraits {
  using Handle = HHOOK;
  static Handle Invalid() { return nullptr; }
  static void Free(Handle handle) { UnhookWindowsHookEx(handle); }
};
struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static void Free(Handle handle) { RegCloseKey(handle); }
};
}  // namespace scoped_handles_detail

// LoadLibrary / FreeLibrary.
using OwnedModule = ScopedHandle<scoped_handles_detail::ModuleTraits>;
// SetWindowsHookEx / UnhookWindowsHookEx.
using OwnedHook = ScopedHandle<scoped_handles_detail::HookTraits>;
// RegOpenKeyEx / RegCloseKey.
using OwnedRegistryKey = ScopedHandle<scoped_handles_detail::RegistryKeyTraits>;

// One pointer per thread in a TLS slot of the module's own, taken when the module
// loads and given back when it unloads. The compiler's thread_local goes through
// the static thread runtime instead, whose lock for it (an event and two
// semaphores) is never freed: every load and unload of the plug-in would leave it
// behind in the player.
template <class T>
class ThreadSlot {
 public:
  ThreadSlot() noexcept : index_(TlsAlloc()) {}
  ThreadSlot(const ThreadSlot&) = delete;
  ThreadSlot& operator=(const ThreadSlot&) = delete;
  ~ThreadSlot() {
    if (index_ != TLS_OUT_OF_INDEXES) TlsFree(index_);
  }

  T* Get() const noexcept { return index_ == TLS_OUT_OF_INDEXES ? nullptr : static_cast<T*>(TlsGetValue(index_)); }
  void Set(T* value) const noexcept {
    if (index_ != TLS_OUT_OF_INDEXES) TlsSetValue(index_, const_cast<void*>(static_cast<const void*>(value)));
  }

 private:
  DWORD index_;
};
