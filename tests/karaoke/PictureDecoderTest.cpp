#include "karaoke/core/PictureDecoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>

#include "TestBitmaps.h"

namespace {

// A JPEG of one colour, made with libjpeg's own compressor.
std::vector<uint8_t> MakeJpeg(int width, int height, J_COLOR_SPACE space, int components,
                              std::vector<uint8_t> pixel, bool progressive = false) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = components;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row;
  for (int x = 0; x < width; ++x) row.insert(row.end(), pixel.begin(), pixel.end());
  for (int y = 0; y < height; ++y) {
    JSAMPROW line = row.data();
    jpeg_write_scanlines(&info, &line, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> file(out, out + size);
  jpeg_destroy_compress(&info);
  free(out);
  return file;
}

std::vector<uint8_t> RedJpeg(bool progressive = false) { return MakeJpeg(16, 24, JCS_RGB, 3, {250, 0, 0}, progressive); }

// Where the entropy-coded rows begin: after the start-of-scan marker.
size_t ScanStart(const std::vector<uint8_t>& file) {
  for (size_t i = 0; i + 1 < file.size(); ++i)
    if (file[i] == 0xFF && file[i + 1] == 0xDA) return i + 2;
  return file.size();
}

// SOF's height and width (big-endian) after its marker, length and precision.
std::vector<uint8_t> WithSize(std::vector<uint8_t> file, uint16_t width, uint16_t height) {
  for (size_t i = 0; i + 9 < file.size(); ++i)
    if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2)) {
      file[i + 5] = uint8_t(height >> 8), file[i + 6] = uint8_t(height);
      file[i + 7] = uint8_t(width >> 8), file[i + 8] = uint8_t(width);
      break;
    }
  return file;
}

bool IsRed(uint32_t pixel) { return (pixel >> 16 & 0xFF) > 230 && (pixel >> 8 & 0xFF) < 25 && (pixel & 0xFF) < 25; }

TEST(JpegDecoder, DecodesAtMostTheScanlinesAskedFor) {
  for (bool progressive : {false, true}) {
    JpegDecoder decoder;
    ASSERT_TRUE(decoder.Begin(RedJpeg(progressive)));
    EXPECT_TRUE(decoder.DecodeRows(5));
    EXPECT_EQ(decoder.RowsDecoded(), 5);
    EXPECT_FALSE(decoder.IsComplete());
    EXPECT_TRUE(decoder.DecodeUpTo(1000));
    ASSERT_TRUE(decoder.IsComplete());
    EXPECT_EQ(decoder.Image().width, 16);
    EXPECT_TRUE(IsRed(decoder.Image().At(0, 0)));
    EXPECT_TRUE(IsRed(decoder.Image().At(15, 23)));
  }
  JpegDecoder grey;
  ASSERT_TRUE(grey.Begin(MakeJpeg(8, 8, JCS_GRAYSCALE, 1, {128})));
  ASSERT_TRUE(grey.DecodeUpTo(8));
  EXPECT_EQ(grey.Image().At(3, 3) & 0xFFFFFF, 0x808080u);
}

TEST(JpegDecoder, RefusesOrSurvivesBrokenFilesWithoutEndingTheProcess) {
  const std::vector<uint8_t> good = RedJpeg();
  const size_t rows = ScanStart(good) + 14;  // past the scan header
  std::vector<uint8_t> garbled = good;
  for (size_t i = rows; i < good.size() - 2; ++i) garbled[i] = uint8_t(i * 37);
  const struct {
    const char* what;
    std::vector<uint8_t> file;
    bool begins;
  } kCases[] = {
      {"empty", {}, false},
      {"not a JPEG", std::vector<uint8_t>(200, 0x41), false},
      {"headers cut", {good.begin(), good.begin() + 40}, false},
      {"CMYK", MakeJpeg(8, 8, JCS_CMYK, 4, {0, 255, 255, 0}), false},
      {"too wide", WithSize(good, 9000, 24), false},
      {"too many pixels", WithSize(good, 8000, 8000), false},
      {"no width", WithSize(good, 0, 24), false},
      {"rows cut", {good.begin(), good.begin() + rows + 2}, true},
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
  EXPECT_EQ(image.At(0, 0), 0xFF0000u);
  EXPECT_EQ(image.At(0, 1), 0x0000FFu);
  EXPECT_EQ(image.At(2, 1), 0xFF0000u);
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

}  // namespace
