#pragma once
// The two lists of the Karaoke Displayer's page: the display modes the screen can
// open in (after an entry that keeps the current mode) and the TrueType faces of its
// font, with which entry the settings select and what an entry stores.

#include <cstdint>
#include <string>
#include <vector>

#include "settings/DisplayMode.h"

// The modes the screen can draw in (16, 24 and 32 bits per pixel), in the order the
// display reported them.
std::vector<DisplayMode> UsableDisplayModes(const std::vector<DisplayMode>& reported);

// The list entry for the saved Width, Height and BPP: entry 0 keeps the current mode
// and stands for Width 0 and for a mode the display does not offer; entry i > 0 is
// modes[i - 1].
int SelectedModeEntry(const std::vector<DisplayMode>& modes, int32_t width, int32_t height, int32_t bitsPerPixel);
// What entry stores: 0, 0, 0 for entry 0 (or one that does not exist).
DisplayMode ModeOfEntry(const std::vector<DisplayMode>& modes, int entry);

struct FontFamily {
  std::string face;  // ANSI
  int32_t weight = 0;
  bool trueType = false;
};

// The faces the screen can outline: TrueType only, each face once (with its first
// weight), sorted by name byte by byte.
std::vector<FontFamily> TrueTypeFaces(const std::vector<FontFamily>& enumerated);
// The entry named face, or -1.
int FaceEntry(const std::vector<FontFamily>& faces, const std::string& face);
