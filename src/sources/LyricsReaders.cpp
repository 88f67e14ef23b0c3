#include "sources/LyricsReaders.h"

#include <cstring>
#include <string>

#include "base/CodePage.h"
#include "base/FilePath.h"

namespace {

// Lyrics3 v2 ends with: block size (6 digits), "LYRICS200", then the 128-byte ID3v1
// tag, so the size field starts 143 bytes before the end of the file.
constexpr uint64_t kTrailerSize = 6 + 9 + 128;
constexpr size_t kBeginMarkerSize = 11;  // "LYRICSBEGIN"
constexpr size_t kFieldHeaderSize = 8;   // id (3) and size (5 digits)

// The decimal number at the start of digits[0..count); parsing stops at the first
// non-digit, so "12x456" is 12 and "abc" is 0.
uint64_t LeadingNumber(const char* digits, size_t count) {
  uint64_t value = 0;
  for (size_t i = 0; i < count && digits[i] >= '0' && digits[i] <= '9'; ++i) value = value * 10 + (digits[i] - '0');
  return value;
}

}  // namespace

bool ReadLyricsTextFile(ByteSource& file, WString& text) {
  uint64_t size = file.Size();
  if (size > kMaxLyricsFileSize) return false;
  std::string bytes;
  if (!file.ReadBytes(0, static_cast<size_t>(size), bytes)) return false;
  if (!bytes.empty() && bytes.back() == '\x1A') bytes.pop_back();
  text = AnsiToWide(bytes.data(), bytes.size());
  return true;
}

bool ReadLyrics3Lyrics(ByteSource& file, WString& text) {
  uint64_t size = file.Size();
  if (size < kTrailerSize + 1) return false;
  std::string trailer;
  if (!file.ReadBytes(size - kTrailerSize, kTrailerSize, trailer)) return false;
  if (std::memcmp(trailer.data() + 6, "LYRICS200", 9) != 0) return false;
  uint64_t blockSize = LeadingNumber(trailer.data(), 6);
  // The block must lie inside the file, before its trailer.
  if (blockSize < kBeginMarkerSize || blockSize > size - kTrailerSize) return false;
  std::string block;
  if (!file.ReadBytes(size - kTrailerSize - blockSize, static_cast<size_t>(blockSize), block)) return false;
  if (block.compare(0, kBeginMarkerSize, "LYRICSBEGIN") != 0) return false;
  size_t at = kBeginMarkerSize;
  while (at < block.size()) {
    if (block.size() - at < kFieldHeaderSize) return false;
    uint64_t fieldSize = LeadingNumber(block.data() + at + 3, 5);
    // A field that claims more than the block holds ends the walk: no lyrics.
    if (fieldSize > block.size() - at - kFieldHeaderSize) return false;
    if (block.compare(at, 3, "LYR") == 0) {
      text = AnsiToWide(block.data() + at + kFieldHeaderSize, static_cast<size_t>(fieldSize));
      return true;
    }
    at += kFieldHeaderSize + static_cast<size_t>(fieldSize);
  }
  return false;
}

bool LyricsFileReader::ReadLyricsText(const WString& path, WString& text) const {
  std::unique_ptr<ByteSource> file = files_.OpenForReading(path);
  if (!file) return false;
  if (FilePath(path).Extension().EqualsAsciiNoCase("mp3")) return ReadLyrics3Lyrics(*file, text);
  return ReadLyricsTextFile(*file, text);
}
