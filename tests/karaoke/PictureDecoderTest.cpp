#include "karaoke/core/PictureDecoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>

#include <tuple>

#include "TestBitmaps.h"
#include "TestText.h"
#include "karaoke/core/BackgroundImage.h"

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

// The file with the frame header's height and width (big-endian, after the marker,
// the length and the precision) replaced.
std::vector<uint8_t> WithSize(std::vector<uint8_t> file, uint16_t width, uint16_t height) {
  size_t i = 0;
  while (!(file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2))) ++i;
  const uint8_t size[] = {uint8_t(height >> 8), uint8_t(height), uint8_t(width >> 8), uint8_t(width)};
  std::copy(size, size + 4, file.begin() + i + 5);
  return file;
}

bool IsRed(uint32_t pixel) { return (pixel >> 16 & 0xFF) > 230 && (pixel >> 8 & 0xFF) < 25 && (pixel & 0xFF) < 25; }

TEST(JpegDecoder, DecodesAtMostTheScanlinesAskedFor) {
  for (bool progressive : {false, true}) {
    JpegDecoder decoder;
    ASSERT_TRUE(decoder.Begin(MakeJpeg(JCS_RGB, {250, 0, 0}, progressive)));
    EXPECT_TRUE(decoder.DecodeRows(5) && decoder.RowsDecoded() == 5 && !decoder.IsComplete());
    EXPECT_TRUE(decoder.DecodeUpTo(1000));
    ASSERT_TRUE(decoder.IsComplete());
    EXPECT_TRUE(IsRed(decoder.Image().At(0, 0)) && IsRed(decoder.Image().At(15, 23)));
  }
}

TEST(JpegDecoder, RefusesOrSurvivesBrokenFilesWithoutEndingTheProcess) {
  const std::vector<uint8_t> good = MakeJpeg(JCS_RGB, {250, 0, 0});
  size_t rows = 0;  // two bytes into the coded rows: past the scan header
  while (!(good[rows] == 0xFF && good[rows + 1] == 0xDA)) ++rows;
  rows += 16;
  std::vector<uint8_t> garbled = good;
  for (size_t i = rows; i < good.size() - 2; ++i) garbled[i] = uint8_t(i * 37);
  const struct { const char* what; std::vector<uint8_t> file; bool begins; } kCases[] = {
      {"empty", {}, false},
      {"not a JPEG", std::vector<uint8_t>(200, 0x41), false},
      {"headers cut", {good.begin(), good.begin() + 40}, false},
      {"CMYK", MakeJpeg(JCS_CMYK, {0, 255, 255, 0}), false},
      {"too wide", WithSize(good, 9000, 24), false},
      {"too many pixels", WithSize(good, 8000, 8000), false},
      {"no width", WithSize(good, 0, 24), false},
      {"rows cut", {good.begin(), good.begin() + rows}, true},
      {"rows garbled", garbled, true},
  };
  for (const auto& c : kCases) {
    JpegDecoder decoder;
    EXPECT_EQ(decoder.Begin(c.file), c.begins) << c.what;
    decoder.DecodeUpTo(1000);
    // Either a whole picture or none: never a partial one that claims to be done.
    EXPECT_TRUE(decoder.Failed() ? decoder.Image().pixels.empty() : decoder.IsComplete()) << c.what;
  }
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
      WithField(file, 22, 0),           // no height
      WithField(file, 22, 3),           // more rows than the file holds
      WithField(file, 18, 0x7FFFFFFF),  // a width no file holds
      {file.begin(), file.end() - 1},
  };
  for (const auto& broken : kBroken) EXPECT_FALSE(DecodeBmp(broken.data(), broken.size(), image));
  EXPECT_TRUE(image.pixels.empty());
}

TEST(BackgroundImage, JpegRowsFollowTheBudgetBmpIsReadWholeAtTheEnd) {
  TempDir dir;
  const std::vector<uint8_t> jpeg = MakeJpeg(JCS_RGB, {250, 0, 0}), bmp = SolidBmp(4, 4, 0xFF);
  WriteFileBytes(dir.Path() / "a.JPG", std::string(jpeg.begin(), jpeg.end()));
  WriteFileBytes(dir.Path() / "b.bmp", std::string(bmp.begin(), bmp.end()));
  BackgroundImage image;
  ASSERT_TRUE(image.Start(PlatformFileSystem(), dir.Wide("a.JPG")) && image.Advance(500));
  EXPECT_FALSE(image.IsLoaded());  // 12 of 24 rows
  EXPECT_TRUE(image.Advance(1000) && image.IsLoaded() && IsRed(image.Image().At(15, 23)));
  ASSERT_TRUE(image.Start(PlatformFileSystem(), dir.Wide("b.bmp")) && image.Advance(999));
  std::filesystem::remove(dir.Path() / "b.bmp");  // nothing was read yet
  EXPECT_FALSE(image.Advance(1000) || image.IsLoaded());
  EXPECT_FALSE(image.Start(PlatformFileSystem(), dir.Wide("c.gif")));
}

}  // namespace
