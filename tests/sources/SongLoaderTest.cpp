// One song change from files on disk: where the lyrics come from, what the song
// information holds afterwards, and the lyrics folder the settings keep.
#include "sources/SongLoader.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "TagBuilders.h"
#include "TestText.h"
#include "lyrics/LyricsTimeline.h"
#include "sources/SongInfo.h"

namespace {

// An MP3 song: audio, a Lyrics3 v2 block with these lyrics (none when empty), and
// the ID3v1 tag that must follow the block.
std::string Mp3(const std::string& lyrics) {
  const std::string tag = tagbuild::Id3v1("Tag Title", "", "", "", "", 0);
  if (lyrics.empty()) return tagbuild::Audio() + tag;
  char size[8];
  snprintf(size, sizeof size, "%05zu", lyrics.size());
  return tagbuild::Audio() + tagbuild::Lyrics3("LYR" + std::string(size) + lyrics) + tag;
}

TEST(SongLoader, LyricsFileThenTheSongsOwnTagAndTheHeaderOverTheTags) {
  const struct {
    const char *song, *folder;
    std::vector<std::pair<const char*, std::string>> files;
    const char *firstLine, *title;  // firstLine "": no lyrics
  } cases[] = {
      {"a.mp3", "", {{"a.mp3", Mp3("[00:01]tag")}, {"a.txt", "@title=Header\n[00:01]file"}}, "file", "Header"},
      {"b.mp3", "", {{"b.mp3", Mp3("[00:01]tag")}}, "tag", "Tag Title"},
      // A file too large to be lyrics gives way to the tag as well.
      {"c.mp3", "", {{"c.mp3", Mp3("[00:01]tag")}, {"c.txt", std::string(65537, 'x')}}, "tag", "Tag Title"},
      {"d.wav", "", {{"d.wav", Mp3("[00:01]tag")}}, "", ""},  // only an MP3 song has the tag read
      {"e.mp3", "", {{"e.mp3", Mp3("")}}, "", "Tag Title"},
      {"f.mp3", "lyrics", {{"f.mp3", Mp3("[00:01]tag")}, {"lyrics/f.txt", "[00:01]folder"}}, "folder", "Tag Title"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    for (const auto& [name, bytes] : c.files) {
      std::filesystem::create_directories((dir.Path() / name).parent_path());
      WriteFileBytes(dir.Path() / name, bytes);
    }
    SourceOptions options;
    if (*c.folder) options.lyricsFolder = dir.Wide(c.folder);
    SongLoader loader;
    LyricsTimeline lyrics;
    SongInfo song;
    EXPECT_EQ(loader.Load(dir.Wide(c.song), options, lyrics, song), *c.firstLine != 0) << c.song;
    EXPECT_EQ(lyrics.DisplayLineText(0), W(c.firstLine)) << c.song;
    EXPECT_EQ(song.Title(), W(c.title)) << c.song;
    // The folder as searched, which the settings keep; else where new lyrics are saved.
    if (*c.folder) EXPECT_EQ(loader.LyricsFolder(), options.lyricsFolder.Append(u'\\'));
    else EXPECT_EQ(loader.LyricsPath(), dir.Wide((std::string(c.song, 1) + ".txt").c_str())) << c.song;
    // A dropped file that gives nothing: no lyrics, and the tags' title without a header.
    EXPECT_FALSE(loader.LoadLyrics(dir.Wide("none.txt"), WString(), lyrics, song));
    EXPECT_EQ(song.Title(), W(*c.title == 'H' ? "Tag Title" : c.title)) << c.song;
  }
}

}  // namespace
