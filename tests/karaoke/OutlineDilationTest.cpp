#include "karaoke/core/OutlineDilation.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Pictures as rows of characters: 'T' text, 'E' edge, '.' fill. The high byte lies
// outside the colour mask of 32-bit pixels and must survive an edge written over it.
uint32_t ValueOf(char c) { return (c == 'T' ? 0x00A1B2C3 : c == 'E' ? 0x00102030 : 0x00FEDCBA) | 0xAB000000; }
const OutlineColours kColours = {0xA1B2C3, 0x102030, 0xFEDCBA, 0x00FFFFFF};

// Exactly the bytes of the rows: the last row ends the heap block, without padding,
// so a read or write past its last pixel is caught by the address sanitizer.
struct Surface {
  Surface(const std::vector<std::string>& rows, int bytes, int32_t padding) {
    p = {nullptr, 0, int32_t(rows[0].size()), int32_t(rows.size()), int32_t(rows[0].size()) * bytes + padding, bytes};
    p.size = size_t(p.pitch) * (p.height - 1) + size_t(p.width) * bytes;
    bits.reset(new uint8_t[p.size]());  // padding zeroed, so pictures compare whole
    p.bits = bits.get();
    for (int32_t y = 0; y < p.height; ++y)
      for (int32_t x = 0; x < p.width; ++x)
        for (int i = 0; i < bytes; ++i) bits[y * p.pitch + x * bytes + i] = uint8_t(ValueOf(rows[y][x]) >> (8 * i));
  }
  std::vector<uint8_t> Bytes() const { return {p.bits, p.bits + p.size}; }
  PixelBytes p;
  std::unique_ptr<uint8_t[]> bits;
};

TEST(OutlineDilation, SquareAroundEveryTextPixelAtEachPixelSize) {
  const std::vector<std::string> text = {"........", "..T.....", "........", "........", "......TT"};
  const std::vector<std::string> edgeOne = {".EEE....", ".ETE....", ".EEE....", ".....EEE", ".....ETT"};
  // Edge 2 inside columns 1..6 and rows 0..3 only.
  const std::vector<std::string> edgeTwoInArea = {".EEEE...", ".ETEE...", ".EEEE...", ".EEEE...", "......TT"};
  for (int bytes : {2, 3, 4})
    for (int32_t padding : {0, 3}) {
      Surface whole(text, bytes, padding), part(text, bytes, padding);
      ASSERT_TRUE(DilateOutline(whole.p, {0, 0, 8, 5}, 1, kColours));
      EXPECT_EQ(whole.Bytes(), Surface(edgeOne, bytes, padding).Bytes()) << bytes << " bytes";
      ASSERT_TRUE(DilateOutline(part.p, {1, 0, 7, 4}, 2, kColours));
      EXPECT_EQ(part.Bytes(), Surface(edgeTwoInArea, bytes, padding).Bytes()) << bytes << " bytes";
    }
}

TEST(OutlineDilation, RefusesBuffersThatDoNotHoldTheirRows) {
  Surface surface({"T..", "..."}, 3, 1);
  const std::vector<uint8_t> before = surface.Bytes();
  PixelBytes shortBuffer = surface.p, narrowPitch = surface.p;
  shortBuffer.size -= 1;
  narrowPitch.pitch = 8;
  EXPECT_FALSE(DilateOutline(shortBuffer, {0, 0, 3, 2}, 1, kColours));
  EXPECT_FALSE(DilateOutline(narrowPitch, {0, 0, 3, 2}, 1, kColours));
  EXPECT_FALSE(DilateOutline(surface.p, {0, 0, 3, 2}, 1, {kColours.text, kColours.edge, kColours.text, 0xFFFFFF}));
  EXPECT_EQ(surface.Bytes(), before);
}

}  // namespace
