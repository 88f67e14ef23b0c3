// Any wide text through the "(n)" genre rule: the result is the text itself, a name
// from the table or nothing.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "sources/Genres.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string units(size / 2, u'\0');
  if (!units.empty()) std::memcpy(&units[0], data, units.size() * sizeof(WChar));
  WString text(units.data(), units.size());
  WString genre = NormaliseGenre(text);
  if (genre != text && !genre.IsEmpty()) {
    bool named = false;
    for (int n = 0; n < kGenreCount && !named; ++n) named = genre == GenreName(n);
    FUZZ_REQUIRE(named);
  }
  FUZZ_REQUIRE(NormaliseGenre(genre) == genre || genre == text);
  return 0;
}
