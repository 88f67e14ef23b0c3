#pragma once
// Background pictures decoded into plain 32-bit pixels. Pictures come from anyone's
// folders, so every size is checked before anything is allocated, and a broken file
// answers "no picture" instead of ending the player's process. JPEG decodes a few
// scanlines at a time, so a picture can be spread over the frames before its turn.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Top-down rows of 0x00RRGGBB pixels: in memory B, G, R, 0, like a 32-bit DIB.
struct PixelImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;  // width × height
  uint32_t At(int32_t x, int32_t y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// No background needs more: 8192 a side and 32 megapixels (128 MiB of pixels).
constexpr int32_t kMaxPictureSide = 8192;
constexpr int64_t kMaxPicturePixels = int64_t(32) << 20;
// A file larger than this is not read at all.
constexpr size_t kMaxPictureFileBytes = size_t(64) << 20;

// Width and height within the caps above; 0 is no picture.
bool IsPictureSizeAllowed(int64_t width, int64_t height);

// A whole BMP file with uncompressed rows at 1, 4, 8, 16, 24 or 32 bits.
bool DecodeBmp(const uint8_t* data, size_t size, PixelImage& out);

// Decodes one JPEG file held in memory (the decoder keeps the bytes). CMYK and YCCK
// pictures are refused: they need a colour conversion the screen does not make.
class JpegDecoder {
 public:
  JpegDecoder();
  ~JpegDecoder();
  JpegDecoder(const JpegDecoder&) = delete;
  JpegDecoder& operator=(const JpegDecoder&) = delete;

  // Reads the headers and allocates the picture; false for a file that cannot be
  // decoded. Nothing is decoded yet.
  bool Begin(std::vector<uint8_t> bytes);
  // Decodes at most `rows` scanlines now; false once the file turned out broken.
  bool DecodeRows(int32_t rows);
  // Decodes until `target` scanlines are done in all (capped at the height).
  bool DecodeUpTo(int32_t target);

  bool Failed() const { return failed_; }
  bool IsComplete() const { return !failed_ && image_.height > 0 && decoded_ == image_.height; }
  int32_t RowsDecoded() const { return decoded_; }
  const PixelImage& Image() const { return image_; }
  PixelImage TakeImage() { return std::move(image_); }

 private:
  struct State;
  void Fail();

  std::unique_ptr<State> state_;
  std::vector<uint8_t> bytes_;
  PixelImage image_;
  int32_t decoded_ = 0;
  bool started_ = false;
  bool finished_ = false;
  bool failed_ = false;
};
