// Bytes as a whole file through the ID3v2 reader: frame sizes, unsynchronisation,
// compressed frames and encodings must never take it outside the file or past its
// bounds on inflated text.
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "sources/Id3v2Reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryByteSource file(data, size);
  SongFields fields;
  bool found = ReadId3v2Fields(file, fields);
  for (const WString& field : fields) {
    FUZZ_REQUIRE(field.Length() <= (1u << 20));
    if (!found) FUZZ_REQUIRE(field.IsEmpty());
  }
  return 0;
}
