// Bytes as a background JPEG, decoded a few scanlines at a time as the screen does:
// libjpeg's errors come back as a refusal instead of ending the process, and the
// decoder ends either with a whole picture within the caps or with none.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "karaoke/core/PictureDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte chooses the step, so the fuzzer tries many splits of the rows.
  const int32_t step = size ? 1 + data[0] % 16 : 1;
  JpegDecoder decoder;
  if (decoder.Begin(std::vector<uint8_t>(data, data + size))) {
    const PixelImage& image = decoder.Image();
    FUZZ_REQUIRE(IsPictureSizeAllowed(image.width, image.height));
    FUZZ_REQUIRE(image.pixels.size() == size_t(image.width) * size_t(image.height));
    for (int32_t rows = step; decoder.DecodeUpTo(rows) && !decoder.IsComplete(); rows += step)
      FUZZ_REQUIRE(decoder.RowsDecoded() == rows);
  }
  FUZZ_REQUIRE(decoder.Failed() ? decoder.Image().pixels.empty() : decoder.IsComplete());
  return 0;
}
