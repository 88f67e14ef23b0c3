// The ID3v2 reader: versions, unsynchronisation, compression, encodings, which frame
// wins, and a cross-check against TagLib where the two libraries mean the same.
#include "sources/Id3v2Reader.h"

#include <gtest/gtest.h>

#include <taglib/id3v2frame.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tbytevectorstream.h>

#include <string>

#include "TestText.h"
#include "TagBuilders.h"
#include "base/CodePage.h"

namespace {

using namespace std::string_literals;
using namespace tagbuild;

class Id3v2Test : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(AnsiCodePage(), 932u) << "tests need the ANSI code page 932 (Wine: LANG=ja_JP.UTF-8)"; }

  SongFields Read(const std::string& file, bool expectTag = true) {
    MemoryByteSource source(file);
    SongFields fields;
    EXPECT_EQ(ReadId3v2Fields(source, fields), expectTag);
    return fields;
  }
};

const WString& F(const SongFields& fields, SongField field) { return FieldOf(fields, field); }

const std::string kSjisTitle = "\x90\xAF\x8B\xF3";  // "星空" in Shift-JIS

// The seven frames in every version's spelling, Latin-1 (ANSI) text.
std::string SevenFrames(int version) {
  const char* const ids2[] = {"TT2", "TP1", "TAL", "COM", "TYE", "TCR", "TCO"};
  const char* const ids34[] = {"TIT2", "TPE1", "TALB", "COMM", "TYER", "TCOP", "TCON"};
  const char* const* ids = version == 2 ? ids2 : ids34;
  return Frame(version, ids[0], Text(0, kSjisTitle)) + Frame(version, ids[1], Text(0, "Band")) +
         Frame(version, ids[2], Text(0, "Album")) + Frame(version, ids[3], Comment("", "Nice")) +
         Frame(version, ids[4], Text(0, "1999")) + Frame(version, ids[5], Text(0, "(C) Us")) +
         Frame(version, ids[6], Text(0, "(17)"));
}

TEST_F(Id3v2Test, EveryVersionGivesTheSevenFrames) {
  for (int version : {2, 3, 4}) {
    SongFields fields = Read(Tag(version, SevenFrames(version), 0, 64) + Audio());
    EXPECT_EQ(F(fields, SongField::kTitle), W("星空")) << version;
    EXPECT_EQ(F(fields, SongField::kArtist), W("Band")) << version;
    EXPECT_EQ(F(fields, SongField::kAlbum), W("Album")) << version;
    EXPECT_EQ(F(fields, SongField::kComment), W("Nice")) << version;
    EXPECT_EQ(F(fields, SongField::kYear), W("1999")) << version;
    EXPECT_EQ(F(fields, SongField::kCopyright), W("(C) Us")) << version;
    EXPECT_EQ(F(fields, SongField::kGenre), W("(17)")) << version;  // normalised by SongInfo
  }
}

TEST_F(Id3v2Test, EncodingsGiveTheirFirstValue) {
  std::string body = Frame(3, "TIT2", Text(1, Utf16LeWithBom(u"星空\u00e9") + "\0\0"s + Utf16LeWithBom(u"second"))) +
                     Frame(3, "TPE1", Text(0, "Band\0Other"s));
  SongFields v3 = Read(Tag(3, body));
  EXPECT_EQ(F(v3, SongField::kTitle), W("星空é"));
  EXPECT_EQ(F(v3, SongField::kArtist), W("Band"));

  SongFields v4 = Read(Tag(4, Frame(4, "TALB", Text(2, Utf16Be(u"アルバム") + "\0\0"s + Utf16Be(u"x"))) +
                                  Frame(4, "TIT2", Text(3, "\xE6\x98\x9F\xFF" "a\0b"s)) +
                                  Frame(4, "TPE1", Text(1, Utf16Be(u"BE").insert(0, "\xFE\xFF")))));
  EXPECT_EQ(F(v4, SongField::kAlbum), W("アルバム"));
  EXPECT_EQ(F(v4, SongField::kTitle), W("星\xEF\xBF\xBD" "a"));  // an invalid byte becomes U+FFFD
  EXPECT_EQ(F(v4, SongField::kArtist), W("BE"));
}

TEST_F(Id3v2Test, UndecodableFramesAreSkippedAndTheWalkGoesOn) {
  std::string body = Frame(3, "TIT2", Text(9, "bad encoding")) + Frame(3, "TIT2", "") +
                     Frame(3, "TIT2", Text(0, "Good")) + Frame(3, "TIT2", Text(0, "Later")) +
                     Frame(3, "COMM", "\0e"s) +  // cut inside the language
                     Frame(3, "COMM", "\0eng" "no terminator"s) + Frame(3, "TPE1", Text(0, "Band"));
  SongFields fields = Read(Tag(3, body));
  EXPECT_EQ(F(fields, SongField::kTitle), W("Good"));
  EXPECT_EQ(F(fields, SongField::kArtist), W("Band"));
  EXPECT_TRUE(F(fields, SongField::kComment).IsEmpty());
}

TEST_F(Id3v2Test, CommentWithEmptyDescriptionWins) {
  std::string body = Frame(3, "COMM", Comment("iTunNORM", " 0000")) + Frame(3, "COMM", Comment("", "Mine")) +
                     Frame(3, "COMM", Comment("", "Second"));
  EXPECT_EQ(F(Read(Tag(3, body)), SongField::kComment), W("Mine"));
  // Without one, the first comment.
  std::string others = Frame(3, "COMM", Comment("a", "First")) + Frame(3, "COMM", Comment("b", "Next"));
  EXPECT_EQ(F(Read(Tag(3, others)), SongField::kComment), W("First"));
  // UTF-16: an empty description is a byte-order mark and a zero unit.
  std::string utf16 = "\x01" "eng"s + Utf16LeWithBom(u"d") + "\0\0"s + Utf16LeWithBom(u"desc'd") + "\0\0"s;
  std::string empty16 = "\x01" "eng"s + Utf16LeWithBom(u"") + "\0\0"s + Utf16LeWithBom(u"コメント");
  EXPECT_EQ(F(Read(Tag(3, Frame(3, "COMM", utf16) + Frame(3, "COMM", empty16))), SongField::kComment),
            W("コメント"));
}

TEST_F(Id3v2Test, YearFromTyerElseFromTdrcIn24Only) {
  EXPECT_EQ(F(Read(Tag(4, Frame(4, "TDRC", Text(0, "2004-05-06")))), SongField::kYear), W("2004"));
  EXPECT_EQ(F(Read(Tag(4, Frame(4, "TDRC", Text(0, "2004")) + Frame(4, "TYER", Text(0, "1999")))),
                SongField::kYear),
            W("1999"));
  EXPECT_TRUE(F(Read(Tag(3, Frame(3, "TDRC", Text(0, "2004")))), SongField::kYear).IsEmpty());
  EXPECT_EQ(F(Read(Tag(4, Frame(4, "TDRC", Text(0, "20")))), SongField::kYear), W("20"));
}

TEST_F(Id3v2Test, TagLevelUnsynchronisationIn23And22) {
  // 0xFF bytes in the text: unsynchronisation puts zero bytes after them.
  std::string title = Text(1, Utf16LeWithBom(u"\u00ff\u00ff"));
  for (int version : {2, 3}) {
    std::string body = Unsync(Frame(version, version == 2 ? "TT2" : "TIT2", title));
    SongFields fields = Read(Tag(version, body, 0x80));
    EXPECT_EQ(F(fields, SongField::kTitle), W("ÿÿ")) << version;
  }
}

TEST_F(Id3v2Test, FrameLevelUnsynchronisationAndDataLengthIn24) {
  std::string plain = Text(1, Utf16LeWithBom(u"\u00ffA"));
  std::string content = Synchsafe(static_cast<uint32_t>(plain.size())) + Unsync(plain);
  SongFields fields = Read(Tag(4, Frame(4, "TIT2", content, 0x0003) + Frame(4, "TPE1", Text(0, "Band"))));
  EXPECT_EQ(F(fields, SongField::kTitle), W("ÿA"));
  EXPECT_EQ(F(fields, SongField::kArtist), W("Band"));
  // The tag-level flag of 2.4 means every frame is unsynchronised.
  SongFields tagged = Read(Tag(4, Frame(4, "TIT2", Unsync(plain)), 0x80));
  EXPECT_EQ(F(tagged, SongField::kTitle), W("ÿA"));
}

TEST_F(Id3v2Test, CompressedFramesAreInflated) {
  std::string text = Text(0, kSjisTitle + std::string(300, 'a'));
  std::string v3 = BigEndian(static_cast<uint32_t>(text.size()), 4) + Deflate(text);
  std::string v4 = Synchsafe(static_cast<uint32_t>(text.size())) + Deflate(text);
  std::string expected = "星空" + std::string(300, 'a');
  EXPECT_EQ(F(Read(Tag(3, Frame(3, "TIT2", v3, 0x0080))), SongField::kTitle), W(expected.c_str()));
  EXPECT_EQ(F(Read(Tag(4, Frame(4, "TIT2", v4, 0x0009))), SongField::kTitle), W(expected.c_str()));
  // Grouped as well: the group byte comes after the inflated size in 2.3.
  std::string grouped = BigEndian(static_cast<uint32_t>(text.size()), 4) + "\x05" + Deflate(text);
  EXPECT_EQ(F(Read(Tag(3, Frame(3, "TIT2", grouped, 0x00A0))), SongField::kTitle), W(expected.c_str()));
}

TEST_F(Id3v2Test, BrokenOrHugeCompressionAndEncryptionAreSkipped) {
  std::string bomb = Deflate(Text(0, std::string(3 << 20, 'a')));  // 3 MB of text
  std::string body =
      Frame(3, "TIT2", BigEndian(3 << 20, 4) + bomb, 0x0080) +              // inflates past the bound
      Frame(3, "TIT2", BigEndian(100, 4) + "not zlib at all", 0x0080) +    // corrupt stream
      Frame(3, "TIT2", BigEndian(10, 4) + bomb.substr(0, 4), 0x0080) +     // cut short, still nothing decoded
      Frame(3, "TPE1", "\x01" + Text(0, "secret"), 0x0040) +               // encrypted
      Frame(3, "TALB", Text(0, "Album"));
  SongFields fields = Read(Tag(3, body));
  EXPECT_TRUE(F(fields, SongField::kTitle).IsEmpty());
  EXPECT_TRUE(F(fields, SongField::kArtist).IsEmpty());
  EXPECT_EQ(F(fields, SongField::kAlbum), W("Album"));
  // A 2.4 frame with a claimed length over the bound is not inflated at all.
  EXPECT_TRUE(F(Read(Tag(4, Frame(4, "TIT2", Synchsafe(200 << 20) + bomb, 0x0009))), SongField::kTitle).IsEmpty());
}

TEST_F(Id3v2Test, ExtendedHeadersAreSkipped) {
  std::string v3Extended = BigEndian(6, 4) + std::string(6, '\0');      // size excludes itself
  std::string v4Extended = Synchsafe(6) + "\x01\x00"s;                  // size includes itself
  EXPECT_EQ(F(Read(Tag(3, v3Extended + Frame(3, "TIT2", Text(0, "Three")), 0x40)), SongField::kTitle), W("Three"));
  EXPECT_EQ(F(Read(Tag(4, v4Extended + Frame(4, "TIT2", Text(0, "Four")), 0x40)), SongField::kTitle), W("Four"));
  // An extended header larger than the tag leaves nothing to read.
  SongFields none = Read(Tag(3, BigEndian(0x7FFFFFFF, 4) + Frame(3, "TIT2", Text(0, "x")), 0x40));
  EXPECT_TRUE(F(none, SongField::kTitle).IsEmpty());
}

TEST_F(Id3v2Test, PlainSizesIn24TagsAreRecognised) {
  // 200 bytes of text: as synchsafe the size bytes 00 00 00 C8 read 72.
  std::string long1 = Text(0, std::string(199, 'x'));
  std::string body = FramePlainSize("TIT2", long1) + FramePlainSize("TPE1", Text(0, "Band"));
  SongFields fields = Read(Tag(4, body, 0, 16));
  EXPECT_EQ(F(fields, SongField::kTitle), W(std::string(199, 'x').c_str()));
  EXPECT_EQ(F(fields, SongField::kArtist), W("Band"));
  // Correct synchsafe sizes are kept even when the plain reading also leads somewhere.
  std::string synchsafe = Frame(4, "TIT2", Text(0, std::string(199, 'y'))) + Frame(4, "TPE1", Text(0, "Band"));
  EXPECT_EQ(F(Read(Tag(4, synchsafe)), SongField::kArtist), W("Band"));
}

TEST_F(Id3v2Test, WalkEndsAtPaddingBadIdsAndOversizedFrames) {
  std::string after = Frame(3, "TPE1", Text(0, "Band"));
  EXPECT_TRUE(F(Read(Tag(3, Frame(3, "TIT2", Text(0, "T")) + std::string(10, '\0') + after)), SongField::kArtist)
                  .IsEmpty());
  EXPECT_TRUE(F(Read(Tag(3, Frame(3, "tit2", Text(0, "T")) + after)), SongField::kArtist).IsEmpty());
  std::string oversized = "TIT2" + BigEndian(1000, 4) + "\0\0"s + Text(0, "T");
  SongFields fields = Read(Tag(3, oversized + after));
  EXPECT_TRUE(F(fields, SongField::kTitle).IsEmpty());
  EXPECT_TRUE(F(fields, SongField::kArtist).IsEmpty());
  // A tag whose size runs past the file reads what the file holds.
  std::string whole = Tag(3, Frame(3, "TIT2", Text(0, "Title")) + after, 0, 4096);
  EXPECT_EQ(F(Read(whole.substr(0, whole.size() - 4000)), SongField::kArtist), W("Band"));
}

TEST_F(Id3v2Test, OnlyATagAtTheStartCounts) {
  Read(Audio() + Tag(3, Frame(3, "TIT2", Text(0, "T"))), false);
  Read("ID3\x05\0\0\0\0\0\x10"s + std::string(16, 'a'), false);  // unknown version
  Read("ID3\x03\0\0\0\0\x80\x10"s + std::string(16, 'a'), false); // size byte with its high bit
  Read("ID3\x02\0\x40\0\0\0\x10"s + std::string(16, 'a'), false); // 2.2 compressed as a whole
  Read("ID3\x03\0\0\0\0"s, false);
  Read("", false);
}

// TagLib's view of the same bytes, for the frames whose raw text both agree on.
std::string TagLibText(const std::string& file, const char* id) {
  TagLib::ByteVector bytes(file.data(), static_cast<unsigned>(file.size()));
  TagLib::ByteVectorStream stream(bytes);
  TagLib::MPEG::File mpeg(&stream, TagLib::ID3v2::FrameFactory::instance());
  TagLib::ID3v2::Tag* tag = mpeg.ID3v2Tag();
  if (!tag) return "<no tag>";
  const TagLib::ID3v2::FrameList& frames = tag->frameListMap()[id];
  return frames.isEmpty() ? "" : frames.front()->toString().to8Bit(true);
}

TEST_F(Id3v2Test, AgreesWithTagLibOnTheFramesBothReadAlike) {
  std::string title = Text(0, "Latin title");
  std::string compressedAlbum = Text(3, "Album \xE2\x98\x85");
  std::string cases[] = {
      Tag(3, Frame(3, "TIT2", Text(1, Utf16LeWithBom(u"タイトル"))) + Frame(3, "TPE1", Text(0, "Band")) +
                 Frame(3, "TALB", BigEndian(static_cast<uint32_t>(compressedAlbum.size()), 4) +
                                      Deflate(compressedAlbum), 0x0080) +
                 Frame(3, "TCOP", Text(1, Utf16LeWithBom(u"(C) ☆"))) + Frame(3, "COMM", Comment("", "Hello")),
             0, 32),
      Tag(4, Frame(4, "TIT2", Text(3, "\xE6\x98\x9F\xE7\xA9\xBA")) + Frame(4, "TPE1", Text(2, Utf16Be(u"Band"))) +
                 Frame(4, "TALB", Synchsafe(static_cast<uint32_t>(compressedAlbum.size())) +
                                      Deflate(compressedAlbum), 0x0009) +
                 Frame(4, "TCOP", Text(0, "Copy")) + Frame(4, "COMM", Comment("", "Hi", 3)),
             0, 32),
      Tag(3, Unsync(Frame(3, "TIT2", Text(1, Utf16LeWithBom(u"ÿÿ title")))) + Frame(3, "TPE1", title), 0x80),
  };
  for (const std::string& tag : cases) {
    std::string file = tag + Audio(2000);
    SongFields fields = Read(file);
    EXPECT_EQ(F(fields, SongField::kTitle).ToUtf8(), TagLibText(file, "TIT2"));
    EXPECT_EQ(F(fields, SongField::kArtist).ToUtf8(), TagLibText(file, "TPE1"));
    EXPECT_EQ(F(fields, SongField::kAlbum).ToUtf8(), TagLibText(file, "TALB"));
    EXPECT_EQ(F(fields, SongField::kCopyright).ToUtf8(), TagLibText(file, "TCOP"));
    // TagLib shows a comment as "[description] text" only when it has a description.
    EXPECT_EQ(F(fields, SongField::kComment).ToUtf8(), TagLibText(file, "COMM"));
  }
}

}  // namespace
