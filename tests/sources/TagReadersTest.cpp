// The genre table and its "(n)" rule, the ID3v1 tag and the RIFF INFO walk.
#include <gtest/gtest.h>

#include <string>

#include "CheckedSource.h"
#include "ShiftJisTest.h"
#include "TestText.h"
#include "TagBuilders.h"
#include "base/CodePage.h"
#include "sources/Genres.h"
#include "sources/Id3v1Reader.h"
#include "sources/RiffInfoReader.h"

namespace {

using namespace std::string_literals;
using namespace tagbuild;

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

// The six ID3v1 fields of a whole file, "|" between them; "<no tag>" when there is none.
std::string Id3v1Fields(const std::string& file) {
  CheckedSource source(file);
  SongFields fields;
  if (!ReadId3v1Fields(source, fields)) return "<no tag>";
  std::string out;
  for (int i = 0; i < 6; ++i) out += (i ? "|" : "") + fields[i].ToUtf8();
  return out;
}

TEST_F(Id3v1Test, ReadsEveryFieldAsAnsiTextWithItsPadding) {
  const std::string full(30, 'x'), spaces(26, ' ');
  const std::pair<std::string, std::string> cases[] = {
      {Audio() + Id3v1("\x90\xAF\x8B\xF3", "Band", "Album", "1999", "Note", 150), "星空|Band|Album|1999|Note|MoeMoe"},
      {Audio() + Id3v1("T", "", "", "", "", 152), "T|||||"},  // past the table: no genre
      {Audio() + Id3v1("T", "", "", "", "", 255), "T|||||"},
      // Space padding stays; ID3v1.1 puts a zero byte and the track in the comment's last two bytes.
      {Audio() + Id3v1("Song", "Band", "", "", "", 17, ' '), "Song" + spaces + "|Band" + spaces + "|" + std::string(30, ' ') +
                                                                 "|    |" + std::string(30, ' ') + "|Rock"},
      {Id3v1(full, "", "", "2001", Pad("Comment", 28) + "\x07", 0), full + "|||2001|Comment|Blues"},  // exactly 128 bytes
      {"TAG" + std::string(124, 'a'), "<no tag>"},
      {Audio() + "TAx" + std::string(125, 'a'), "<no tag>"},
  };
  for (const auto& [file, fields] : cases) EXPECT_EQ(Id3v1Fields(file), fields) << file.size();
  // The trimmed form SongInfo shows: up to the zero byte, without the padding.
  CheckedSource file(cases[3].first);
  Id3v1Tag tag;
  ASSERT_TRUE(ReadId3v1Tag(file, tag));
  EXPECT_EQ(Id3v1TrimmedText(tag.title).ToUtf8() + "|" + Id3v1TrimmedText("A  \0 B"s).ToUtf8() + "|" +
                Id3v1Text(tag.year).ToUtf8(), "Song|A|    ");
}

using RiffInfoTest = ShiftJisTest;

std::string Info(const std::string& subChunks) { return Chunk("LIST", "INFO" + subChunks); }

// One field of a whole file as UTF-8, "<none>" when no INFO list is found.
std::string ReadRiff(const std::string& file, SongField field) {
  CheckedSource source(file);
  SongFields fields;
  return ReadRiffInfo(source, fields) ? FieldOf(fields, field).ToUtf8() : "<none>";
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
