#pragma once
// A display mode as the karaoke screen's settings store it (Width, Height, BPP), as
// DirectDraw lists it, and as the Options sheet offers it.

#include <cstdint>

struct DisplayMode {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 0;
  bool operator==(const DisplayMode& other) const {
    return width == other.width && height == other.height && bitsPerPixel == other.bitsPerPixel;
  }
};
