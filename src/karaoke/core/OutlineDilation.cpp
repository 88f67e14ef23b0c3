#include "karaoke/core/OutlineDilation.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

// Exactly the pixel's own bytes: a 24-bit pixel read as 32 bits would run past the
// end of the last row.
uint32_t ReadPixel(const uint8_t* p, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= uint32_t(p[i]) << (8 * i);
  return value;
}

void WritePixel(uint8_t* p, int bytes, uint32_t value) {
  for (int i = 0; i < bytes; ++i) p[i] = uint8_t(value >> (8 * i));
}

// Marks every cell within `reach` of a set cell along one line of `count` cells,
// `step` apart, from `in` into `out`.
void DilateLine(const uint8_t* in, uint8_t* out, int32_t count, size_t step, int64_t reach) {
  int64_t last = -(int64_t(1) << 40);
  for (int32_t i = 0; i < count; ++i) {
    if (in[size_t(i) * step]) last = i;
    out[size_t(i) * step] = i - last <= reach;
  }
  last = int64_t(1) << 40;
  for (int32_t i = count - 1; i >= 0; --i) {
    if (in[size_t(i) * step]) last = i;
    if (last - i <= reach) out[size_t(i) * step] = 1;
  }
}

}  // namespace

bool DilateOutline(const PixelBytes& s, KRect area, int32_t edge, const OutlineColours& colours) {
  const int bytes = s.bytesPerPixel;
  if (!s.bits || (bytes != 2 && bytes != 3 && bytes != 4) || s.width <= 0 || s.height <= 0) return false;
  const int64_t rowBytes = int64_t(s.width) * bytes;
  if (s.pitch < rowBytes || int64_t(s.height - 1) * s.pitch + rowBytes > int64_t(s.size)) return false;
  const uint32_t mask = colours.mask & (bytes == 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1);
  const uint32_t text = colours.text & mask, fill = colours.fill & mask, edgeColour = colours.edge & mask;
  if (text == fill || text == edgeColour) return false;

  area.left = std::max(area.left, 0);
  area.top = std::max(area.top, 0);
  area.right = std::min(area.right, s.width);
  area.bottom = std::min(area.bottom, s.height);
  const int32_t w = area.Width(), h = area.Height();
  if (edge <= 0 || w <= 0 || h <= 0) return true;

  std::vector<uint8_t> isText, across, square;
  try {
    isText.resize(size_t(w) * h);
    across.resize(size_t(w) * h);
    square.resize(size_t(w) * h);
  } catch (const std::bad_alloc&) {
    return false;
  }
  auto pixel = [&](int32_t x, int32_t y) { return s.bits + size_t(area.top + y) * size_t(s.pitch) + size_t(area.left + x) * bytes; };
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) isText[size_t(y) * w + x] = (ReadPixel(pixel(x, y), bytes) & mask) == text;
  // A square dilation is a dilation along the rows followed by one along the columns.
  for (int32_t y = 0; y < h; ++y) DilateLine(&isText[size_t(y) * w], &across[size_t(y) * w], w, 1, edge);
  for (int32_t x = 0; x < w; ++x) DilateLine(&across[x], &square[x], h, size_t(w), edge);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      if (!square[size_t(y) * w + x]) continue;
      uint8_t* p = pixel(x, y);
      const uint32_t value = ReadPixel(p, bytes);
      if ((value & mask) == fill) WritePixel(p, bytes, (value & ~mask) | edgeColour);
    }
  return true;
}
