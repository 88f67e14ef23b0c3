// Song information from whole files: which reader a file goes to, the ID3v1 fill-in
// under ID3v2, the background search, the lyrics header and the info format.
#include "sources/SongInfo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestText.h"
#include "TagBuilders.h"
#include "base/CodePage.h"
#include "lyrics/LyricsDocument.h"

namespace {

using namespace std::string_literals;
using namespace tagbuild;

class SongInfoTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(AnsiCodePage(), 932u) << "tests need the ANSI code page 932 (Wine: LANG=ja_JP.UTF-8)"; }

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

const std::string kTagged = Tag(3, Frame(3, "TIT2", Text(0, "V2 Title")) + Frame(3, "TCON", Text(0, "(17)")), 0, 32) +
                            Audio() + Id3v1("V1 Title", "V1 Artist  ", "V1 Album", "1999", "V1 note ", 150);

TEST_F(SongInfoTest, Id3v2WinsAndTheId3v1TagFillsTheRest) {
  SongInfo info = Load(Write("song.mp3", kTagged));
  EXPECT_EQ(info.Title(), W("V2 Title"));
  EXPECT_EQ(info.Genre(), W("Rock"));
  EXPECT_EQ(info.Artist(), W("V1 Artist"));  // trailing spaces removed
  EXPECT_EQ(info.Album(), W("V1 Album"));
  EXPECT_EQ(info.Year(), W("1999"));
  EXPECT_EQ(info.Comment(), W("V1 note"));
  EXPECT_TRUE(info.Copyright().IsEmpty());
  EXPECT_EQ(info.Path(), dir_.Wide("song.mp3"));
}

TEST_F(SongInfoTest, GenreTextsAndId3v1GenreBytesAreNormalised) {
  const std::pair<const char*, const char*> cases[] = {
      {"(17)", "Rock"}, {"(151)", "Tokusatsu"}, {"(200)", ""}, {"(Rock)", "(Rock)"}, {"17", "17"}, {"(1000)", "(1000)"}};
  for (const auto& [text, genre] : cases) {
    SongInfo info = Load(Write("g.mp3", Tag(4, Frame(4, "TCON", Text(0, text))) + Audio()));
    EXPECT_EQ(info.Genre(), W(genre)) << text;
  }
  // An ID3v1 tag alone, read under the ID3v2 setting: names up to 151.
  for (const auto& [byte, genre] : {std::pair<uint8_t, const char*>{150, "MoeMoe"}, {200, ""}, {255, ""}})
    EXPECT_EQ(Load(Write("v1.mp3", Audio() + Id3v1("T", "", "", "", "", byte))).Genre(), W(genre)) << int{byte};
}

TEST_F(SongInfoTest, WithoutId3v2OnlyTheOwnId3v1ReaderRuns) {
  SourceOptions options;
  options.id3V2 = false;
  SongInfo info = Load(Write("song.mp3", kTagged), options);
  EXPECT_EQ(info.Title(), W("V1 Title"));
  EXPECT_EQ(info.Artist(), W("V1 Artist  "));  // spaces kept
  EXPECT_EQ(info.Genre(), W("MoeMoe"));
}

TEST_F(SongInfoTest, RiffInfoWinsOverEveryOtherTag) {
  std::string wave = Riff("RMP3", Chunk("data", Audio(20)) + Chunk("LIST", "INFO" + Chunk("INAM", "Riff title") +
                                                                         Chunk("ISFT", "Tool")));
  SongInfo info = Load(Write("song.rmp", wave + Id3v1("V1", "V1 Artist", "", "", "", 1)));
  EXPECT_EQ(info.Title(), W("Riff title"));
  EXPECT_EQ(info.Software(), W("Tool"));
  EXPECT_TRUE(info.Artist().IsEmpty());
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
  EXPECT_TRUE(IsTagFileExtension(W("mp3;rmp"), W("rmp")));
  EXPECT_FALSE(IsTagFileExtension(W("mp3;rmp"), W("mp")));
  EXPECT_FALSE(IsTagFileExtension(W("mp3;;rmp"), W("")));
}

TEST_F(SongInfoTest, UnreadableFilesLeaveEverythingEmpty) {
  SongInfo info = Load(dir_.Wide("missing.mp3"));
  for (int i = 0; i < kSongFieldCount; ++i) EXPECT_TRUE(info.Field(static_cast<SongField>(i)).IsEmpty());
  SongInfo reused = Load(Write("song.mp3", kTagged));
  reused.Load(dir_.Wide("missing.mp3"), SourceOptions());
  EXPECT_TRUE(reused.Title().IsEmpty());
  EXPECT_EQ(reused.Path(), dir_.Wide("missing.mp3"));
}

std::string ArtistAlbumTag() {
  return Tag(3, Frame(3, "TPE1", Text(0, "Band")) + Frame(3, "TALB", Text(0, "Disc"))) + Audio();
}

TEST_F(SongInfoTest, BackgroundPicturesInOrderOfNameAndExtension) {
  WString song = Write("Song.mp3", ArtistAlbumTag());
  Write("Song.bmp", "bmp");
  Write("Song.jpg", "jpg");
  Write("Band.jpeg", "jpeg");
  EXPECT_EQ(Load(song).BgFile(), dir_.Wide("Song.jpg"));
  std::filesystem::remove(dir_.Path() / "Song.jpg");
  std::filesystem::remove(dir_.Path() / "Song.bmp");
  EXPECT_EQ(Load(song).BgFile(), dir_.Wide("Band.jpeg"));
  std::filesystem::remove(dir_.Path() / "Band.jpeg");
  Write("Disc.bmp", "bmp");
  EXPECT_EQ(Load(song).BgFile(), dir_.Wide("Disc.bmp"));
  std::filesystem::remove(dir_.Path() / "Disc.bmp");
  EXPECT_TRUE(Load(song).BgFile().IsEmpty());
}

TEST_F(SongInfoTest, BackgroundFolderIsTheNameFollowedByADot) {
  WString song = Write("Song.mp3", ArtistAlbumTag());
  EXPECT_TRUE(Load(song).BgFolder().IsEmpty());
  MakeFolder("Disc");
  EXPECT_EQ(Load(song).BgFolder(), dir_.Wide("Disc."));
  MakeFolder("Band");
  EXPECT_EQ(Load(song).BgFolder(), dir_.Wide("Band."));
  MakeFolder("Song");
  SongInfo info = Load(song);
  EXPECT_EQ(info.BgFolder(), dir_.Wide("Song."));
  EXPECT_TRUE(info.BgFile().IsEmpty());
  // A folder named like a picture is found as a picture too: existence is all that counts.
  MakeFolder("Band.bmp");
  EXPECT_EQ(Load(song).BgFile(), dir_.Wide("Band.bmp"));
}

TEST_F(SongInfoTest, LyricsHeaderOverridesNonEmptyValuesOnly) {
  WString song = Write("Song.mp3", ArtistAlbumTag() + Id3v1("Tag title", "", "", "", "", 0));
  Write("Song.jpg", "jpg");
  SongInfo info = Load(song);
  LyricsDocument header;
  header.ParseText(W("@title=Header title\n@artist=\n@bgfolder=C:\\Pictures\nla la"));
  info.ApplyLyricsHeader(header);
  EXPECT_EQ(info.Title(), W("Header title"));
  EXPECT_EQ(info.Artist(), W("Band"));
  EXPECT_EQ(info.Album(), W("Disc"));
  EXPECT_EQ(info.BgFile(), dir_.Wide("Song.jpg"));
  EXPECT_EQ(info.BgFolder(), W("C:\\Pictures"));
  LyricsDocument empty;
  empty.ParseText(W("@title=\nla la"));
  info.ApplyLyricsHeader(empty);
  EXPECT_EQ(info.Title(), W("Header title"));
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
