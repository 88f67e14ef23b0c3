// The genre table and its "(n)" rule, the ID3v1 tag and the RIFF INFO walk.
#include <gtest/gtest.h>

#include <string>

#include "CheckedSource.h"
#include "TestText.h"
#include "TagBuilders.h"
#include "base/CodePage.h"
#include "sources/Genres.h"
#include "sources/Id3v1Reader.h"
#include "sources/RiffInfoReader.h"

namespace {

using namespace std::string_literals;
using namespace tagbuild;


const WString& F(const SongFields& fields, SongField field) { return FieldOf(fields, field); }

TEST(GenresTest, TableKeepsThePlayersOrderAndSpelling) {
  // The player's own misspellings are part of what users see and search for.
  for (const auto& [n, name] : {std::pair<int, const char*>{67, "Psychadelic"}, {133, "Negerpunk"},
                                {137, "Heaby Metal"}, {149, "TechnoAmbient"}, {152, ""}, {-1, ""}})
    EXPECT_EQ(GenreName(n), W(name)) << n;
  for (int n = 0; n < kGenreCount; ++n) EXPECT_FALSE(GenreName(n).IsEmpty()) << n;
}

TEST(GenresTest, BracketedNumbersBecomeNamesUpTo255) {
  EXPECT_EQ(NormaliseGenre(W("(17)")), W("Rock"));
  EXPECT_EQ(NormaliseGenre(W("(151)")), W("Tokusatsu"));
  EXPECT_EQ(NormaliseGenre(W("(0)")), W("Blues"));
  EXPECT_EQ(NormaliseGenre(W("(017)")), W("Rock"));
  EXPECT_TRUE(NormaliseGenre(W("(152)")).IsEmpty());
  EXPECT_TRUE(NormaliseGenre(W("(200)")).IsEmpty());
  EXPECT_TRUE(NormaliseGenre(W("(255)")).IsEmpty());
  for (const char* kept : {"(256)", "(1000)", "(99999999999999999999)", "(Rock)", "17", "()", "(17)Rock",
                           "Rock (17)", "(-1)", "(1 7)", "(", ")", ""})
    EXPECT_EQ(NormaliseGenre(W(kept)), W(kept)) << kept;
}

class Id3v1Test : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(AnsiCodePage(), 932u) << "tests need the ANSI code page 932 (Wine: LANG=ja_JP.UTF-8)"; }
};

TEST_F(Id3v1Test, ReadsEveryFieldAsAnsiText) {
  CheckedSource file(Audio() + Id3v1("\x90\xAF\x8B\xF3",  // title "星空" in Shift-JIS
                                     "Band", "Album", "1999", "Note", 150));
  SongFields fields;
  ASSERT_TRUE(ReadId3v1Fields(file, fields));
  EXPECT_EQ(F(fields, SongField::kTitle), W("星空"));
  EXPECT_EQ(F(fields, SongField::kArtist), W("Band"));
  EXPECT_EQ(F(fields, SongField::kAlbum), W("Album"));
  EXPECT_EQ(F(fields, SongField::kYear), W("1999"));
  EXPECT_EQ(F(fields, SongField::kComment), W("Note"));
  EXPECT_EQ(F(fields, SongField::kGenre), W("MoeMoe"));
}

TEST_F(Id3v1Test, GenreBytesPast151GiveNoGenre) {
  for (uint8_t genre : {152, 200, 255}) {
    CheckedSource file(Audio() + Id3v1("T", "", "", "", "", genre));
    SongFields fields;
    ASSERT_TRUE(ReadId3v1Fields(file, fields));
    EXPECT_TRUE(F(fields, SongField::kGenre).IsEmpty()) << int{genre};
  }
}

TEST_F(Id3v1Test, SpacePaddingStaysButTheTrimmedFormDropsIt) {
  CheckedSource file(Audio() + Id3v1("Song", "Band", "", "", "", 17, ' '));
  SongFields fields;
  ASSERT_TRUE(ReadId3v1Fields(file, fields));
  EXPECT_EQ(F(fields, SongField::kTitle), W(("Song" + std::string(26, ' ')).c_str()));
  Id3v1Tag tag;
  ASSERT_TRUE(ReadId3v1Tag(file, tag));
  EXPECT_EQ(Id3v1TrimmedText(tag.title), W("Song"));
  EXPECT_EQ(Id3v1TrimmedText("A  \0 B"s), W("A"));  // up to the zero byte, then trimmed
  EXPECT_EQ(Id3v1Text(tag.year), W("    "));
}

TEST_F(Id3v1Test, FullWidthFieldsAndTrackByteComments) {
  std::string title(30, 'x');
  // ID3v1.1: a zero byte and the track number in the comment's last two bytes.
  CheckedSource file(Id3v1(title, "", "", "2001", Pad("Comment", 28) + "\x07", 0));
  SongFields fields;
  ASSERT_TRUE(ReadId3v1Fields(file, fields));
  EXPECT_EQ(F(fields, SongField::kTitle), W(title.c_str()));
  EXPECT_EQ(F(fields, SongField::kYear), W("2001"));
  EXPECT_EQ(F(fields, SongField::kComment), W("Comment"));
}

TEST_F(Id3v1Test, ShortFilesAndMissingMarkersHaveNoTag) {
  SongFields fields;
  for (size_t size : {0, 3, 127}) {
    CheckedSource file("TAG" + std::string(size > 3 ? size - 3 : 0, 'a'));
    EXPECT_FALSE(ReadId3v1Fields(file, fields)) << size;
  }
  CheckedSource noMarker(Audio() + "TAx" + std::string(125, 'a'));
  EXPECT_FALSE(ReadId3v1Fields(noMarker, fields));
  CheckedSource exact(Id3v1("T", "", "", "", "", 0));  // exactly 128 bytes
  EXPECT_TRUE(ReadId3v1Fields(exact, fields));
}

class RiffInfoTest : public Id3v1Test {};

std::string Info(const std::string& subChunks) { return Chunk("LIST", "INFO" + subChunks); }
const std::string kFormat = Chunk("fmt ", std::string(16, '\x01'));

TEST_F(RiffInfoTest, EveryChunkFillsItsFieldThroughOddPads) {
  // Odd sizes without a zero byte: each is followed by one pad byte.
  std::string info = Chunk("INAM", "\x90\xAF\x8B\xF3" "a") + Chunk("IART", "b") + Chunk("IPRD", "c") +
                     Chunk("ICMT", "d") + Chunk("ICRD", "e") + Chunk("IGNR", "f") + Chunk("ICOP", "g") +
                     Chunk("IENG", "h") + Chunk("ISRC", "i") + Chunk("ISFT", "j") + Chunk("IXXX", "k");
  CheckedSource file(Riff("RMP3", Chunk("data", "abc") + Info(info)));
  SongFields fields;
  ASSERT_TRUE(ReadRiffInfo(file, fields));
  const char* expected[] = {"星空a", "b", "c", "e", "d", "f", "g", "h", "i", "j"};  // SongField order
  for (int i = 0; i < kSongFieldCount; ++i) EXPECT_EQ(fields[i], W(expected[i])) << i;
}

TEST_F(RiffInfoTest, TextEndsAtItsZeroByteAfterAnOddDataChunk) {
  CheckedSource file(Riff("WAVE", kFormat + Chunk("data", std::string(101, '\x10')) + Info(Chunk("INAM", "Song\0junk"s))));
  SongFields fields;
  ASSERT_TRUE(ReadRiffInfo(file, fields));
  EXPECT_EQ(F(fields, SongField::kTitle), W("Song"));
}

TEST_F(RiffInfoTest, TruncatedFilesKeepTextUpToTheEnd) {
  std::string whole = Riff("WAVE", Info(Chunk("IART", "Band") + Chunk("INAM", "Long title")));
  CheckedSource cut(whole.substr(0, whole.size() - 5));  // "Long " survives
  SongFields fields;
  ASSERT_TRUE(ReadRiffInfo(cut, fields));
  EXPECT_EQ(F(fields, SongField::kArtist), W("Band"));
  EXPECT_EQ(F(fields, SongField::kTitle), W("Long "));
  // Cut inside the next sub-chunk's header: the walk ends cleanly.
  CheckedSource cutHeader(whole.substr(0, whole.size() - 16));
  SongFields other;
  ASSERT_TRUE(ReadRiffInfo(cutHeader, other));
  EXPECT_EQ(F(other, SongField::kArtist), W("Band"));
  EXPECT_TRUE(F(other, SongField::kTitle).IsEmpty());
}

TEST_F(RiffInfoTest, SizesBeyondTheFileAreNeverFollowed) {
  // A list that claims 4 GB, a sub-chunk that claims 4 GB: read up to the file's end.
  std::string hugeList = "LIST" + LittleEndian32(0xFFFFFFFF) + "INFO" + "INAM" + LittleEndian32(0xFFFFFFF0) + "Song";
  CheckedSource file(Riff("WAVE", hugeList));
  SongFields fields;
  ASSERT_TRUE(ReadRiffInfo(file, fields));
  EXPECT_EQ(F(fields, SongField::kTitle), W("Song"));
  // A data chunk that claims more than the file: no INFO list is found after it.
  CheckedSource skipped(Riff("WAVE", "data" + LittleEndian32(0x7FFFFFF0) + "abcd" + Info(Chunk("INAM", "x"))));
  EXPECT_FALSE(ReadRiffInfo(skipped, fields));
}

TEST_F(RiffInfoTest, WalkEndsAtHighIdsRiffSizeAndOtherForms) {
  SongFields fields;
  CheckedSource highId(Riff("WAVE", Chunk("\x80xyz", "ab") + Info(Chunk("INAM", "x"))));
  EXPECT_FALSE(ReadRiffInfo(highId, fields));
  // The RIFF size says the file ends after the first chunk.
  std::string chunks = Chunk("data", "abcd") + Info(Chunk("INAM", "x"));
  CheckedSource shortRiff("RIFF" + LittleEndian32(12) + "WAVE" + chunks);
  EXPECT_FALSE(ReadRiffInfo(shortRiff, fields));
  CheckedSource avi(Riff("AVI ", Info(Chunk("INAM", "x"))));
  EXPECT_FALSE(ReadRiffInfo(avi, fields));
  // High sub-chunk ids end the INFO walk, keeping what came before.
  CheckedSource highSub(Riff("WAVE", Info(Chunk("INAM", "x") + Chunk("\xC0" "ART", "y") + Chunk("IART", "z"))));
  ASSERT_TRUE(ReadRiffInfo(highSub, fields));
  EXPECT_EQ(F(fields, SongField::kTitle), W("x"));
  EXPECT_TRUE(F(fields, SongField::kArtist).IsEmpty());
  for (size_t size = 0; size < 12; ++size) {
    CheckedSource tiny(Riff("WAVE", "").substr(0, size));
    EXPECT_FALSE(ReadRiffInfo(tiny, fields));
  }
}

TEST_F(RiffInfoTest, ChunksShorterThanTheirPeekAreSteppedByTheirSize) {
  // A 2-byte chunk (plus pad 0 since even) right before the INFO list.
  CheckedSource file(Riff("WAVE", Chunk("junk", "ab") + Info(Chunk("INAM", "x"))));
  SongFields fields;
  ASSERT_TRUE(ReadRiffInfo(file, fields));
  EXPECT_EQ(F(fields, SongField::kTitle), W("x"));
  // A list too short to hold "INFO" and a sub-chunk gives nothing but is no error.
  CheckedSource empty(Riff("WAVE", Chunk("LIST", "INFO")));
  SongFields none;
  EXPECT_TRUE(ReadRiffInfo(empty, none));
}

}  // namespace
