// One song change from files on disk: where the lyrics come from, what the song
// information holds afterwards, and the lyrics folder the settings keep.
#include "sources/SongLoader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "TagBuilders.h"
#include "TestText.h"
#include "lyrics/LyricsTimeline.h"
#include "sources/SongInfo.h"

namespace {

using namespace tagbuild;

// An MP3 song: audio, a Lyrics3 v2 block with these lyrics (none when empty), and
// the ID3v1 tag that must follow the block.
std::string Mp3(const std::string& lyrics) {
  std::string block;
  if (!lyrics.empty()) {
    char field[16], size[16];
    snprintf(field, sizeof field, "LYR%05zu", lyrics.size());
    block = "LYRICSBEGIN" + std::string(field) + lyrics;
    snprintf(size, sizeof size, "%06zu", block.size());
    block += std::string(size) + "LYRICS200";
  }
  return Audio() + block + Id3v1("Tag Title", "Tag Artist", "", "", "", 0);
}

TEST(SongLoader, FileBesideTheSongThenTheSongsOwnTagAndTheHeaderOverTheTags) {
  const struct {
    const char* song;
    std::vector<std::pair<const char*, std::string>> files;
    const char* firstLine;  // nullptr: no lyrics
    const char* title;
  } cases[] = {
      {"a.mp3", {{"a.mp3", Mp3("[00:01]tag")}, {"a.txt", "@title=Header\n[00:01]file"}}, "file", "Header"},
      {"b.mp3", {{"b.mp3", Mp3("[00:01]tag")}}, "tag", "Tag Title"},
      // A file too large to be lyrics gives way to the tag as well.
      {"c.mp3", {{"c.mp3", Mp3("[00:01]tag")}, {"c.txt", std::string(65537, 'x')}}, "tag", "Tag Title"},
      // Only an MP3 song is read for a tag.
      {"d.wav", {{"d.wav", Mp3("[00:01]tag")}}, nullptr, ""},
      {"e.mp3", {{"e.mp3", Mp3("")}}, nullptr, "Tag Title"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    for (const auto& [name, bytes] : c.files) WriteFileBytes(dir.Path() / name, bytes);
    SongLoader loader;
    LyricsTimeline lyrics;
    SongInfo song;
    EXPECT_EQ(loader.Load(dir.Wide(c.song), SourceOptions(), lyrics, song), c.firstLine != nullptr) << c.song;
    EXPECT_EQ(lyrics.DisplayLineText(0), W(c.firstLine ? c.firstLine : "")) << c.song;
    EXPECT_EQ(song.Title(), W(c.title)) << c.song;
    // Where the lyrics are, or would be saved: the ".txt" beside the song.
    EXPECT_EQ(loader.LyricsPath(), dir.Wide((std::string(c.song, 1) + ".txt").c_str())) << c.song;
  }
}

TEST(SongLoader, KeepsTheFolderAsSearchedAndReadsADroppedFileAlone) {
  TempDir dir;
  std::filesystem::create_directory(dir.Path() / "lyrics");
  WriteFileBytes(dir.Path() / "lyrics" / "song.txt", "[00:01]from the folder");
  WriteFileBytes(dir.Path() / "song.mp3", Mp3("[00:01]tag"));
  SourceOptions options;
  options.lyricsFolder = dir.Wide("lyrics");
  SongLoader loader;
  LyricsTimeline lyrics;
  SongInfo song;
  ASSERT_TRUE(loader.Load(dir.Wide("song.mp3"), options, lyrics, song));
  EXPECT_EQ(lyrics.DisplayLineText(0), W("from the folder"));
  WString separated = dir.Wide("lyrics");
  EXPECT_EQ(loader.LyricsFolder(), separated.Append(u'\\'));

  // A dropped file that gives nothing leaves no lyrics; the song's tag is not asked.
  EXPECT_FALSE(loader.LoadLyrics(dir.Wide("missing.txt"), WString(), lyrics, song));
  EXPECT_EQ(lyrics.LineCount(), 0);
}

}  // namespace
