#pragma once
// The common settings the lyrics locator and the song-information readers follow.
// The plug-in fills it from its common settings; mrlyrics-tool from its options.

#include "base/WString.h"

struct SourceOptions {
  // A folder searched for lyrics files besides the song's own folder; empty: none.
  WString lyricsFolder;
  // File extensions, separated by ";", whose files are searched for tags.
  WString id3Exts = WString(u"mp3;rmp");
  // Read ID3v2 tags (else only the ID3v1 tag).
  bool id3V2 = true;
};
