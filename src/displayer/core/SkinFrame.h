#pragma once
// The skinned frame's geometry: the pieces of the skin bitmap (caption ends and
// middles, border tiles, close box), how they tile around a frame of a given size,
// and which part of the frame a point is in.

#include <array>
#include <cstdint>
#include <vector>

#include "displayer/core/Geometry.h"

namespace SkinElement {
enum Id : int {
  kCaptionMiddleActive = 0,
  kCaptionLeftActive,
  kCaptionRightActive,
  kCaptionEndActive,
  kCaptionMiddleInactive,
  kCaptionLeftInactive,
  kCaptionRightInactive,
  kCaptionEndInactive,
  kCaptionMiddle,  // 8-11: the caption pieces in use, active or inactive
  kCaptionLeft,
  kCaptionRight,
  kCaptionEnd,
  kLeftTile,
  kLowerLeft,
  kRightTile,
  kLowerRight,
  kBottomLeft,
  kBottomTile,
  kBottomRight,
  kCloseBox,
  kCloseBoxPressed,
  kCount
};
}  // namespace SkinElement

// Source rectangles of the skin bitmap's pieces; a skin bitmap smaller than the
// built-in one simply lacks some of them.
class SkinElements {
 public:
  SkinElements();  // the inactive caption in use
  // Switches the caption pieces in use on activation and deactivation.
  void SetActive(bool active);

  const Rect& operator[](int element) const { return rects_[element]; }
  int32_t Width(int element) const { return rects_[element].Width(); }
  int32_t Height(int element) const { return rects_[element].Height(); }

  // Where the close box sits in a window of this width (window coordinates).
  Rect CloseBox(int32_t windowWidth) const;
  // The client area's insets: left, top, right, bottom.
  Rect Insets() const;

 private:
  std::array<Rect, SkinElement::kCount> rects_;
};

// One unscaled copy from the skin bitmap.
struct SkinBlit {
  Rect source;
  Point target;
};

// The pieces of the border and caption of a frame of size `window`, in drawing order
// (later over earlier), each cut to what lies inside the bitmap of size `bitmap`: a
// piece outside the bitmap is never read.
std::vector<SkinBlit> ComposeBorder(const SkinElements& elements, Size window, Size bitmap);

// The client area of a frame of size `window`: inside the skin's border, or inside the
// 1-pixel frame of the window-shade bar.
Rect FrameClientRect(const SkinElements& elements, Size window, bool shaded);

// The frame's rectangle when it opens: the saved one, or the default when the saved
// one is empty or inverted; moved to the origin when it would open off the work area;
// the bar's size in window-shade mode.
Rect InitialFrameRect(const Rect& saved, const Rect& workArea, bool shaded, Size shadeSize);

constexpr Rect kDefaultFrameRect{0, 0, 640, 116};

// The normal rectangle moved to the bar's top-left corner, where the frame unfolds:
// its size kept, but cut where it would run past the largest coordinate.
Rect NormalRectAtCorner(const Rect& normal, Point corner);

enum class FrameHit { kNowhere, kClient, kCaption, kClose, kLeft, kRight, kBottomLeft, kBottomRight, kBottom };

// What the frame is at `offset` from its top-left corner. There is no top edge: the
// caption drags. In window-shade mode the whole bar drags.
FrameHit HitTestFrame(const SkinElements& elements, Point offset, Size window, bool maximised, bool shaded);
