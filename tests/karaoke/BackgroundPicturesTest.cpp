// Background pictures: JPEG and BMP decoding, loading on a budget, and the outline
// drawn around the lyrics' text.
#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "TestBitmaps.h"
#include "TestText.h"
#include "karaoke/core/BackgroundImage.h"
#include "karaoke/core/OutlineDilation.h"
#include "karaoke/core/PictureDecoder.h"

namespace {

// A 16 × 24 JPEG of one colour, made with libjpeg's own compressor.
std::vector<uint8_t> MakeJpeg(J_COLOR_SPACE space, std::vector<uint8_t> pixel, bool progressive = false) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;  // the test's own files are sound: the default handler stays
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = 16, info.image_height = 24;
  info.input_components = int(pixel.size()), info.in_color_space = space;
  jpeg_set_defaults(&info);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row;
  for (int x = 0; x < 16; ++x) row.insert(row.end(), pixel.begin(), pixel.end());
  for (JSAMPROW line = row.data(); info.next_scanline < 24;) jpeg_write_scanlines(&info, &line, 1);
  jpeg_finish_compress(&info);
  std::vector<uint8_t> file(out, out + size);
  jpeg_destroy_compress(&info), free(out);
  return file;
}

// Where the frame header starts: its marker, the length, the precision, then the
// height and width (big-endian).
size_t FrameHeader(const std::vector<uint8_t>& file) {
  size_t i = 0;
  while (!(file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2))) ++i;
  return i;
}

std::vector<uint8_t> WithSize(std::vector<uint8_t> file, uint16_t width, uint16_t height) {
  const uint8_t size[] = {uint8_t(height >> 8), uint8_t(height), uint8_t(width >> 8), uint8_t(width)};
  std::copy(size, size + 4, file.begin() + FrameHeader(file) + 5);
  return file;
}

bool IsRed(uint32_t pixel) { return (pixel >> 16 & 0xFF) > 230 && (pixel >> 8 & 0xFF) < 25 && (pixel & 0xFF) < 25; }

// Sizes no screen shows and colour spaces the screen cannot draw are refused before
// any row is decoded; so are headers libjpeg gives up on, without ending the process
// (other broken files are left to fuzz_jpeg).
TEST(JpegDecoder, RefusesCmykAndPictureSizesOutsideTheCaps) {
  const std::vector<uint8_t> good = MakeJpeg(JCS_RGB, {250, 0, 0});
  std::vector<uint8_t> badPrecision = good;
  badPrecision[FrameHeader(good) + 4] = 7;
  const struct { const char* what; std::vector<uint8_t> file; } kCases[] = {
      {"CMYK", MakeJpeg(JCS_CMYK, {0, 255, 255, 0})}, {"too wide", WithSize(good, 9000, 24)},
      {"too many pixels", WithSize(good, 8000, 8000)}, {"no width", WithSize(good, 0, 24)},
      {"cut before the frame", std::vector<uint8_t>(good.begin(), good.begin() + FrameHeader(good))},
      {"7-bit samples", badPrecision},
  };
  for (const auto& c : kCases)
    EXPECT_FALSE(JpegDecoder().Begin(c.file)) << c.what;
}

TEST(BmpDecoder, RowsBottomUpIntoTopDownPixelsAndBrokenHeadersRefused) {
  std::vector<uint8_t> file = SolidBmp(3, 2, 0x0000FF);  // red as 0x00BBGGRR
  file[54] = 0xFF, file[55] = 0, file[56] = 0;         // the bottom row's first pixel blue
  PixelImage image;
  ASSERT_TRUE(DecodeBmp(file.data(), file.size(), image));
  EXPECT_EQ(std::make_tuple(image.At(0, 0), image.At(0, 1), image.At(2, 1)),
            std::make_tuple(0xFF0000u, 0xFFu, 0xFF0000u));
  const std::vector<uint8_t> kBroken[] = {
      WithField(file, 18, 0),           // no width
      WithField(file, 22, 3),           // more rows than the file holds
      WithField(file, 18, 0x7FFFFFFF),  // a width no file holds
  };
  for (const auto& broken : kBroken) EXPECT_FALSE(DecodeBmp(broken.data(), broken.size(), image));
  EXPECT_TRUE(image.pixels.empty());
}

TEST(BackgroundImage, JpegRowsFollowTheBudgetBmpIsReadWholeAtTheEnd) {
  TempDir dir;
  BackgroundImage image;
  for (bool progressive : {false, true}) {
    const std::vector<uint8_t> jpeg = MakeJpeg(JCS_RGB, {250, 0, 0}, progressive);
    WriteFileBytes(dir.Path() / "a.JPG", std::string(jpeg.begin(), jpeg.end()));
    ASSERT_TRUE(image.Start(PlatformFileSystem(), dir.Wide("a.JPG")) && image.Advance(500));
    EXPECT_FALSE(image.IsLoaded()) << progressive;  // 12 of 24 rows
    // A frame's row cap holds the decoding back however far the budget went.
    EXPECT_TRUE(image.Advance(1000, 5) && image.LastRows() == 5 && !image.IsLoaded()) << progressive;
    EXPECT_TRUE(image.Advance(1000) && image.IsLoaded() && IsRed(image.Image().At(15, 23))) << progressive;
  }
  const std::vector<uint8_t> bmp = SolidBmp(4, 4, 0xFF);
  WriteFileBytes(dir.Path() / "b.bmp", std::string(bmp.begin(), bmp.end()));
  ASSERT_TRUE(image.Start(PlatformFileSystem(), dir.Wide("b.bmp")) && image.Advance(999));
  std::filesystem::remove(dir.Path() / "b.bmp");  // nothing was read yet
  EXPECT_FALSE(image.Advance(1000) || image.IsLoaded());
  EXPECT_FALSE(image.Start(PlatformFileSystem(), dir.Wide("c.gif")));
}


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
  shortBuffer.size -= 1, narrowPitch.pitch = 8;
  EXPECT_FALSE(DilateOutline(shortBuffer, {0, 0, 3, 2}, 1, kColours) || DilateOutline(narrowPitch, {0, 0, 3, 2}, 1, kColours));
  EXPECT_FALSE(DilateOutline(surface.p, {0, 0, 3, 2}, 1, {kColours.text, kColours.edge, kColours.text, 0xFFFFFF}));
  EXPECT_EQ(surface.Bytes(), before);
}

}  // namespace
