// Bytes as a whole skin bitmap: whatever the headers claim, a file the check accepts
// has its info header, colour table and every pixel row GDI will read inside the
// buffer. The rows are recomputed here from the headers, not taken from the check.
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "base/BitmapFileCheck.h"

namespace {

using Wide = unsigned __int128;  // no product of header fields overflows it

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!IsUsableBitmapFile(data, size)) return 0;
  FUZZ_REQUIRE(size >= 54 && size <= kMaxBitmapFileBytes);
  const Wide headerEnd = 14 + Wide(Le32(data + 14));
  FUZZ_REQUIRE(headerEnd <= size);

  const int32_t width = int32_t(Le32(data + 18));
  const int32_t height = int32_t(Le32(data + 22));
  const unsigned bits = data[28] | data[29] << 8;
  const uint32_t colours = Le32(data + 46);
  FUZZ_REQUIRE(width > 0 && height != 0);
  if (bits <= 8) {
    const Wide entries = colours ? colours : 1u << bits;
    FUZZ_REQUIRE(headerEnd + entries * 4 <= size);
  }

  // GDI reads |height| rows of width × bits, each padded to a 32-bit word.
  const Wide rows = height < 0 ? Wide(-int64_t(height)) : Wide(height);
  const Wide stride = (Wide(width) * bits + 31) / 32 * 4;
  const Wide offset = Le32(data + 10);
  FUZZ_REQUIRE(BitmapPixelOffset(data) == offset);
  FUZZ_REQUIRE(offset >= headerEnd);
  FUZZ_REQUIRE(offset + stride * rows <= size);
  // Touch the first and last pixel bytes, so the sanitizer sees them too.
  volatile uint8_t sink = data[size_t(offset)] ^ data[size_t(offset + stride * rows) - 1];
  (void)sink;
  return 0;
}
