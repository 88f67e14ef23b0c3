#pragma once
// Whole BMP files for the tests of the bitmap check and of the skin bitmap loaders.

#include <cstdint>
#include <utility>
#include <vector>

// A 24-bit bottom-up BMP, every pixel one colour (0x00BBGGRR, as Win32 RGB() makes it).
inline std::vector<uint8_t> SolidBmp(int width, int height, uint32_t colour) {
  const uint32_t stride = (uint32_t(width) * 3 + 3) / 4 * 4;
  const uint32_t pixels = stride * uint32_t(height);
  std::vector<uint8_t> file(54 + pixels);
  // "BM", the file size, where the pixels start; the info header's size, width, height,
  // one plane, 24 bits, no compression and the pixels' size. Little-endian, written in
  // order, so the zero top bytes of a 16-bit field are overwritten by the next field.
  const std::pair<size_t, uint32_t> fields[] = {{0, 0x4D42}, {2, 54 + pixels}, {10, 54}, {14, 40}, {18, uint32_t(width)},
                                                {22, uint32_t(height)}, {26, 1}, {28, 24}, {34, pixels}};
  for (const auto& [at, value] : fields)
    for (int b = 0; b < 4; ++b) file[at + b] = uint8_t(value >> (8 * b));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &file[54 + y * stride + x * 3];
      p[0] = uint8_t(colour >> 16);  // blue, green, red
      p[1] = uint8_t(colour >> 8);
      p[2] = uint8_t(colour);
    }
  return file;
}

// The file with one little-endian 32-bit field replaced.
inline std::vector<uint8_t> WithField(std::vector<uint8_t> file, size_t at, uint32_t value) {
  for (int b = 0; b < 4; ++b) file[at + b] = uint8_t(value >> (8 * b));
  return file;
}
