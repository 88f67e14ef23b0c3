#pragma once
// Finds the lyrics file of a song. In order of preference: a ".txt" named after the
// song anywhere in the lyrics folder tree, a ".lrc" directly in the lyrics folder, a
// ".txt" beside the song, a ".lrc" beside the song. When none exists the answer is
// the ".txt" beside the song, where the Editor saves new lyrics.

#include <set>
#include <vector>

#include "base/FileSystem.h"
#include "base/WString.h"
#include "sources/SourceOptions.h"

class LyricsLocator {
 public:
  // The options are read at every search, and a lyrics folder without its trailing
  // separator gets one there, so the corrected folder is what is saved later.
  explicit LyricsLocator(SourceOptions& options, FileSystem& files = PlatformFileSystem())
      : options_(options), files_(files) {}

  // The lyrics path for the song (also kept as Result()); empty for an empty path.
  const WString& Locate(const WString& songPath);
  const WString& Result() const { return result_; }

 private:
  enum class TreeResult { Failed, NotFound, Found };

  WString FindInLyricsFolder(const WString& baseName);
  TreeResult SearchTree(const WString& folder, int depth);
  bool IsTargetFile(const WString& name) const;

  SourceOptions& options_;
  FileSystem& files_;
  WString result_;

  // State of one tree search.
  WString target_;  // the song's base name in lower case
  WString found_;
  std::set<FileIdentity> visited_;
};

// Lower case as Windows maps wide text for comparisons: ASCII, Latin-1, Latin
// Extended-A, Greek, Cyrillic, Roman numerals, circled and full-width letters.
WChar LowerCaseChar(WChar c);
