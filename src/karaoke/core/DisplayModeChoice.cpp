#include "karaoke/core/DisplayModeChoice.h"

namespace {

// The text outline works on 2, 3 and 4 bytes per pixel only: an 8-bit desktop (or a
// BPP of 0 or 8 in the settings) gets 16 bits.
int32_t UsableDepth(int32_t bits) { return bits == 16 || bits == 24 || bits == 32 ? bits : 16; }

}  // namespace

bool ChooseDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel, const DisplayMode& current,
                       const std::function<bool(const DisplayMode&)>& setMode, DisplayMode& chosen) {
  DisplayMode wanted = width != 0 ? DisplayMode{width, height, UsableDepth(bitsPerPixel)}
                                 : DisplayMode{current.width, current.height, UsableDepth(current.bitsPerPixel)};
  const DisplayMode fallback{640, 480, 16};
  // A negative or empty size from the INI file is not worth asking the driver about.
  const bool sane = wanted.width > 0 && wanted.height > 0;
  if (sane && setMode(wanted)) {
    chosen = wanted;
    return true;
  }
  if ((sane && wanted == fallback) || !setMode(fallback)) return false;
  chosen = fallback;
  return true;
}
