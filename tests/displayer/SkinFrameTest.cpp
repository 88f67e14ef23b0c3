#include "displayer/core/SkinFrame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

constexpr Size kBuiltInBitmap{277, 68};

bool Inside(const Rect& inner, const Rect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// Every pixel of the frame outside the client area is drawn by some piece.
void ExpectBorderCovered(const SkinElements& elements, Size window) {
  std::vector<char> drawn(static_cast<size_t>(window.width) * window.height, 0);
  for (const SkinBlit& blit : ComposeBorder(elements, window, kBuiltInBitmap))
    for (int32_t y = 0; y < blit.source.Height(); ++y)
      for (int32_t x = 0; x < blit.source.Width(); ++x) {
        const int32_t px = blit.target.x + x, py = blit.target.y + y;
        if (px >= 0 && py >= 0 && px < window.width && py < window.height) drawn[py * window.width + px] = 1;
      }
  const Rect insets = elements.Insets();
  const Rect client{insets.left, insets.top, window.width - insets.right, window.height - insets.bottom};
  int missing = 0;
  for (int32_t y = 0; y < window.height; ++y)
    for (int32_t x = 0; x < window.width; ++x)
      if (!client.Contains(Point{x, y}) && !drawn[y * window.width + x]) ++missing;
  EXPECT_EQ(missing, 0) << window.width << " x " << window.height;
}

TEST(BorderTiling, CoversTheWholeBorderAtEverySize) {
  SkinElements elements;
  for (Size window : {Size{640, 116}, Size{275, 32}, Size{276, 33}, Size{301, 77}, Size{1024, 500}})
    ExpectBorderCovered(elements, window);
  elements.SetActive(true);
  ExpectBorderCovered(elements, Size{333, 99});
}

// Whether a 640 x 116 frame draws this piece of the bitmap there.
bool Draws(Size bitmap, Rect source, Point target) {
  const std::vector<SkinBlit> blits = ComposeBorder(SkinElements(), Size{640, 116}, bitmap);
  return std::any_of(blits.begin(), blits.end(), [&](const SkinBlit& b) {
    return b.source == source && b.target.x == target.x && b.target.y == target.y;
  });
}

TEST(BorderTiling, PartialPiecesKeepTheirPlaceInTheFrame) {
  // Left edge: 116 - 13 - 5 - 33 = 65 rows, three 19-row tiles and the top 8 rows of a fourth.
  EXPECT_TRUE(Draws(kBuiltInBitmap, Rect{229, 0, 234, 8}, Point{0, 13 + 57}));
  // Element 13 (0, 28, 5, 61) in a bitmap 40 rows high: its rows 28..40, where they would have been.
  EXPECT_TRUE(Draws(Size{277, 40}, Rect{0, 28, 5, 40}, Point{0, 116 - 5 - 33}));
}

TEST(BorderTiling, NeverReadsOutsideASmallSkinBitmap) {
  const Size bitmap{230, 30};
  int pieces = 0;
  for (Size window : {Size{640, 116}, Size{275, 32}, Size{10, 10}, Size{0, 0}})
    for (const SkinBlit& blit : ComposeBorder(SkinElements(), window, bitmap)) {
      EXPECT_TRUE(Inside(blit.source, Rect{0, 0, bitmap.width, bitmap.height}));
      EXPECT_GT(blit.source.Width(), 0);
      EXPECT_GT(blit.source.Height(), 0);
      ++pieces;
    }
  EXPECT_GT(pieces, 0);
  EXPECT_TRUE(ComposeBorder(SkinElements(), Size{640, 116}, Size{0, 0}).empty());
}

TEST(FrameHitTestTest, RegionsOfANormalAMaximisedAndAFoldedFrame) {
  const SkinElements elements;
  EXPECT_EQ(elements.CloseBox(640), (Rect{629, 3, 638, 12}));  // 11 pixels from the right
  const Size normal{640, 116}, bar{275, 16};
  const struct {
    Point at;
    Size window;
    bool maximised, folded;
    FrameHit hit;
  } cases[] = {
      {{630, 5}, normal, false, false, FrameHit::kClose},       {{628, 5}, normal, false, false, FrameHit::kCaption},
      {{0, 0}, normal, false, false, FrameHit::kCaption},       // no top edge
      {{2, 50}, normal, false, false, FrameHit::kLeft},         {{638, 50}, normal, false, false, FrameHit::kRight},
      {{5, 110}, normal, false, false, FrameHit::kBottomLeft},  {{635, 110}, normal, false, false, FrameHit::kBottomRight},
      {{300, 113}, normal, false, false, FrameHit::kBottom},
      {{624, 113}, normal, false, false, FrameHit::kClient},    // the gap before the right corner
      {{300, 50}, normal, false, false, FrameHit::kClient},     {{-1, 50}, normal, false, false, FrameHit::kNowhere},
      {{300, 116}, normal, false, false, FrameHit::kNowhere},
      // Maximised: no edges. Folded: the bar is all caption.
      {{2, 50}, normal, true, false, FrameHit::kClient},        {{630, 5}, normal, true, false, FrameHit::kClose},
      {{630, 5}, bar, false, true, FrameHit::kNowhere},         {{270, 5}, bar, false, true, FrameHit::kCaption},
  };
  for (const auto& c : cases)
    EXPECT_EQ(HitTestFrame(elements, c.at, c.window, c.maximised, c.folded), c.hit) << c.at.x << "," << c.at.y;
}

TEST(FrameRects, ClientAreaInsideTheBorderOrTheBar) {
  const SkinElements elements;
  EXPECT_EQ(FrameClientRect(elements, Size{640, 116}, false), (Rect{5, 13, 635, 111}));
  EXPECT_EQ(FrameClientRect(elements, Size{275, 16}, true), (Rect{1, 1, 274, 15}));
  EXPECT_EQ(FrameClientRect(elements, Size{4, 4}, false), (Rect{5, 13, 5, 13}));  // never inverted
}

TEST(FrameRects, SavedRectangleIsCheckedBeforeOpening) {
  const Rect work{0, 0, 1920, 1040};
  EXPECT_EQ(InitialFrameRect(Rect{100, 200, 740, 316}, work, false, Size{275, 16}), (Rect{100, 200, 740, 316}));
  EXPECT_EQ(InitialFrameRect(Rect{3000, 50, 3640, 166}, work, false, Size{}), (Rect{0, 0, 640, 116}));
  EXPECT_EQ(InitialFrameRect(Rect{100, 200, 740, 316}, work, true, Size{275, 16}), (Rect{100, 200, 375, 216}));
  // Zero, negative and wrapping sizes are as good as no saved rectangle.
  for (Rect bad : {Rect{100, 100, 100, 300}, Rect{500, 100, 200, 300}, Rect{INT32_MIN, 0, INT32_MAX, 10}})
    EXPECT_EQ(InitialFrameRect(bad, work, false, Size{}), kDefaultFrameRect);
  // Leaving the bar: the normal frame at the bar's corner, cut at the largest coordinate.
  EXPECT_EQ(NormalRectAtCorner(Rect{0, 0, 640, 116}, Point{520, 800}), (Rect{520, 800, 1160, 916}));
  EXPECT_EQ(NormalRectAtCorner(Rect{-2000000000, 0, 147000000, 116}, Point{600000, -10}),
            (Rect{600000, -10, INT32_MAX, 106}));
}

}  // namespace
