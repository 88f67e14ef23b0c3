#pragma once
// Where the Editor window opens: the rectangle it had when it was last moved, unless its
// title bar would be off the desktop's work area (a monitor that is gone, a smaller
// screen, a damaged settings file), where the user could not grab it.

#include <cstdint>

#include "settings/SettingsStore.h"

// The Editor's rectangle when nothing usable was stored.
constexpr int32_t kEditorDefaultWidth = 420;
constexpr int32_t kEditorDefaultHeight = 240;

// saved: the stored WindowRect; workArea: the desktop work area; captionHeight: the
// title bar's height. A rectangle whose title bar strip meets the work area stays; any
// other moves to the work area's top-left corner, keeping its size (the default size
// when the stored one is empty or inverted).
SettingsRect PlaceEditorWindow(const SettingsRect& saved, const SettingsRect& workArea, int32_t captionHeight);
