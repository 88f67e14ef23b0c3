// Bytes as a whole file through both ID3v1 readings.
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "sources/Id3v1Reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryByteSource file(data, size);
  SongFields fields;
  bool found = ReadId3v1Fields(file, fields);
  FUZZ_REQUIRE(!found || size >= kId3v1Size);
  Id3v1Tag tag;
  if (ReadId3v1Tag(file, tag)) {
    FUZZ_REQUIRE(tag.title.size() == 30 && tag.year.size() == 4 && tag.comment.size() == 30);
    FUZZ_REQUIRE(Id3v1TrimmedText(tag.title).Length() <= Id3v1Text(tag.title).Length());
  }
  return 0;
}
