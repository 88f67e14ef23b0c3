// An info format pattern against a song with some fields empty: the expansion never
// fails to produce text, and succeeds whenever the pattern has no placeholder.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "sources/SongInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  SongInfo info;
  // The first byte says which of the ten fields are set.
  for (int i = 0; i < kSongFieldCount; ++i)
    if (data[0] & (1u << (i % 8))) info.SetField(static_cast<SongField>(i), WString(u"x"));
  // The bytes after it are UTF-16 units, copied out: they are not aligned for WChar.
  std::u16string units((size - 1) / 2, u'\0');
  if (!units.empty()) std::memcpy(&units[0], data + 1, units.size() * sizeof(WChar));
  WString pattern(units.data(), units.size());
  WString text;
  bool ok = info.Format(pattern, text);
  bool placeholder = false;
  for (size_t i = 0; i + 1 < pattern.Length(); ++i) {
    if (pattern[i] != u'%') continue;
    if (pattern[i + 1] == u'%') {
      ++i;
      continue;
    }
    placeholder = placeholder || (pattern[i + 1] >= u'1' && pattern[i + 1] <= u'9');
  }
  FUZZ_REQUIRE(placeholder || ok);
  FUZZ_REQUIRE(text.Length() <= pattern.Length() * 2);  // each field is "x" or empty; no path
  return 0;
}
