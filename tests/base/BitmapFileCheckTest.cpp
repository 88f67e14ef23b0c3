#include "base/BitmapFileCheck.h"

#include <gtest/gtest.h>

#include "TestBitmaps.h"

namespace {

constexpr uint32_t kRle8 = 1;  // BI_RLE8

bool Usable(const std::vector<uint8_t>& file) { return IsUsableBitmapFile(file.data(), file.size()); }

TEST(BitmapFileCheck, RejectsFilesWhosePartsLieOutside) {
  const std::vector<uint8_t> good = SolidBmp(30, 8, 0x030201);
  EXPECT_TRUE(Usable(good));
  EXPECT_EQ(BitmapPixelOffset(good.data()), 54u);
  auto broken = [&](size_t at, uint32_t value) { return Usable(WithField(good, at, value)); };
  EXPECT_FALSE(IsUsableBitmapFile(good.data(), good.size() - 1));  // last row cut
  EXPECT_FALSE(IsUsableBitmapFile(good.data(), 40));
  EXPECT_FALSE(IsUsableBitmapFile(nullptr, 0));
  EXPECT_FALSE(broken(0, 0x4D42 ^ 0x0101));         // not "BM"
  EXPECT_FALSE(broken(10, uint32_t(good.size())));  // pixels start at the end
  EXPECT_FALSE(broken(10, 0xFFFFFFFF));             // pixels start far past the end
  EXPECT_FALSE(broken(10, 58));                     // pixels shifted: last row runs over
  EXPECT_FALSE(broken(10, 20));                     // pixels inside the header
  EXPECT_FALSE(broken(14, 0x7FFFFFF0));             // header larger than the file
  EXPECT_FALSE(broken(14, 12));                     // too small for an info header
  EXPECT_FALSE(broken(18, 0x40000000));             // rows wider than the file
  EXPECT_FALSE(broken(18, 31));                     // one pixel wider: a longer stride
  EXPECT_FALSE(broken(22, 9));                      // one row more than the file holds
  EXPECT_FALSE(broken(22, 0x7FFFFFFF));             // rows × stride far past 32 bits
  EXPECT_FALSE(broken(22, 0x80000000));             // height that has no magnitude
  EXPECT_FALSE(broken(30, kRle8));                  // rows without a size to check
  EXPECT_FALSE(broken(46, 257));                    // more colours than a table holds
  EXPECT_FALSE(broken(46, 200));                    // colour table past the end
  EXPECT_TRUE(broken(22, uint32_t(-8)));            // top-down rows are fine
  EXPECT_FALSE(broken(22, uint32_t(-9)));

  std::vector<uint8_t> paletted = good;
  paletted[28] = 8;  // 256 colours of 1024 bytes would overlap the pixels' end
  EXPECT_FALSE(Usable(paletted));
}

TEST(BitmapFileCheck, RefusesFilesOverTheSizeLimitWhateverTheyHold) {
  // 3 bytes a pixel, 4-byte rows: 54 + 4 × rows bytes.
  const int rows = int((kMaxBitmapFileBytes - 54) / 4);
  EXPECT_TRUE(Usable(SolidBmp(1, rows, 0)));
  EXPECT_FALSE(Usable(SolidBmp(1, rows + 1, 0)));
  const std::vector<uint8_t> large = SolidBmp(1, rows + 1, 0);
  EXPECT_TRUE(IsUsableBitmapFile(large.data(), large.size(), large.size()));
  EXPECT_FALSE(IsUsableBitmapFile(large.data(), large.size(), large.size() - 1));
}

}  // namespace
