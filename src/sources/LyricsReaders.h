#pragma once
// The two sources of lyrics text: a lyrics text file (".txt", ".lrc") and the
// Lyrics3 v2 tag at the end of an MP3 file, whose "LYR" field holds lyrics text.
// Both give the text as wide text for the parser; both answer false, never throw.

#include "base/ByteSource.h"
#include "base/FileSystem.h"
#include "base/WString.h"
#include "lyrics/LyricsSourceReader.h"

constexpr uint64_t kMaxLyricsFileSize = 65536;

// The whole file (at most kMaxLyricsFileSize bytes), without a final 0x1A end-of-file mark.
bool ReadLyricsTextFile(ByteSource& file, WString& text);

// The "LYR" field of the Lyrics3 v2 block that ends 143 bytes before the end of the file.
bool ReadLyrics3Lyrics(ByteSource& file, WString& text);

// Chooses the reader by extension: "mp3" (any case) reads the tag, anything else
// the text file.
class LyricsFileReader : public LyricsSourceReader {
 public:
  LyricsFileReader() : files_(PlatformFileSystem()) {}
  explicit LyricsFileReader(FileSystem& files) : files_(files) {}
  bool ReadLyricsText(const WString& path, WString& text) const override;

 private:
  FileSystem& files_;
};
