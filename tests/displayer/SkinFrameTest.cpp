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

TEST(BorderTiling, LastTileIsTheTopLeftPartOfTheElement) {
  const std::vector<SkinBlit> blits = ComposeBorder(SkinElements(), Size{640, 116}, kBuiltInBitmap);
  // Left edge: 116 - 13 - 5 - 33 = 65 rows = three 19-row tiles and 8 rows more.
  const auto partial = std::find_if(blits.begin(), blits.end(), [](const SkinBlit& b) {
    return b.source == Rect{229, 0, 234, 8} && b.target.x == 0 && b.target.y == 13 + 57;
  });
  EXPECT_NE(partial, blits.end());
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

TEST(BorderTiling, ACutPieceKeepsItsPlaceInTheFrame) {
  // Element 13 (0, 28, 5, 61) in a bitmap 40 rows high: only its rows 28..40, drawn
  // where they would have been.
  const std::vector<SkinBlit> blits = ComposeBorder(SkinElements(), Size{640, 116}, Size{277, 40});
  const auto lowerLeft = std::find_if(blits.begin(), blits.end(),
                                      [](const SkinBlit& b) { return b.source == Rect{0, 28, 5, 40}; });
  ASSERT_NE(lowerLeft, blits.end());
  EXPECT_EQ(lowerLeft->target.y, 116 - 5 - 33);
}

TEST(FrameHitTestTest, RegionsOfANormalFrame) {
  const SkinElements elements;
  const Size window{640, 116};
  auto hit = [&](int32_t x, int32_t y) { return HitTestFrame(elements, Point{x, y}, window, false, false); };
  EXPECT_EQ(elements.CloseBox(640), (Rect{629, 3, 638, 12}));  // 11 pixels from the right
  EXPECT_EQ(hit(630, 5), FrameHit::kClose);
  EXPECT_EQ(hit(628, 5), FrameHit::kCaption);
  EXPECT_EQ(hit(0, 0), FrameHit::kCaption);  // no top edge
  EXPECT_EQ(hit(2, 50), FrameHit::kLeft);
  EXPECT_EQ(hit(638, 50), FrameHit::kRight);
  EXPECT_EQ(hit(5, 110), FrameHit::kBottomLeft);
  EXPECT_EQ(hit(635, 110), FrameHit::kBottomRight);
  EXPECT_EQ(hit(300, 113), FrameHit::kBottom);
  EXPECT_EQ(hit(624, 113), FrameHit::kClient);  // the gap before the right corner
  EXPECT_EQ(hit(300, 50), FrameHit::kClient);
  EXPECT_EQ(hit(-1, 50), FrameHit::kNowhere);
  EXPECT_EQ(hit(300, 116), FrameHit::kNowhere);
}

TEST(FrameHitTestTest, MaximisedHasNoEdgesAndTheBarIsAllCaption) {
  const SkinElements elements;
  EXPECT_EQ(HitTestFrame(elements, Point{2, 50}, Size{640, 116}, true, false), FrameHit::kClient);
  EXPECT_EQ(HitTestFrame(elements, Point{630, 5}, Size{640, 116}, true, false), FrameHit::kClose);
  EXPECT_EQ(HitTestFrame(elements, Point{630, 5}, Size{275, 16}, false, true), FrameHit::kNowhere);
  EXPECT_EQ(HitTestFrame(elements, Point{270, 5}, Size{275, 16}, false, true), FrameHit::kCaption);
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
