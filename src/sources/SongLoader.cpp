#include "sources/SongLoader.h"

#include "base/FilePath.h"
#include "lyrics/LyricsTimeline.h"
#include "sources/LyricsLocator.h"
#include "sources/LyricsReaders.h"
#include "sources/SongInfo.h"

bool SongLoader::Load(const WString& songPath, const SourceOptions& options, LyricsTimeline& lyrics,
                      SongInfo& song) {
  SourceOptions searched = options;
  LyricsLocator locator(searched, files_);
  lyricsPath_ = locator.Locate(songPath);
  lyricsFolder_ = searched.lyricsFolder;
  song.Load(songPath, searched);
  // An MP3 file may carry its lyrics in a Lyrics3 v2 tag; it is read only when the
  // located file gives nothing.
  const bool mp3 = FilePath(songPath).Extension().EqualsAsciiNoCase("mp3");
  return LoadLyrics(lyricsPath_, mp3 ? songPath : WString(), lyrics, song);
}

bool SongLoader::LoadLyrics(const WString& path, const WString& fallbackPath, LyricsTimeline& lyrics,
                            SongInfo& song) {
  const LyricsFileReader reader(files_);
  bool loaded = lyrics.LoadLyricsSource(path, reader) != 0;
  if (!loaded && !fallbackPath.IsEmpty()) loaded = lyrics.LoadLyricsSource(fallbackPath, reader) != 0;
  song.ApplyLyricsHeader(lyrics);  // no lyrics, no header: the tags' own values
  return loaded;
}
