#pragma once
// Which display modes the karaoke screen asks for, in order: the one in its settings
// (or the desktop's own when Width is 0), then 640 × 480 × 16 as the last resort.

#include <cstdint>
#include <functional>

#include "settings/DisplayMode.h"

// Tries the modes in order with `setMode` until one is accepted; answers false, with
// `chosen` untouched, when every mode was refused.
bool ChooseDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel, const DisplayMode& current,
                       const std::function<bool(const DisplayMode&)>& setMode, DisplayMode& chosen);
