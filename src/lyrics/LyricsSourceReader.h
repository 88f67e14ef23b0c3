#pragma once
// Turns a lyrics source (a lyrics text file, or the tag inside an audio file) into
// one wide text for the parser. The readers live with the other sources; the
// document only knows this interface, so the lyrics model depends on nothing above.

#include "base/WString.h"

class LyricsSourceReader {
 public:
  virtual ~LyricsSourceReader() = default;
  // False when the source gives no lyrics (missing, unreadable, too large, no tag).
  virtual bool ReadLyricsText(const WString& path, WString& text) const = 0;
};
