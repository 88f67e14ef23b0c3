// Bytes as a whole file: the Lyrics3 v2 reader must stay inside the file and the
// block whatever the size fields claim, and both readers' text must parse.

#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "lyrics/LyricsTimeline.h"
#include "sources/LyricsReaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryByteSource file(data, size);
  WString text;
  if (ReadLyrics3Lyrics(file, text)) {
    FUZZ_REQUIRE(text.Length() <= size);
    LyricsTimeline timeline;
    timeline.ParseText(text);
  }
  WString whole;
  bool read = ReadLyricsTextFile(file, whole);
  FUZZ_REQUIRE(read == (size <= kMaxLyricsFileSize));
  if (read) FUZZ_REQUIRE(whole.Length() <= size);
  return 0;
}
