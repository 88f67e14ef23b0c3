#include "karaoke/core/PictureDecoder.h"

// jpeglib.h needs FILE and size_t declared first.
#include <cstdio>
#include <csetjmp>
#include <jpeglib.h>

#include <algorithm>
#include <new>

#include "base/BitmapFileCheck.h"

#ifndef JCS_EXTENSIONS
#error "libjpeg-turbo's colour-space extensions are needed (JCS_EXT_BGRX)"
#endif

bool IsPictureSizeAllowed(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

namespace {

bool Allocate(PixelImage& image, int32_t width, int32_t height) {
  try {
    image.pixels.assign(size_t(width) * size_t(height), 0);
  } catch (const std::bad_alloc&) {
    image = PixelImage();
    return false;
  }
  image.width = width;
  image.height = height;
  return true;
}

// ---- BMP ----

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// One channel described by a bit mask, widened or narrowed to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;
  explicit Channel(uint32_t m) : mask(m) {
    if (!mask) return;
    while (!((mask >> shift) & 1)) ++shift;
    max = mask >> shift;
  }
  uint32_t Of(uint32_t value) const { return max ? uint32_t(uint64_t((value & mask) >> shift) * 255 / max) : 0; }
};

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, PixelImage& out) {
  out = PixelImage();
  if (!IsUsableBitmapFile(data, size, kMaxPictureFileBytes)) return false;
  const uint32_t headerSize = Le32(data + 14);
  const int32_t width = int32_t(Le32(data + 18));
  const int32_t rawHeight = int32_t(Le32(data + 22));
  const unsigned bits = Le16(data + 28);
  const bool bitFields = Le32(data + 30) == 3;
  const int64_t height = rawHeight < 0 ? -int64_t(rawHeight) : rawHeight;
  if (!IsPictureSizeAllowed(width, height)) return false;
  // Masks follow a 40-byte header and sit at the same place inside larger ones.
  if (bitFields && size < 14 + 40 + 12) return false;
  Channel red(bits == 16 ? 0x7C00 : 0xFF0000), green(bits == 16 ? 0x03E0 : 0xFF00), blue(bits == 16 ? 0x1F : 0xFF);
  if (bitFields) {
    red = Channel(Le32(data + 54));
    green = Channel(Le32(data + 58));
    blue = Channel(Le32(data + 62));
  }
  const uint8_t* table = data + 14 + headerSize + (bitFields && headerSize == 40 ? 12 : 0);
  const uint32_t used = Le32(data + 46);
  const uint32_t colours = bits <= 8 ? (used ? used : 1u << bits) : 0;
  if (!Allocate(out, width, int32_t(height))) return false;
  const size_t stride = (size_t(width) * bits + 31) / 32 * 4;
  const uint8_t* pixels = data + BitmapPixelOffset(data);
  for (int64_t y = 0; y < height; ++y) {
    // Rows are stored bottom-up unless the height is negative.
    const uint8_t* row = pixels + stride * size_t(rawHeight < 0 ? y : height - 1 - y);
    uint32_t* target = &out.pixels[size_t(y) * size_t(width)];
    for (int32_t x = 0; x < width; ++x) {
      uint32_t pixel = 0;
      if (bits <= 8) {
        const size_t bit = size_t(x) * bits;
        const uint32_t index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        if (index < colours) pixel = Le32(table + 4 * index) & 0xFFFFFF;
      } else if (bits == 24) {
        const uint8_t* p = row + size_t(x) * 3;
        pixel = p[0] | p[1] << 8 | uint32_t(p[2]) << 16;
      } else {
        const uint32_t value = bits == 16 ? Le16(row + size_t(x) * 2) : Le32(row + size_t(x) * 4);
        pixel = blue.Of(value) | green.Of(value) << 8 | red.Of(value) << 16;
      }
      target[x] = pixel;
    }
  }
  return true;
}

// ---- JPEG ----
//
// libjpeg reports a broken file by calling error_exit, whose default ends the
// process. Ours jumps back to the one libjpeg call in progress: each call sits in a
// small function of its own that sets the jump point and holds nothing with a
// destructor, so the jump skips no clean-up.

namespace {

// A progressive file can hold thousands of scans, each a pass over the whole picture.
constexpr int kMaxJpegScans = 500;

struct JumpTarget {
  std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info) { std::longjmp(static_cast<JumpTarget*>(info->client_data)->jump, 1); }

void Silently(j_common_ptr) {}

void LimitScans(j_common_ptr info) {
  if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxJpegScans)
    JumpOnError(info);
}

}  // namespace

struct JpegDecoder::State {
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  jpeg_progress_mgr progress;
  JumpTarget target;
  bool created = false;
};

namespace {

bool JpegCreate(jpeg_decompress_struct* info, JumpTarget* target) {
  if (setjmp(target->jump)) return false;
  jpeg_create_decompress(info);
  return true;
}

bool JpegReadHeader(jpeg_decompress_struct* info, JumpTarget* target, const uint8_t* bytes, size_t size) {
  if (setjmp(target->jump)) return false;
  jpeg_mem_src(info, bytes, static_cast<unsigned long>(size));
  return jpeg_read_header(info, TRUE) == JPEG_HEADER_OK;
}

bool JpegCalcOutput(jpeg_decompress_struct* info, JumpTarget* target) {
  if (setjmp(target->jump)) return false;
  jpeg_calc_output_dimensions(info);
  return true;
}

bool JpegStart(jpeg_decompress_struct* info, JumpTarget* target) {
  if (setjmp(target->jump)) return false;
  return jpeg_start_decompress(info) != 0;
}

int JpegReadLine(jpeg_decompress_struct* info, JumpTarget* target, JSAMPROW row) {
  if (setjmp(target->jump)) return -1;
  return static_cast<int>(jpeg_read_scanlines(info, &row, 1));
}

void JpegFinish(jpeg_decompress_struct* info, JumpTarget* target) {
  if (setjmp(target->jump)) return;
  jpeg_finish_decompress(info);
}

}  // namespace

JpegDecoder::JpegDecoder() = default;

JpegDecoder::~JpegDecoder() {
  if (state_ && state_->created) jpeg_destroy_decompress(&state_->info);
}

void JpegDecoder::Fail() {
  failed_ = true;
  image_ = PixelImage();
  decoded_ = 0;
}

bool JpegDecoder::Begin(std::vector<uint8_t> bytes) {
  if (state_ || failed_) return false;
  bytes_ = std::move(bytes);
  if (bytes_.empty() || bytes_.size() > kMaxPictureFileBytes) {
    Fail();
    return false;
  }
  state_.reset(new (std::nothrow) State());
  if (!state_) {
    Fail();
    return false;
  }
  State& s = *state_;
  s.info.err = jpeg_std_error(&s.errors);
  s.errors.error_exit = JumpOnError;
  s.errors.output_message = Silently;
  s.info.client_data = &s.target;
  if (!JpegCreate(&s.info, &s.target)) {
    Fail();
    return false;
  }
  s.created = true;  // jpeg_create_decompress keeps err and client_data
  s.progress.progress_monitor = LimitScans;
  s.info.progress = &s.progress;
  if (!JpegReadHeader(&s.info, &s.target, bytes_.data(), bytes_.size()) || s.info.jpeg_color_space == JCS_CMYK ||
      s.info.jpeg_color_space == JCS_YCCK || !IsPictureSizeAllowed(s.info.image_width, s.info.image_height)) {
    Fail();
    return false;
  }
  s.info.out_color_space = JCS_EXT_BGRX;
  if (!JpegCalcOutput(&s.info, &s.target) || s.info.output_width != s.info.image_width ||
      s.info.output_height != s.info.image_height || s.info.output_components != 4 ||
      !Allocate(image_, int32_t(s.info.output_width), int32_t(s.info.output_height))) {
    Fail();
    return false;
  }
  return true;
}

bool JpegDecoder::DecodeRows(int32_t rows) {
  if (failed_ || !state_) return false;
  if (!started_) {
    if (!JpegStart(&state_->info, &state_->target)) {
      Fail();
      return false;
    }
    started_ = true;
  }
  while (rows > 0 && decoded_ < image_.height) {
    auto* row = reinterpret_cast<JSAMPROW>(&image_.pixels[size_t(decoded_) * size_t(image_.width)]);
    const int got = JpegReadLine(&state_->info, &state_->target, row);
    // From memory libjpeg never suspends: no line is as broken as an error.
    if (got <= 0) {
      Fail();
      return false;
    }
    decoded_ += got;
    rows -= got;
  }
  // Trailing damage after the last line leaves the picture whole.
  if (decoded_ == image_.height && !finished_) {
    JpegFinish(&state_->info, &state_->target);
    finished_ = true;
  }
  return true;
}

bool JpegDecoder::DecodeUpTo(int32_t target) {
  if (failed_ || !state_) return false;
  target = std::min(target, image_.height);
  return DecodeRows(std::max(target - decoded_, 0));
}
