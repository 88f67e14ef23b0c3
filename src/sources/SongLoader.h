#pragma once
// What a viewer shows for a song, gathered in one step when the song changes: the
// lyrics file found for it (or, for an MP3 song, the Lyrics3 v2 tag in the song file
// itself), the song's tags, and the lyrics header's title, artist, album and pictures
// laid over those tags. The caller owns the timeline and the song information; it
// sets the timeline's ShowUntaggedLines before loading.

#include "base/FileSystem.h"
#include "base/WString.h"
#include "sources/SourceOptions.h"

class LyricsTimeline;
class SongInfo;

class SongLoader {
 public:
  explicit SongLoader(FileSystem& files = PlatformFileSystem()) : files_(files) {}

  // Locates and reads the lyrics of songPath and reads its tags. True when lyrics
  // were found; otherwise the timeline is empty and the song information is all
  // there is.
  bool Load(const WString& songPath, const SourceOptions& options, LyricsTimeline& lyrics, SongInfo& song);

  // Reads lyrics from path, or else from fallbackPath (empty: none), and lays their
  // header over the song information. True when either gave lyrics.
  bool LoadLyrics(const WString& path, const WString& fallbackPath, LyricsTimeline& lyrics, SongInfo& song);

  // After Load: the located lyrics file; when none exists, the ".txt" beside the song
  // where new lyrics are saved.
  const WString& LyricsPath() const { return lyricsPath_; }
  // After Load: the lyrics folder as it was searched, with its trailing separator;
  // the common settings keep this spelling.
  const WString& LyricsFolder() const { return lyricsFolder_; }

 private:
  FileSystem& files_;
  WString lyricsPath_;
  WString lyricsFolder_;
};
