#include "options/core/KaraokeChoices.h"

#include <algorithm>

std::vector<DisplayMode> UsableDisplayModes(const std::vector<DisplayMode>& reported) {
  std::vector<DisplayMode> modes;
  for (const DisplayMode& mode : reported) {
    const bool usable = mode.bitsPerPixel == 16 || mode.bitsPerPixel == 24 || mode.bitsPerPixel == 32;
    if (usable && mode.width > 0 && mode.height > 0) modes.push_back(mode);
  }
  return modes;
}

int SelectedModeEntry(const std::vector<DisplayMode>& modes, int32_t width, int32_t height, int32_t bitsPerPixel) {
  if (width == 0) return 0;
  const auto found = std::find(modes.begin(), modes.end(), DisplayMode{width, height, bitsPerPixel});
  return found == modes.end() ? 0 : static_cast<int>(found - modes.begin()) + 1;
}

DisplayMode ModeOfEntry(const std::vector<DisplayMode>& modes, int entry) {
  if (entry < 1 || static_cast<size_t>(entry) > modes.size()) return DisplayMode{};
  return modes[static_cast<size_t>(entry) - 1];
}

// Families come once per character set: the same face follows itself, and a face
// may come back under another set later, so every repeat is dropped.
std::vector<FontFamily> TrueTypeFaces(const std::vector<FontFamily>& enumerated) {
  std::vector<FontFamily> faces;
  for (const FontFamily& family : enumerated) {
    if (family.trueType && !family.face.empty()) faces.push_back(family);
  }
  std::stable_sort(faces.begin(), faces.end(),
                   [](const FontFamily& a, const FontFamily& b) { return a.face < b.face; });
  faces.erase(std::unique(faces.begin(), faces.end(),
                          [](const FontFamily& a, const FontFamily& b) { return a.face == b.face; }),
              faces.end());
  return faces;
}

int FaceEntry(const std::vector<FontFamily>& faces, const std::string& face) {
  for (size_t i = 0; i < faces.size(); ++i) {
    if (faces[i].face == face) return static_cast<int>(i);
  }
  return -1;
}
