// Bytes as a background BMP: a decoded picture is within the caps, has every pixel,
// and holds colours only (no stray bits above the 24 colour bits).
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "karaoke/core/PictureDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PixelImage image;
  if (!DecodeBmp(data, size, image)) {
    FUZZ_REQUIRE(image.pixels.empty());
    return 0;
  }
  FUZZ_REQUIRE(IsPictureSizeAllowed(image.width, image.height));
  FUZZ_REQUIRE(image.pixels.size() == size_t(image.width) * size_t(image.height));
  for (uint32_t pixel : image.pixels) FUZZ_REQUIRE(pixel <= 0xFFFFFF);
  return 0;
}
