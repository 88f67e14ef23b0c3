#include "karaoke/core/OutlineDilation.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Pictures as rows of characters: 'T' text, 'E' edge, '.' fill.
const uint32_t kText = 0x00A1B2C3, kEdge = 0x00102030, kFill = 0x00FEDCBA;
// Bits outside the colour mask that must survive an edge written over them.
const uint32_t kSpare = 0xAB000000;

uint32_t ValueOf(char c) { return c == 'T' ? kText : c == 'E' ? kEdge : kFill; }

// Exactly the bytes of the rows: the last row ends the heap block, without padding,
// so any read or write past its last pixel is caught by the address sanitizer.
struct Surface {
  Surface(const std::vector<std::string>& rows, int bytes, int padding)
      : width(int32_t(rows[0].size())), height(int32_t(rows.size())), bytes(bytes), pitch(width * bytes + padding) {
    size = size_t(pitch) * (height - 1) + size_t(width) * bytes;
    bits.reset(new uint8_t[size]);
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x)
        for (int i = 0; i < bytes; ++i) bits[y * pitch + x * bytes + i] = uint8_t((ValueOf(rows[y][x]) | kSpare) >> (8 * i));
  }
  std::vector<std::string> Picture() const {
    std::vector<std::string> rows(height, std::string(width, '?'));
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) {
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) value |= uint32_t(bits[y * pitch + x * bytes + i]) << (8 * i);
        const uint32_t all = bytes == 4 ? 0xFFFFFFFF : (1u << (8 * bytes)) - 1;
        for (char c : {'T', 'E', '.'})
          if (value == ((ValueOf(c) | kSpare) & all)) rows[y][x] = c;
      }
    return rows;
  }
  PixelBytes Bytes() const { return {bits.get(), size, width, height, pitch, bytes}; }
  int32_t width, height;
  int bytes;
  int32_t pitch;
  size_t size = 0;
  std::unique_ptr<uint8_t[]> bits;
};

TEST(OutlineDilation, SquareAroundEveryTextPixelAtEachPixelSize) {
  const std::vector<std::string> before = {
      "........",
      "..T.....",
      "........",
      "........",
      "......TT",
  };
  const std::vector<std::string> edgeOne = {
      ".EEE....",
      ".ETE....",
      ".EEE....",
      ".....EEE",
      ".....ETT",
  };
  const std::vector<std::string> edgeTwoInArea = {  // only columns 1..6, rows 0..3
      ".EEEE...",
      ".ETEE...",
      ".EEEE...",
      ".EEEE...",
      "......TT",
  };
  for (int bytes : {2, 3, 4})
    for (int padding : {0, 3}) {
      const uint32_t mask = bytes == 4 ? 0x00FFFFFF : 0xFFFFFFFF;
      Surface whole(before, bytes, padding);
      ASSERT_TRUE(DilateOutline(whole.Bytes(), {0, 0, 8, 5}, 1, {kText, kEdge, kFill, mask}));
      EXPECT_EQ(whole.Picture(), edgeOne) << bytes << " bytes";
      Surface part(before, bytes, padding);
      ASSERT_TRUE(DilateOutline(part.Bytes(), {1, 0, 7, 4}, 2, {kText, kEdge, kFill, mask}));
      EXPECT_EQ(part.Picture(), edgeTwoInArea) << bytes << " bytes";
    }
}

TEST(OutlineDilation, RefusesBuffersThatDoNotHoldTheirRows) {
  Surface surface({"T..", "..."}, 3, 1);
  PixelBytes bytes = surface.Bytes();
  bytes.size -= 1;
  EXPECT_FALSE(DilateOutline(bytes, {0, 0, 3, 2}, 1, {kText, kEdge, kFill, 0xFFFFFF}));
  bytes = surface.Bytes();
  bytes.pitch = 8;  // narrower than a row
  EXPECT_FALSE(DilateOutline(bytes, {0, 0, 3, 2}, 1, {kText, kEdge, kFill, 0xFFFFFF}));
  EXPECT_FALSE(DilateOutline(surface.Bytes(), {0, 0, 3, 2}, 1, {kText, kEdge, kText, 0xFFFFFF}));
  EXPECT_EQ(surface.Picture(), (std::vector<std::string>{"T..", "..."}));
}

}  // namespace
