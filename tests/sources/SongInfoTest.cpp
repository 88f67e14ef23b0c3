// Song information from whole files: which reader a file goes to, the ID3v1 fill-in
// under ID3v2, the background search, the lyrics header and the info format.
#include "sources/SongInfo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ShiftJisTest.h"
#include "TestText.h"
#include "TagBuilders.h"
#include "base/CodePage.h"
#include "base/FilePath.h"
#include "lyrics/LyricsDocument.h"

namespace {

using namespace std::string_literals;
using namespace tagbuild;

class SongInfoTest : public ShiftJisTest {
 protected:
  WString Write(const char* name, const std::string& bytes) {
    WriteFileBytes(dir_.Path() / name, bytes);
    return dir_.Wide(name);
  }
  void MakeFolder(const char* name) { std::filesystem::create_directory(dir_.Path() / name); }

  SongInfo Load(const WString& path, SourceOptions options = SourceOptions()) {
    SongInfo info;
    info.Load(path, options);
    return info;
  }

  TempDir dir_;
};

// The ten fields in their order (title, artist, album, year, comment, genre,
// copyright, engineer, source, software), then the background file and folder.
std::string Fields(const SongInfo& info) {
  std::string out;
  for (int i = 0; i < kSongFieldCount; ++i) out += info.Field(static_cast<SongField>(i)).ToUtf8() + "|";
  return out + info.BgFile().ToUtf8() + "|" + info.BgFolder().ToUtf8();
}

const std::string kTagged = Tag(3, Frame(3, "TIT2", Text(0, "V2 Title")) + Frame(3, "TCON", Text(0, "(17)")), 0, 32) +
                            Audio() + Id3v1("V1 Title", "V1 Artist  ", "V1 Album", "1999", "V1 note ", 150);

TEST_F(SongInfoTest, TheTagsEachReaderGives) {
  SourceOptions noId3v2;
  noId3v2.id3V2 = false;
  const std::string wave = Riff("RMP3", Chunk("data", Audio(20)) + Chunk("LIST", "INFO" + Chunk("INAM", "Riff title") +
                                                                               Chunk("ISFT", "Tool")));
  // ID3v2 wins and the ID3v1 tag fills the rest, trimmed and with its genre named.
  EXPECT_EQ(Fields(Load(Write("song.mp3", kTagged))), "V2 Title|V1 Artist|V1 Album|1999|V1 note|Rock||||||");
  // Without ID3v2 only the plug-in's own ID3v1 reader runs, spaces kept.
  EXPECT_EQ(Fields(Load(dir_.Wide("song.mp3"), noId3v2)), "V1 Title|V1 Artist  |V1 Album|1999|V1 note |MoeMoe||||||");
  // RIFF INFO wins over every other tag.
  EXPECT_EQ(Fields(Load(Write("song.rmp", wave + Id3v1("V1", "V1 Artist", "", "", "", 1)))), "Riff title|||||||||Tool||");
  // Which genre texts and bytes have names is the genre table's test. A file that
  // cannot be read leaves every field empty, even in an object used before.
  SongInfo reused = Load(dir_.Wide("song.mp3"));
  reused.Load(dir_.Wide("missing.mp3"), SourceOptions());
  EXPECT_EQ(Fields(reused) + reused.Path().ToUtf8(), "|||||||||||" + dir_.Wide("missing.mp3").ToUtf8());
}

TEST_F(SongInfoTest, ExtensionsChooseTheReader) {
  Write("x.rmp", kTagged);
  Write("y.MP3", kTagged);
  Write("z.wav", kTagged);
  Write("song.wma", kTagged);  // not an ASF file
  Write("asf.wma", Asf(u"星空", u"Band"));
  // The file's extension is lowered, the setting's is not; WMA files go to the media
  // reader unless listed as tag files.
  const struct {
    const char *file, *id3Exts, *title;
  } cases[] = {
      {"x.rmp", "mp3", ""},      {"y.MP3", "mp3", "V2 Title"}, {"y.MP3", "MP3;rmp", ""},
      {"z.wav", "mp3;rmp", ""},  {"z.wav", "mp3;;wav;", "V2 Title"}, {"song.wma", "mp3;rmp", ""},
      {"asf.wma", "mp3;rmp", "星空"}, {"song.wma", "mp3;wma", "V2 Title"},
  };
  for (const auto& c : cases) {
    SourceOptions options;
    options.id3Exts = W(c.id3Exts);
    EXPECT_EQ(Load(dir_.Wide(c.file), options).Title(), W(c.title)) << c.file << " " << c.id3Exts;
  }
  EXPECT_EQ(Load(dir_.Wide("asf.wma")).Artist(), W("Band"));
  EXPECT_FALSE(IsTagFileExtension(W("mp3;;rmp"), W("")));  // an empty item is no extension
}

TEST_F(SongInfoTest, BackgroundsByNameAndExtensionAndTheLyricsHeader) {
  const WString song = Write("Song.mp3", Tag(3, Frame(3, "TPE1", Text(0, "Band")) + Frame(3, "TALB", Text(0, "Disc"))) +
                                             Audio() + Id3v1("Tag title", "", "", "", "", 0));
  auto background = [&] {
    const SongInfo info = Load(song);
    return FilePath(info.BgFile()).FileName().ToUtf8() + "|" + FilePath(info.BgFolder()).FileName().ToUtf8();
  };
  // Pictures: the song's name, then the artist's, then the album's; jpeg, jpg, bmp.
  // Folders: the name followed by a dot; existence is all that counts, so a folder
  // named like a picture is found as a picture too.
  const struct {
    const char* add;
    const char* remove;
    const char* found;
  } steps[] = {
      {nullptr, nullptr, "|"},         {"Disc.bmp", nullptr, "Disc.bmp|"},     {"Band.jpeg", nullptr, "Band.jpeg|"},
      {"Song.bmp", nullptr, "Song.bmp|"}, {"Song.jpg", nullptr, "Song.jpg|"},  {"Disc/", "Song.jpg", "Song.bmp|Disc."},
      {"Band/", "Song.bmp", "Band.jpeg|Band."}, {"Song/", "Band.jpeg", "Disc.bmp|Song."}, {"Band.bmp/", nullptr, "Band.bmp|Song."},
  };
  for (const auto& step : steps) {
    const std::string add = step.add ? step.add : "";
    if (!add.empty() && add.back() == '/') MakeFolder(add.substr(0, add.size() - 1).c_str());
    else if (!add.empty()) Write(step.add, "picture");
    if (step.remove) std::filesystem::remove(dir_.Path() / step.remove);
    EXPECT_EQ(background(), step.found) << add;
  }
  // The lyrics header overrides non-empty values only.
  SongInfo info = Load(song);
  LyricsDocument header;
  header.ParseText(W("@title=Header title\n@artist=\n@bgfolder=C:\\Pictures\nla la"));
  info.ApplyLyricsHeader(header);
  EXPECT_EQ(Fields(info), "Header title|Band|Disc|||Blues|||||" + dir_.Wide("Band.bmp").ToUtf8() + "|C:\\Pictures");
  // Lyrics loaded later (a dropped file) with an empty title: the tags' values again.
  header.ParseText(W("@title=\nla la"));
  info.ApplyLyricsHeader(header);
  EXPECT_EQ(Fields(info), "Tag title|Band|Disc|||Blues|||||" + dir_.Wide("Band.bmp").ToUtf8() + "|" + dir_.Wide("Song.").ToUtf8());
}

TEST_F(SongInfoTest, FormatExpandsPlaceholdersAndFailsOnlyWhenEveryOneIsEmpty) {
  SongInfo full = Load(Write("Song.mp3", Tag(3, Frame(3, "TIT2", Text(0, "T")) + Frame(3, "TPE1", Text(0, "A")) +
                                                     Frame(3, "TALB", Text(0, "L")) + Frame(3, "TYER", Text(0, "Y")) +
                                                     Frame(3, "COMM", Comment("", "C")) +
                                                     Frame(3, "TCON", Text(0, "G"))) +
                                                  Audio()));
  SongInfo titled = Load(Write("Other.mp3", Tag(3, Frame(3, "TIT2", Text(0, "T"))) + Audio()));
  SongInfo none;
  WString folder = dir_.Wide("x");
  folder.Erase(folder.Length() - 1);  // the folder with its separator
  const struct {
    const SongInfo& info;
    const char* pattern;
    bool ok;
    std::string text;
  } cases[] = {
      {full, "%1 / %2 [%3 %4 %5 %6] %7.%9", true, "A / T [L Y C G] Song.mp3"},
      {full, "%8", true, folder.ToUtf8()},
      {full, "100%% %x %0 50%", true, "100% %x %0 50%"},
      {full, "%%%1%", true, "%A%"},
      {titled, "%1 - %3", false, " - "},  // the text is produced anyway
      {titled, "%1 - %2", true, " - T"},
      {titled, "no placeholders %", true, "no placeholders %"},
      {titled, "%% %1", false, "% "},  // "%%" is an escape, not a field
      {titled, "", true, ""},
      {none, "%7%8%9", false, ""},  // no song: no base name, folder or extension
  };
  for (const auto& c : cases) {
    WString text = W("stale");
    EXPECT_EQ(c.info.Format(W(c.pattern), text), c.ok) << c.pattern;
    EXPECT_EQ(text.ToUtf8(), c.text) << c.pattern;
  }
}

}  // namespace
