#include "host/DirectDrawLibrary.h"

#include <algorithm>

namespace {

using DirectDrawCreateProc = HRESULT(WINAPI*)(GUID*, IDirectDraw**, IUnknown*);

// Kept here instead of linking dxguid, whose import would tie both builds to it.
constexpr GUID kIidDirectDraw2 = {0xB3A6F3E0, 0x2B43, 0x11CF, {0xA2, 0xDE, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};

// Only the system's copy: a ddraw.dll beside the player or in the current folder is
// not ours to run.
OwnedModule LoadSystemDirectDraw() {
  wchar_t folder[MAX_PATH] = {};
  UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH - 12) return OwnedModule();
  if (folder[length - 1] != L'\\') folder[length++] = L'\\';
  lstrcpynW(folder + length, L"ddraw.dll", MAX_PATH - static_cast<int>(length));
  return OwnedModule(LoadLibraryExW(folder, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

HRESULT CALLBACK AddMode(LPDDSURFACEDESC description, LPVOID context) {
  auto& modes = *static_cast<std::vector<DisplayMode>*>(context);
  DisplayMode mode;
  mode.width = static_cast<int32_t>(description->dwWidth);
  mode.height = static_cast<int32_t>(description->dwHeight);
  mode.bitsPerPixel = static_cast<int32_t>(description->ddpfPixelFormat.dwRGBBitCount);
  // The same size and depth come once per refresh rate on some drivers.
  if (std::find(modes.begin(), modes.end(), mode) == modes.end()) modes.push_back(mode);
  return DDENUMRET_OK;
}

}  // namespace

DirectDrawLibrary::DirectDrawLibrary() : module_(LoadSystemDirectDraw()) {}

OwnedInterface<IDirectDraw2> DirectDrawLibrary::Create() const {
  OwnedInterface<IDirectDraw2> second;
  if (!module_) return second;
  auto create = reinterpret_cast<DirectDrawCreateProc>(
      reinterpret_cast<void (*)()>(GetProcAddress(module_.Get(), "DirectDrawCreate")));
  if (!create) return second;
  OwnedInterface<IDirectDraw> first;
  HRESULT created = create(nullptr, first.Address(), nullptr);
  if (FAILED(created) || !first) return second;
  if (FAILED(first->QueryInterface(kIidDirectDraw2, second.Address()))) second.Reset();
  return second;
}

std::vector<DisplayMode> EnumerateDisplayModes() {
  std::vector<DisplayMode> modes;
  DirectDrawLibrary library;
  OwnedInterface<IDirectDraw2> directDraw = library.Create();
  if (directDraw) directDraw->EnumDisplayModes(0, nullptr, &modes, AddMode);
  return modes;
}
