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
  for (const auto& [text, genre] : {std::pair<const char*, const char*>{"(17)", "Rock"}, {"(151)", "Tokusatsu"},
                                    {"(0)", "Blues"}, {"(017)", "Rock"}, {"(152)", ""}, {"(200)", ""}, {"(255)", ""}})
    EXPECT_EQ(NormaliseGenre(W(text)), W(genre)) << text;
  for (const char* kept : {"(256)", "(1000)", "(99999999999999999999)", "(Rock)", "17", "()", "(17)Rock",
                           "Rock (17)", "(-1)", "(1 7)", "(", ")", ""})
    EXPECT_EQ(NormaliseGenre(W(kept)), W(kept)) << kept;
}

using Id3v1Test = ShiftJisTest;

TEST_F(Id3v1Test, ReadsEveryFieldAsAnsiText) {
  CheckedSource file(Audio() + Id3v1("\x90\xAF\x8B\xF3",  // title "星空" in Shift-JIS
                                     "Band", "Album", "1999", "Note", 150));
  SongFields fields;
  ASSERT_TRUE(ReadId3v1Fields(file, fields));
  const char* const expected[] = {"星空", "Band", "Album", "1999", "Note", "MoeMoe"};  // SongField order
  for (int i = 0; i < 6; ++i) EXPECT_EQ(fields[i], W(expected[i])) << expected[i];
  for (uint8_t genre : {152, 200, 255}) {  // past the table: no genre
    CheckedSource other(Audio() + Id3v1("T", "", "", "", "", genre));
    ASSERT_TRUE(ReadId3v1Fields(other, fields));
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
  EXPECT_EQ(fields[0].ToUtf8() + "|" + fields[3].ToUtf8() + "|" + fields[4].ToUtf8(), title + "|2001|Comment");
}

TEST_F(Id3v1Test, ShortFilesAndMissingMarkersHaveNoTag) {
  SongFields fields;
  for (const std::string& bytes : {"TAG"s, "TAG" + std::string(124, 'a'), Audio() + "TAx" + std::string(125, 'a')}) {
    CheckedSource file(bytes);
    EXPECT_FALSE(ReadId3v1Fields(file, fields)) << bytes.size();
  }
  CheckedSource exact(Id3v1("T", "", "", "", "", 0));  // exactly 128 bytes
  EXPECT_TRUE(ReadId3v1Fields(exact, fields));
}

using RiffInfoTest = ShiftJisTest;

std::string Info(const std::string& subChunks) { return Chunk("LIST", "INFO" + subChunks); }

// One field of a whole file as UTF-8, "<none>" when no INFO list is found.
std::string ReadRiff(const std::string& file, SongField field) {
  CheckedSource source(file);
  SongFields fields;
  return ReadRiffInfo(source, fields) ? F(fields, field).ToUtf8() : "<none>";
}

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

TEST_F(RiffInfoTest, DamagedAndHostileFiles) {
  const SongField kTitle = SongField::kTitle, kArtist = SongField::kArtist;
  const std::string cut = Riff("WAVE", Info(Chunk("IART", "Band") + Chunk("INAM", "Long title")));
  const std::string highSub = Riff("WAVE", Info(Chunk("INAM", "x") + Chunk("\xC0" "ART", "y") + Chunk("IART", "z")));
  const struct {
    const char* what;
    std::string file;
    SongField field;
    const char* expected;
  } cases[] = {
      {"text ends at its zero byte after an odd data chunk",
       Riff("WAVE", Chunk("fmt ", std::string(16, '\x01')) + Chunk("data", std::string(101, '\x10')) +
                        Info(Chunk("INAM", "Song\0junk"s))), kTitle, "Song"},
      // Truncated files keep text up to the end, and a cut header ends the walk.
      {"cut in the title", cut.substr(0, cut.size() - 5), kTitle, "Long "},
      {"before the cut", cut.substr(0, cut.size() - 5), kArtist, "Band"},
      {"cut in a header", cut.substr(0, cut.size() - 16), kTitle, ""},
      {"before a cut header", cut.substr(0, cut.size() - 16), kArtist, "Band"},
      // Sizes beyond the file are never followed: a list and a sub-chunk claiming 4 GB
      // are read up to the file's end; no INFO list is found after an overlong chunk.
      {"4 GB list", Riff("WAVE", "LIST" + LittleEndian32(0xFFFFFFFF) + "INFO" + "INAM" + LittleEndian32(0xFFFFFFF0) + "Song"),
       kTitle, "Song"},
      {"overlong data", Riff("WAVE", "data" + LittleEndian32(0x7FFFFFF0) + "abcd" + Info(Chunk("INAM", "x"))), kTitle, "<none>"},
      // The walk ends at high ids, at the RIFF size and at other forms.
      {"high chunk id", Riff("WAVE", Chunk("\x80xyz", "ab") + Info(Chunk("INAM", "x"))), kTitle, "<none>"},
      {"RIFF size ends early", "RIFF" + LittleEndian32(12) + "WAVE" + Chunk("data", "abcd") + Info(Chunk("INAM", "x")),
       kTitle, "<none>"},
      {"AVI", Riff("AVI ", Info(Chunk("INAM", "x"))), kTitle, "<none>"},
      {"before a high sub-chunk id", highSub, kTitle, "x"},
      {"after a high sub-chunk id", highSub, kArtist, ""},
      // A chunk shorter than the reader's peek is stepped by its size.
      {"2-byte chunk", Riff("WAVE", Chunk("junk", "ab") + Info(Chunk("INAM", "x"))), kTitle, "x"},
      {"list with only INFO", Riff("WAVE", Chunk("LIST", "INFO")), kTitle, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadRiff(c.file, c.field), c.expected) << c.what;
  for (size_t size = 0; size < 12; ++size) EXPECT_EQ(ReadRiff(Riff("WAVE", "").substr(0, size), kTitle), "<none>");
}

}  // namespace
