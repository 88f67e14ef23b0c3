#pragma once
// Whether a whole BMP file (file header, info header, masks, colour table and pixel
// rows) can be handed to GDI as it is: skin bitmaps come from anyone, and GDI reads
// wherever their headers point. Portable, so it is tested natively and fuzzed.

#include <cstddef>
#include <cstdint>

// No skin bitmap is larger; bigger files are refused unread.
constexpr size_t kMaxBitmapFileBytes = 102400;

// True when data holds a BMP file of at most maxBytes with uncompressed rows (BI_RGB,
// or BI_BITFIELDS at 16 or 32 bits) whose headers, colour table and pixel rows all
// lie inside the size bytes. Skins keep the small default; background pictures are
// larger.
bool IsUsableBitmapFile(const uint8_t* data, size_t size, size_t maxBytes = kMaxBitmapFileBytes);

// Where the pixel rows begin, for a file IsUsableBitmapFile accepted.
size_t BitmapPixelOffset(const uint8_t* data);
