#include "sources/LyricsReaders.h"

#include <gtest/gtest.h>

#include <string>

#include "CheckedSource.h"
#include "TagBuilders.h"
#include "ShiftJisTest.h"
#include "TestText.h"
#include "base/CodePage.h"
#include "lyrics/LyricsFormat.h"
#include "lyrics/LyricsTimeline.h"

namespace {

using namespace std::string_literals;
using tagbuild::Lyrics3;

// The ID3v1 tag that must follow a Lyrics3 block.
std::string Id3v1() { return tagbuild::Id3v1("", "", "", "", "", 0); }
const std::string kAudio = tagbuild::Audio(200);

// The Lyrics3 v2 block (without the ID3v1 tag after it) of most cases.
const std::string kBlock = Lyrics3(
    "IND00002"               // field "IND", 2 bytes
    "10"                     //   lyrics present, no time stamps
    "LYR00012"               // field "LYR", 12 bytes
    "[00:01]\x95\x5C" "abc");  //   lyrics: "[00:01]表abc" in Shift-JIS

bool ReadTag(const std::string& file, WString& text) {
  CheckedSource source(file);
  return ReadLyrics3Lyrics(source, text);
}

bool ReadText(const std::string& file, WString& text) {
  CheckedSource source(file);
  return ReadLyricsTextFile(source, text);
}

TEST(ReadLyrics3Lyrics, ReadsTheLyrFieldAfterOtherFields) {
  ASSERT_EQ(kBlock.substr(kBlock.size() - 15, 6), "000041");  // 11 + 10 + 20
  // The block may also start the file, and a field may end the block exactly.
  for (const auto& [file, lyrics] : {std::pair<std::string, const char*>{kAudio + kBlock + Id3v1(), "[00:01]表abc"},
                                     {kBlock + Id3v1(), "[00:01]表abc"},
                                     {kAudio + Lyrics3("LYR00003" "abc") + Id3v1(), "abc"}}) {
    WString text;
    EXPECT_TRUE(ReadTag(file, text) && text == W(lyrics)) << lyrics;
  }
}

TEST(ReadLyrics3Lyrics, RejectsMisplacedOrDamagedBlocks) {
  auto withSize = [](const char* digits) { return std::string(kBlock).replace(kBlock.size() - 15, 6, digits); };
  const std::string lyrPast = Lyrics3("LYR00009" "abc");  // claims 9 bytes of the 3 left
  const std::string rejected[] = {
      kAudio + kBlock,                                             // no ID3v1 tag after the block
      kAudio + Lyrics3("IND00002" "10") + Id3v1(),                 // no LYR field
      kAudio + withSize("00x041") + Id3v1(),                       // size digits stop at "x": 0
      kAudio + withSize("abcdef") + Id3v1(),
      kAudio + withSize("999999") + Id3v1(),                       // more than the file holds
      withSize("999999") + Id3v1(),
      kAudio + withSize("000040") + Id3v1(),                       // one short: no "LYRICSBEGIN" there
      kAudio + std::string(kBlock).replace(0, 11, "LYRICSBEGIX") + Id3v1(),
      kAudio + std::string(kBlock).replace(kBlock.size() - 9, 9, "LYRICSEND") + Id3v1(),  // version 1
      "",
      std::string(143, ' '),
      "000000LYRICS200"s + Id3v1(),                                // 143 bytes, the smallest trailer
      " 000000LYRICS200"s + Id3v1(),
      // Field sizes never reach past the block, nor into the bytes after it.
      kAudio + Lyrics3("IND00050" "10" "LYR00003" "abc") + Id3v1(),  // IND claims 50 bytes
      kAudio + lyrPast + Id3v1(),
      lyrPast + Id3v1(),
      kAudio + Lyrics3("IND00000" "LYR00") + Id3v1(),              // a field header cut by the block's end
  };
  for (const std::string& file : rejected) {
    WString text = W("untouched");
    EXPECT_TRUE(!ReadTag(file, text) && text == W("untouched")) << file;
  }
}

TEST(ReadLyricsTextFile, ReadsUpTo64KiBWithoutTheFinalEndOfFileMark) {
  WString text;
  ASSERT_TRUE(ReadText(std::string(65536, 'a'), text));
  EXPECT_EQ(text.Length(), 65536u);
  const std::pair<std::string, const char*> cases[] = {
      {std::string(65537, 'a'), nullptr},
      {std::string(65536, 'a') + "\x1A", nullptr},  // too large before the mark is dropped
      {"[00:01]a\r\nb\x1A", "[00:01]a\r\nb"},
      {"a\x1A\x1A", "a\x1A"},  // only the last byte is the mark
      {"a\x1A" "b", "a\x1A" "b"},
      {"\x1A", ""},
      {"", ""},
      {"\x95\x5C\x83\x5C\r\nx\0y"s, "表ソ\r\nx"},  // Shift-JIS; the conversion ends at an embedded NUL
  };
  for (const auto& [bytes, expected] : cases) {
    const bool read = ReadText(bytes, text);
    EXPECT_EQ(read ? text.ToUtf8() : "<refused>", expected ? expected : "<refused>") << bytes.size();
  }
}

class LyricsFiles : public ShiftJisTest {
 protected:
  TempDir dir_;
};

TEST_F(LyricsFiles, ReaderChoosesByExtension) {
  WriteFileBytes(dir_.Path() / "song.Mp3", kAudio + kBlock + Id3v1());
  WriteFileBytes(dir_.Path() / "song.txt", "[00:02]text file");
  WriteFileBytes(dir_.Path() / "tag.lrc", kAudio + kBlock + Id3v1());
  LyricsFileReader reader;
  WString text;
  EXPECT_TRUE(reader.ReadLyricsText(dir_.Wide("song.Mp3"), text) && text == W("[00:01]表abc"));
  EXPECT_TRUE(reader.ReadLyricsText(dir_.Wide("song.txt"), text) && text == W("[00:02]text file"));
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
  EXPECT_EQ(timeline.Title().ToUtf8() + "|" + timeline.LineText(1).ToUtf8() + "|" + timeline.LineText(3).ToUtf8(),
            "表ソ|あ表|ソ能[x]\\");
  EXPECT_EQ(LyricsFileText(timeline).ToUtf8(), "@title=表ソ\r\n[00:01:00]あ[00:02:00]表\r\n\r\n[00:03]ソ能[x]\\");
  EXPECT_EQ(timeline.Status(), StatusTimed | StatusKaraoke);
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
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2);  // no stray file beside them

  // A bare LF comes back as CR LF, the final end-of-file mark not at all.
  WriteFileBytes(file, "a\n\x95\x5C\r\nb\x1A");
  ASSERT_EQ(timeline.LoadLyricsSource(path, LyricsFileReader()), 1);
  ASSERT_EQ(timeline.SaveToSource(), 1);
  EXPECT_EQ(ReadFileBytes(file), "a\r\n\x95\x5C\r\nb");
}

}  // namespace
