#include "base/BitmapFileCheck.h"

namespace {

// The compression values of BITMAPINFOHEADER, spelled out so that no Windows header
// is needed.
constexpr uint32_t kUncompressed = 0;  // BI_RGB
constexpr uint32_t kBitFields = 3;     // BI_BITFIELDS

constexpr size_t kFileHeader = 14;  // BITMAPFILEHEADER
constexpr size_t kInfoHeader = 40;  // BITMAPINFOHEADER, the smallest header GDI takes here

uint32_t ReadLe32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t ReadLe16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

}  // namespace

bool IsUsableBitmapFile(const uint8_t* data, size_t size, size_t maxBytes) {
  if (!data || size < kFileHeader + kInfoHeader || size > maxBytes) return false;
  if (data[0] != 'B' || data[1] != 'M') return false;
  // Sums are taken in 64 bits: no 32-bit field read from the file can overflow them.
  const uint64_t pixelOffset = ReadLe32(data + 10);
  const uint64_t headerSize = ReadLe32(data + 14);
  if (headerSize < kInfoHeader || kFileHeader + headerSize > size) return false;
  const int32_t width = static_cast<int32_t>(ReadLe32(data + 18));
  const int32_t height = static_cast<int32_t>(ReadLe32(data + 22));
  const unsigned planes = ReadLe16(data + 26);
  const unsigned bitCount = ReadLe16(data + 28);
  const uint32_t compression = ReadLe32(data + 30);
  const uint64_t coloursUsed = ReadLe32(data + 46);
  if (width <= 0 || height == 0 || height == INT32_MIN || planes != 1) return false;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    return false;
  // Compressed rows have no size to check ahead of decoding: plain rows only.
  const bool bitFields = compression == kBitFields;
  if (compression != kUncompressed && !(bitFields && (bitCount == 16 || bitCount == 32))) return false;
  // The three masks follow a 40-byte header; larger headers hold them.
  const uint64_t masks = bitFields && headerSize == kInfoHeader ? 12 : 0;
  const uint64_t maxColours = bitCount <= 8 ? (1u << bitCount) : 256;
  if (coloursUsed > maxColours) return false;
  const uint64_t colours = bitCount <= 8 && coloursUsed == 0 ? maxColours : coloursUsed;
  const uint64_t tableEnd = kFileHeader + headerSize + masks + colours * 4;
  if (tableEnd > size) return false;
  // Rows are padded to whole 32-bit words; a negative height means top-down rows.
  const uint64_t stride = (uint64_t(width) * bitCount + 31) / 32 * 4;
  if (stride > size) return false;
  const uint64_t rows = height < 0 ? uint64_t(-int64_t(height)) : uint64_t(height);
  if (pixelOffset < kFileHeader + headerSize) return false;
  return pixelOffset + stride * rows <= size;
}

size_t BitmapPixelOffset(const uint8_t* data) { return ReadLe32(data + 10); }
