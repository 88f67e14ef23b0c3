#include "editor/core/EditorPlacement.h"

#include <algorithm>

namespace {

bool Meet(int64_t left, int64_t top, int64_t right, int64_t bottom, const SettingsRect& area) {
  return std::max<int64_t>(left, area.left) < std::min<int64_t>(right, area.right) &&
         std::max<int64_t>(top, area.top) < std::min<int64_t>(bottom, area.bottom);
}

}  // namespace

SettingsRect PlaceEditorWindow(const SettingsRect& saved, const SettingsRect& workArea, int32_t captionHeight) {
  // Sizes in 64 bits: a settings file may hold any four numbers.
  const int64_t width = int64_t(saved.right) - saved.left, height = int64_t(saved.bottom) - saved.top;
  const bool usable = width > 0 && height > 0 && width <= INT32_MAX && height <= INT32_MAX;
  if (usable && Meet(saved.left, saved.top, saved.right, int64_t(saved.top) + std::max(captionHeight, 1), workArea))
    return saved;
  // The work area rather than the screen's corner: a taskbar at the top or left would
  // cover a title bar at 0, 0.
  const int32_t w = usable ? static_cast<int32_t>(width) : kEditorDefaultWidth;
  const int32_t h = usable ? static_cast<int32_t>(height) : kEditorDefaultHeight;
  SettingsRect placed;
  placed.left = workArea.left;
  placed.top = workArea.top;
  placed.right = static_cast<int32_t>(std::min<int64_t>(int64_t(workArea.left) + w, INT32_MAX));
  placed.bottom = static_cast<int32_t>(std::min<int64_t>(int64_t(workArea.top) + h, INT32_MAX));
  return placed;
}
