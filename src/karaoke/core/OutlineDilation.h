#pragma once
// The outline of karaoke text: every background pixel within `edge` pixels of a
// text pixel, in both directions (a square around it), takes the edge colour. The
// text is drawn without anti-aliasing, so every pixel is text or background. Works
// on the locked bytes of a 16-, 24- or 32-bit surface and never touches a byte
// outside the rectangle's pixels.

#include <cstddef>
#include <cstdint>

#include "karaoke/core/KaraokeLayout.h"

// Locked surface memory: `size` bytes, rows `pitch` bytes apart.
struct PixelBytes {
  uint8_t* bits = nullptr;
  size_t size = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;
  int bytesPerPixel = 0;  // 2, 3 or 4
};

// Raw pixel values in the surface's format; bits outside `mask` belong to no colour
// and are kept.
struct OutlineColours {
  uint32_t text = 0;
  uint32_t edge = 0;
  uint32_t fill = 0;
  uint32_t mask = 0xFFFFFFFF;
};

// False (and nothing changed) for a buffer that does not hold its rows, an unknown
// pixel size, text that cannot be told from the fill or the edge, or no memory.
bool DilateOutline(const PixelBytes& surface, KRect area, int32_t edge, const OutlineColours& colours);
