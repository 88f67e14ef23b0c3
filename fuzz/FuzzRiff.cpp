// Bytes as a whole file through the RIFF INFO walk: it must stay inside the file
// whatever the chunk sizes claim.
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "sources/RiffInfoReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryByteSource file(data, size);
  SongFields fields;
  bool found = ReadRiffInfo(file, fields);
  for (const WString& field : fields) FUZZ_REQUIRE(field.Length() <= size);
  if (!found) for (const WString& field : fields) FUZZ_REQUIRE(field.IsEmpty());
  return 0;
}
