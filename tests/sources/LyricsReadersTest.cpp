#include "sources/LyricsReaders.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "CheckedSource.h"
#include "TestText.h"
#include "base/CodePage.h"
#include "lyrics/LyricsFormat.h"
#include "lyrics/LyricsTimeline.h"

namespace {

using namespace std::string_literals;


// A 128-byte ID3v1 tag, which must follow the Lyrics3 block.
std::string Id3v1() { return "TAG"s + std::string(125, ' '); }

const std::string kAudio = "\xFF\xFB\x90\x64"s + std::string(200, '\x55');

// The Lyrics3 v2 block (without the ID3v1 tag after it) of most cases.
const std::string kBlock =
    "LYRICSBEGIN"s     // start marker
    "IND00002"         // field "IND", 2 bytes
    "10"               //   lyrics present, no time stamps
    "LYR00012"         // field "LYR", 12 bytes
    "[00:01]\x95\x5C" "abc"  //   lyrics: "[00:01]表abc" in Shift-JIS
    "000041"           // block size: 11 + 10 + 20
    "LYRICS200";       // end marker

bool ReadTag(const std::string& file, WString& text) {
  CheckedSource source(file);
  return ReadLyrics3Lyrics(source, text);
}

bool ReadText(const std::string& file, WString& text) {
  CheckedSource source(file);
  return ReadLyricsTextFile(source, text);
}

TEST(ReadLyrics3Lyrics, ReadsTheLyrFieldAfterOtherFields) {
  ASSERT_EQ(kBlock.size(), 41u + 6 + 9);  // the literal agrees with its size field
  WString text;
  ASSERT_TRUE(ReadTag(kAudio + kBlock + Id3v1(), text));
  EXPECT_EQ(text, W("[00:01]表abc"));
  // The block may also start the file.
  ASSERT_TRUE(ReadTag(kBlock + Id3v1(), text));
  EXPECT_EQ(text, W("[00:01]表abc"));
}

TEST(ReadLyrics3Lyrics, RejectsMisplacedOrDamagedBlocks) {
  std::string noLyr = "LYRICSBEGIN"s  // start marker
                      "IND00002"       // field "IND", 2 bytes
                      "10"             //   flags
                      "000021"         // block size: 11 + 10
                      "LYRICS200";     // end marker
  std::string badSize = kBlock;
  badSize.replace(kBlock.size() - 15, 6, "00x041");  // size digits stop at "x": 0
  std::string letters = kBlock;
  letters.replace(kBlock.size() - 15, 6, "abcdef");
  std::string tooBig = kBlock;
  tooBig.replace(kBlock.size() - 15, 6, "999999");  // more than the file holds
  std::string wrongSize = kBlock;
  wrongSize.replace(kBlock.size() - 15, 6, "000040");  // one short: no "LYRICSBEGIN" there
  std::string noBegin = kBlock;
  noBegin.replace(0, 11, "LYRICSBEGIX");
  std::string v1 = kBlock;
  v1.replace(kBlock.size() - 9, 9, "LYRICSEND");

  WString text = W("untouched");
  EXPECT_FALSE(ReadTag(kAudio + kBlock, text)) << "no ID3v1 tag after the block";
  EXPECT_FALSE(ReadTag(kAudio + noLyr + Id3v1(), text));
  EXPECT_FALSE(ReadTag(kAudio + badSize + Id3v1(), text));
  EXPECT_FALSE(ReadTag(kAudio + letters + Id3v1(), text));
  EXPECT_FALSE(ReadTag(kAudio + tooBig + Id3v1(), text));
  EXPECT_FALSE(ReadTag(tooBig + Id3v1(), text));
  EXPECT_FALSE(ReadTag(kAudio + wrongSize + Id3v1(), text));
  EXPECT_FALSE(ReadTag(kAudio + noBegin + Id3v1(), text));
  EXPECT_FALSE(ReadTag(kAudio + v1 + Id3v1(), text));
  EXPECT_FALSE(ReadTag("", text));
  EXPECT_FALSE(ReadTag(std::string(143, ' '), text));
  EXPECT_FALSE(ReadTag("000000LYRICS200"s + Id3v1(), text));  // 143 bytes, the smallest trailer
  EXPECT_FALSE(ReadTag(" 000000LYRICS200"s + Id3v1(), text));
  EXPECT_EQ(text, W("untouched"));
}

TEST(ReadLyrics3Lyrics, FieldSizesNeverReachPastTheBlock) {
  const std::string runsPast = "LYRICSBEGIN"s  // start marker
                               "IND00050"       // field "IND" claiming 50 bytes, past the block
                               "10"             //   flags
                               "LYR00003"       // field "LYR", 3 bytes
                               "abc"            //   lyrics
                               "000032"         // block size: 11 + 10 + 11
                               "LYRICS200";     // end marker
  const std::string lyrPast = "LYRICSBEGIN"s  // start marker
                              "LYR00009"       // field "LYR" claiming 9 bytes of the 3 left
                              "abc"            //   lyrics
                              "000022"         // block size: 11 + 11
                              "LYRICS200";     // end marker
  const std::string shortHeader = "LYRICSBEGIN"s  // start marker
                                  "IND00000"       // field "IND", empty
                                  "LYR00"          // a field header cut short by the block's end
                                  "000024"         // block size: 11 + 8 + 5
                                  "LYRICS200";     // end marker
  const std::string exact = "LYRICSBEGIN"s  // start marker
                            "LYR00003"       // field "LYR", 3 bytes, ending the block exactly
                            "abc"            //   lyrics
                            "000022"         // block size: 11 + 11
                            "LYRICS200";     // end marker
  WString text;
  EXPECT_FALSE(ReadTag(kAudio + runsPast + Id3v1(), text));
  EXPECT_FALSE(ReadTag(kAudio + lyrPast + Id3v1(), text));
  EXPECT_FALSE(ReadTag(kAudio + shortHeader + Id3v1(), text));
  // The following bytes of the file must not leak into the lyrics either.
  EXPECT_FALSE(ReadTag(lyrPast + Id3v1(), text));
  ASSERT_TRUE(ReadTag(kAudio + exact + Id3v1(), text));
  EXPECT_EQ(text, W("abc"));
}

TEST(ReadLyrics3Lyrics, DamagedTagsNeverReadOutsideTheFile) {
  // Random byte changes in the block and the trailer; CheckedSource and the
  // sanitizers report any read outside the data.
  const std::string file = kAudio + kBlock + Id3v1();
  const size_t blockStart = kAudio.size();
  std::mt19937 random(20240607);
  const char alphabet[] = "0123456789LYR9\x00 x";
  for (int round = 0; round < 3000; ++round) {
    std::string damaged = file;
    int changes = 1 + static_cast<int>(random() % 4);
    for (int c = 0; c < changes; ++c) {
      size_t at = blockStart + random() % (kBlock.size());
      damaged[at] = alphabet[random() % (sizeof alphabet - 1)];
    }
    if (random() % 8 == 0) damaged.erase(0, random() % (blockStart + 20));
    WString text;
    ReadTag(damaged, text);
  }
}

TEST(ReadLyricsTextFile, ReadsUpTo64KiBWithoutTheFinalEndOfFileMark) {
  WString text;
  ASSERT_TRUE(ReadText(std::string(65536, 'a'), text));
  EXPECT_EQ(text.Length(), 65536u);
  EXPECT_FALSE(ReadText(std::string(65537, 'a'), text));
  // 65536 bytes after the mark is dropped is still too large before it.
  EXPECT_FALSE(ReadText(std::string(65536, 'a') + "\x1A", text));

  ASSERT_TRUE(ReadText("[00:01]a\r\nb\x1A", text));
  EXPECT_EQ(text, W("[00:01]a\r\nb"));
  ASSERT_TRUE(ReadText("a\x1A\x1A", text));  // only the last byte is the mark
  EXPECT_EQ(text, W("a\x1A"));
  ASSERT_TRUE(ReadText("a\x1A" "b", text));
  EXPECT_EQ(text, W("a\x1A" "b"));
  ASSERT_TRUE(ReadText("\x1A", text));
  EXPECT_TRUE(text.IsEmpty());
  ASSERT_TRUE(ReadText("", text));
  EXPECT_TRUE(text.IsEmpty());
  // Shift-JIS, and the conversion ends at an embedded NUL.
  ASSERT_TRUE(ReadText("\x95\x5C\x83\x5C\r\nx\0y"s, text));
  EXPECT_EQ(text, W("表ソ\r\nx"));
}

class LyricsFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    // Every conversion below assumes Shift-JIS, as on the systems the plug-in is for.
    ASSERT_EQ(AnsiCodePage(), 932u) << "tests need the ANSI code page 932 (Wine: LANG=ja_JP.UTF-8)";
  }
  TempDir dir_;
};

TEST_F(LyricsFiles, ReaderChoosesByExtension) {
  WriteFileBytes(dir_.Path() / "song.Mp3", kAudio + kBlock + Id3v1());
  WriteFileBytes(dir_.Path() / "song.txt", "[00:02]text file");
  WriteFileBytes(dir_.Path() / "tag.lrc", kAudio + kBlock + Id3v1());
  LyricsFileReader reader;
  WString text;
  ASSERT_TRUE(reader.ReadLyricsText(dir_.Wide("song.Mp3"), text));
  EXPECT_EQ(text, W("[00:01]表abc"));
  ASSERT_TRUE(reader.ReadLyricsText(dir_.Wide("song.txt"), text));
  EXPECT_EQ(text, W("[00:02]text file"));
  // Any other extension is a text file, whatever it holds (over 64 KiB fails).
  ASSERT_TRUE(reader.ReadLyricsText(dir_.Wide("tag.lrc"), text));
  EXPECT_NE(text.ToUtf8().find("LYRICSBEGIN"), std::string::npos);
  EXPECT_FALSE(reader.ReadLyricsText(dir_.Wide("missing.txt"), text));
  EXPECT_FALSE(reader.ReadLyricsText(dir_.Wide(), text));  // a folder
}

// Shift-JIS lyrics whose trail bytes include 0x5C ("\"): "表" is 95 5C and "ソ" 83 5C.
const std::string kShiftJisLyrics =
    "@title=\x95\x5C\x83\x5C\r\n"                  // @title=表ソ
    "[00:01:00]\x82\xA0[00:02:00]\x95\x5C\r\n"     // [00:01:00]あ[00:02:00]表
    "\r\n"                                         // (empty line)
    "[00:03]\x83\x5C\x94\x5C[x]\\";                // [00:03]ソ能[x]\ .

void ExpectShiftJisLyrics(LyricsTimeline& timeline) {
  EXPECT_EQ(timeline.Title(), W("表ソ"));
  ASSERT_EQ(timeline.LineCount(), 4);
  EXPECT_EQ(timeline.LineText(1), W("あ表"));
  ASSERT_EQ(timeline.Line(1).tags.size(), 2u);
  EXPECT_EQ(timeline.Line(1).tags[1].time, 2000);
  EXPECT_EQ(timeline.Line(1).tags[1].position, 1);
  EXPECT_EQ(timeline.LineText(3), W("ソ能[x]\\"));
  EXPECT_EQ(timeline.Status(), StatusTimed | StatusKaraoke);
  EXPECT_EQ(timeline.DisplayLineAtTime(3500), 2);
}

// "表ソ" holds 0x5C as the trail byte of both characters: the folder must not be
// split there, and the text must come back byte for byte.
TEST_F(LyricsFiles, ShiftJisFileInAJapaneseFolderRoundTripsByteForByte) {
  const std::filesystem::path folder = dir_.Path() / std::filesystem::u8path("表ソ");
  std::filesystem::create_directory(folder);
  const std::filesystem::path file = folder / std::filesystem::u8path("歌詞.txt");
  const WString path = dir_.Wide("表ソ/歌詞.txt");
  ASSERT_TRUE(PlatformFileSystem().WriteFileReplacing(path, kShiftJisLyrics.data(), kShiftJisLyrics.size()));
  WriteFileBytes(folder / std::filesystem::u8path("歌詞.jpg"), "jpeg");  // becomes the background
  LyricsTimeline timeline;
  ASSERT_EQ(timeline.LoadLyricsSource(path, LyricsFileReader()), 1);
  ExpectShiftJisLyrics(timeline);
  EXPECT_EQ(timeline.BgFile(), dir_.Wide("表ソ/歌詞.jpg"));
  timeline.MarkModified();
  ASSERT_EQ(timeline.SaveToSource(), 1);
  EXPECT_EQ(timeline.ModificationCount(), 0u);
  EXPECT_EQ(ReadFileBytes(file), kShiftJisLyrics);

  TimeTag removed;
  ASSERT_EQ(timeline.RemoveNthTag(3, 0, removed), 1);
  ASSERT_EQ(timeline.SaveToSource(), 1);
  std::string expected = kShiftJisLyrics;
  expected.erase(expected.find("[00:03]"), 7);
  EXPECT_EQ(ReadFileBytes(file), expected);
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().u8string());
  EXPECT_EQ(names, (std::set<std::string>{"歌詞.jpg", "歌詞.txt"}));

  // A bare LF comes back as CR LF, the final end-of-file mark not at all.
  WriteFileBytes(file, "a\n\x95\x5C\r\nb\x1A");
  ASSERT_EQ(timeline.LoadLyricsSource(path, LyricsFileReader()), 1);
  ASSERT_EQ(timeline.SaveToSource(), 1);
  EXPECT_EQ(ReadFileBytes(file), "a\r\n\x95\x5C\r\nb");
}

}  // namespace
