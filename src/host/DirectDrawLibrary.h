#pragma once
// DirectDraw, loaded at run time from the system folder: the plug-in must load on a
// system without ddraw.dll, so nothing imports it. The library object keeps the DLL
// loaded; every DirectDraw object made from it must be released before it goes.

#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <vector>

#include "host/ScopedHandles.h"
#include "settings/DisplayMode.h"

class DirectDrawLibrary {
 public:
  DirectDrawLibrary();
  DirectDrawLibrary(const DirectDrawLibrary&) = delete;
  DirectDrawLibrary& operator=(const DirectDrawLibrary&) = delete;

  bool IsLoaded() const { return static_cast<bool>(module_); }
  // The DirectDraw object of the primary display, through its second interface;
  // empty without ddraw.dll or when the display has no DirectDraw.
  OwnedInterface<IDirectDraw2> Create() const;

 private:
  OwnedModule module_;
};

// The display modes of the primary display, each once, in the order DirectDraw
// lists them; empty without DirectDraw.
std::vector<DisplayMode> EnumerateDisplayModes();
