#include "displayer/core/SkinFrame.h"

#include <algorithm>

using namespace SkinElement;

namespace {

constexpr int32_t kCornerSize = 15;     // the bottom corners' sizing squares
constexpr int32_t kBottomEdgeEnd = 16;  // the bottom edge stops this far from the right

constexpr Rect kBuiltInRects[SkinElement::kCount] = {
    {26, 0, 176, 13},  {0, 0, 25, 13},    {177, 0, 202, 13},  {203, 0, 228, 13},  {26, 14, 176, 27},
    {0, 14, 25, 27},   {177, 14, 202, 27}, {203, 14, 228, 27}, {26, 14, 176, 27},  {0, 14, 25, 27},
    {177, 14, 202, 27}, {203, 14, 228, 27}, {229, 0, 234, 19},  {0, 28, 5, 61},     {235, 0, 240, 19},
    {271, 28, 276, 61}, {0, 62, 125, 67},  {229, 20, 254, 25}, {126, 62, 276, 67}, {217, 3, 226, 12},
    {241, 0, 250, 9},
};

class BlitList {
 public:
  BlitList(const SkinElements& elements, Size bitmap, std::vector<SkinBlit>& out)
      : elements_(elements), bitmap_{0, 0, bitmap.width, bitmap.height}, out_(out) {}

  // The top-left width × height of element e at (x, y), cut to the bitmap.
  void Part(int e, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return;
    const Rect& r = elements_[e];
    Rect source{r.left, r.top, r.left + std::min(width, r.Width()), r.top + std::min(height, r.Height())};
    const Rect cut{std::max(source.left, bitmap_.left), std::max(source.top, bitmap_.top),
                   std::min(source.right, bitmap_.right), std::min(source.bottom, bitmap_.bottom)};
    if (cut.left >= cut.right || cut.top >= cut.bottom) return;
    out_.push_back(SkinBlit{cut, Point{x + cut.left - source.left, y + cut.top - source.top}});
  }
  void Whole(int e, int32_t x, int32_t y) { Part(e, x, y, elements_.Width(e), elements_.Height(e)); }

  // Tiles element e downwards from y over `room` pixels, the last tile cut short.
  void Down(int e, int32_t x, int32_t y, int32_t room) {
    const int32_t step = elements_.Height(e);
    if (step <= 0 || room <= 0) return;
    for (int32_t n = 0; n < room / step; ++n) Whole(e, x, y + n * step);
    Part(e, x, y + room / step * step, elements_.Width(e), room % step);
  }
  // Tiles element e rightwards from x over `room` pixels, the last tile cut short.
  void Right(int e, int32_t x, int32_t y, int32_t room) {
    const int32_t step = elements_.Width(e);
    if (step <= 0 || room <= 0) return;
    for (int32_t n = 0; n < room / step; ++n) Whole(e, x + n * step, y);
    Part(e, x + room / step * step, y, room % step, elements_.Height(e));
  }

 private:
  const SkinElements& elements_;
  Rect bitmap_;
  std::vector<SkinBlit>& out_;
};

}  // namespace

SkinElements::SkinElements() {
  std::copy(std::begin(kBuiltInRects), std::end(kBuiltInRects), rects_.begin());
}

void SkinElements::SetActive(bool active) {
  const int from = active ? kCaptionMiddleActive : kCaptionMiddleInactive;
  for (int i = 0; i < 4; ++i) rects_[kCaptionMiddle + i] = rects_[from + i];
}

Rect SkinElements::CloseBox(int32_t windowWidth) const {
  const Rect& box = rects_[kCloseBox];
  const int32_t x = windowWidth + box.left - rects_[kCaptionEndActive].right;
  return Rect{x, box.top, x + box.Width(), box.top + box.Height()};
}

Rect SkinElements::Insets() const {
  return Rect{Width(kLeftTile), Height(kCaptionRight), Width(kRightTile), Height(kBottomTile)};
}

std::vector<SkinBlit> ComposeBorder(const SkinElements& e, Size window, Size bitmap) {
  std::vector<SkinBlit> blits;
  BlitList list(e, bitmap, blits);
  const int32_t w = window.width, h = window.height;

  list.Whole(kLowerLeft, 0, h - e.Height(kBottomLeft) - e.Height(kLowerLeft));
  list.Down(kLeftTile, 0, e.Height(kCaptionLeft),
            h - e.Height(kCaptionLeft) - e.Height(kBottomLeft) - e.Height(kLowerLeft));

  list.Whole(kLowerRight, w - e.Width(kLowerRight), h - e.Height(kBottomRight) - e.Height(kLowerRight));
  list.Down(kRightTile, w - e.Width(kRightTile), e.Height(kCaptionEnd),
            h - e.Height(kCaptionEnd) - e.Height(kBottomRight) - e.Height(kLowerRight));

  // The caption's middle piece sits in the middle, the right-part tiles fill both sides.
  const int32_t free = w - e.Width(kCaptionLeft) - e.Width(kCaptionEnd) - e.Width(kCaptionMiddle);
  const int32_t leftRun = free / 2, rightRun = free - leftRun;
  list.Right(kCaptionRight, e.Width(kCaptionLeft), 0, leftRun);
  const int32_t step = e.Width(kCaptionRight);
  if (step > 0 && rightRun > 0)
    for (int32_t n = 1; n <= rightRun / step + 1; ++n)
      list.Whole(kCaptionRight, w - e.Width(kCaptionEnd) - n * step, 0);
  list.Whole(kCaptionMiddle, e.Width(kCaptionLeft) + leftRun, 0);
  list.Whole(kCaptionLeft, 0, 0);
  list.Whole(kCaptionEnd, w - e.Width(kCaptionEnd), 0);

  list.Whole(kBottomLeft, 0, h - e.Height(kBottomLeft));
  list.Whole(kBottomRight, w - e.Width(kBottomRight), h - e.Height(kBottomRight));
  list.Right(kBottomTile, e.Width(kBottomLeft), h - e.Height(kBottomLeft),
             w - e.Width(kBottomLeft) - e.Width(kBottomRight));
  return blits;
}

Rect FrameClientRect(const SkinElements& elements, Size window, bool shaded) {
  const Rect insets = shaded ? Rect{1, 1, 1, 1} : elements.Insets();
  return Rect{insets.left, insets.top, std::max(insets.left, window.width - insets.right),
              std::max(insets.top, window.height - insets.bottom)};
}

namespace {

// A size the window system can take: positive, and not wrapping around 32 bits.
bool UsableSize(const Rect& r) {
  const int64_t width = int64_t(r.right) - r.left, height = int64_t(r.bottom) - r.top;
  return width > 0 && height > 0 && width <= INT32_MAX && height <= INT32_MAX;
}

}  // namespace

Rect InitialFrameRect(const Rect& saved, const Rect& workArea, bool shaded, Size shadeSize) {
  Rect frame = UsableSize(saved) ? saved : kDefaultFrameRect;
  const bool meets = frame.left < workArea.right && workArea.left < frame.right && frame.top < workArea.bottom &&
                     workArea.top < frame.bottom;
  if (!meets) frame = Rect{0, 0, frame.Width(), frame.Height()};
  if (shaded) frame = Rect{frame.left, frame.top, frame.left + shadeSize.width, frame.top + shadeSize.height};
  return frame;
}

Rect NormalRectAtCorner(const Rect& normal, Point corner) {
  auto at = [](int32_t start, int32_t from, int32_t to) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t(start) + (int64_t(to) - from), INT32_MIN, INT32_MAX));
  };
  return Rect{corner.x, corner.y, at(corner.x, normal.left, normal.right), at(corner.y, normal.top, normal.bottom)};
}

FrameHit HitTestFrame(const SkinElements& e, Point offset, Size window, bool maximised, bool shaded) {
  const int32_t dx = offset.x, dy = offset.y, w = window.width, h = window.height;
  if (!Rect{0, 0, w, h}.Contains(offset)) return FrameHit::kNowhere;
  if (shaded) return FrameHit::kCaption;
  if (e.CloseBox(w).Contains(offset)) return FrameHit::kClose;
  if (dy < e.Height(kCaptionMiddle)) return FrameHit::kCaption;
  if (maximised) return FrameHit::kClient;
  const bool aboveCorners = dy < h - kCornerSize;
  if (dx < e.Width(kLowerLeft) && aboveCorners) return FrameHit::kLeft;
  if (dx >= w - e.Width(kLowerRight) && aboveCorners) return FrameHit::kRight;
  if (dx < kCornerSize && !aboveCorners) return FrameHit::kBottomLeft;
  if (dx >= w - kCornerSize && !aboveCorners) return FrameHit::kBottomRight;
  if (dx >= kCornerSize && dx < w - kBottomEdgeEnd && dy >= h - e.Height(kBottomTile)) return FrameHit::kBottom;
  return FrameHit::kClient;
}
