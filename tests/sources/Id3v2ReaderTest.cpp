// The ID3v2 reader: versions, unsynchronisation, compression, encodings, which frame
// wins, and what damaged or hostile tags leave.
#include "sources/Id3v2Reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShiftJisTest.h"
#include "TestText.h"
#include "TagBuilders.h"
#include "base/CodePage.h"

namespace {

using namespace std::string_literals;
using namespace tagbuild;

using Id3v2Test = ShiftJisTest;

// Some fields of a whole file as UTF-8, "|" between them; "<no tag>" when the reader finds none.
std::string Read(const std::string& file, const std::vector<SongField>& wanted) {
  MemoryByteSource source(file);
  SongFields fields;
  if (!ReadId3v2Fields(source, fields)) return "<no tag>";
  std::string out;
  for (size_t i = 0; i < wanted.size(); ++i) out += (i ? "|" : "") + FieldOf(fields, wanted[i]).ToUtf8();
  return out;
}

const std::string kSjisTitle = "\x90\xAF\x8B\xF3";  // "星空" in Shift-JIS

TEST_F(Id3v2Test, EveryVersionGivesTheSevenFrames) {
  const char* const ids[][7] = {{"TT2", "TP1", "TAL", "COM", "TYE", "TCR", "TCO"},
                                {"TIT2", "TPE1", "TALB", "COMM", "TYER", "TCOP", "TCON"}};
  const SongField fields[] = {SongField::kTitle, SongField::kArtist,    SongField::kAlbum, SongField::kComment,
                              SongField::kYear,  SongField::kCopyright, SongField::kGenre};
  const char* const ansi[] = {"\x90\xAF\x8B\xF3", "Band", "Album", "Nice", "1999", "(C) Us", "(17)"};
  for (int version : {2, 3, 4}) {
    std::string body;
    for (int i = 0; i < 7; ++i)
      body += Frame(version, ids[version == 2 ? 0 : 1][i], i == 3 ? Comment("", ansi[i]) : Text(0, ansi[i]));
    // The genre's name is SongInfo's job.
    EXPECT_EQ(Read(Tag(version, body, 0, 64) + Audio(), {std::begin(fields), std::end(fields)}),
              "星空|Band|Album|Nice|1999|(C) Us|(17)") << version;
  }
}

struct Case {
  const char* what;
  std::string file;
  std::vector<SongField> fields;
  std::string expected;
};

const SongField kTitle = SongField::kTitle, kArtist = SongField::kArtist, kAlbum = SongField::kAlbum,
                kComment = SongField::kComment, kYear = SongField::kYear;

TEST_F(Id3v2Test, FramesFlagsAndDamage) {
  const std::string undecodable = Tag(3, Frame(3, "TIT2", Text(9, "bad encoding")) + Frame(3, "TIT2", "") +
                                             Frame(3, "TIT2", Text(0, "Good")) + Frame(3, "TIT2", Text(0, "Later")) +
                                             Frame(3, "COMM", "\0e"s) +  // cut inside the language
                                             Frame(3, "COMM", "\0eng" "no terminator"s) +
                                             Frame(3, "TPE1", Text(0, "Band")));
  const std::string utf16Comment = "\x01" "eng"s + Utf16LeWithBom(u"d") + "\0\0"s + Utf16LeWithBom(u"desc'd") + "\0\0"s;
  const std::string empty16Comment = "\x01" "eng"s + Utf16LeWithBom(u"") + "\0\0"s + Utf16LeWithBom(u"コメント");
  const std::string ffA = Text(1, Utf16LeWithBom(u"\u00ffA"));
  const std::string text = Text(0, kSjisTitle + std::string(300, 'a'));
  const std::string inflated = "星空" + std::string(300, 'a');
  const std::string bomb = Deflate(Text(0, std::string(3 << 20, 'a')));  // 3 MB of text
  const std::string hostile = Tag(3, Frame(3, "TIT2", BigEndian(3 << 20, 4) + bomb, 0x0080) +  // past the bound
                                         Frame(3, "TIT2", BigEndian(100, 4) + "not zlib at all", 0x0080) +
                                         Frame(3, "TIT2", BigEndian(10, 4) + bomb.substr(0, 4), 0x0080) +  // cut short
                                         Frame(3, "TPE1", "\x01" + Text(0, "secret"), 0x0040) +  // encrypted
                                         Frame(3, "TALB", Text(0, "Album")));
  const std::string after = Frame(3, "TPE1", Text(0, "Band"));
  const std::string oversized = Tag(3, "TIT2" + BigEndian(1000, 4) + "\0\0"s + Text(0, "T") + after);
  const std::string pastTheFile = Tag(3, Frame(3, "TIT2", Text(0, "Title")) + after, 0, 4096);
  // 200 bytes of text in a 2.4 frame sized the 2.3 way: as synchsafe, 00 00 00 C8 reads 72.
  const std::string plainSizes = Tag(4, FramePlainSize("TIT2", Text(0, std::string(199, 'x'))) +
                                            FramePlainSize("TPE1", Text(0, "Band")), 0, 16);
  const Case cases[] = {
      // Encodings: each text gives its first value.
      {"UTF-16 with BOM", Tag(3, Frame(3, "TIT2", Text(1, Utf16LeWithBom(u"星空\u00e9") + "\0\0"s + Utf16LeWithBom(u"2nd")))),
       {kTitle}, "星空é"},
      {"ANSI", Tag(3, Frame(3, "TPE1", Text(0, "Band\0Other"s))), {kArtist}, "Band"},
      {"UTF-16BE", Tag(4, Frame(4, "TALB", Text(2, Utf16Be(u"アルバム") + "\0\0"s + Utf16Be(u"x")))), {kAlbum}, "アルバム"},
      {"UTF-8, a bad byte", Tag(4, Frame(4, "TIT2", Text(3, "\xE6\x98\x9F\xFF" "a\0b"s))), {kTitle}, "星\xEF\xBF\xBD" "a"},
      {"big-endian BOM", Tag(4, Frame(4, "TPE1", Text(1, "\xFE\xFF"s + Utf16Be(u"BE")))), {kArtist}, "BE"},
      // Undecodable frames are skipped and the walk goes on.
      {"undecodable", undecodable, {kTitle, kArtist, kComment}, "Good|Band|"},
      // The comment with an empty description wins, else the first.
      {"empty description", Tag(3, Frame(3, "COMM", Comment("iTunNORM", " 0000")) + Frame(3, "COMM", Comment("", "Mine")) +
                                       Frame(3, "COMM", Comment("", "Second"))), {kComment}, "Mine"},
      {"first comment", Tag(3, Frame(3, "COMM", Comment("a", "First")) + Frame(3, "COMM", Comment("b", "Next"))),
       {kComment}, "First"},
      {"UTF-16 empty description", Tag(3, Frame(3, "COMM", utf16Comment) + Frame(3, "COMM", empty16Comment)),
       {kComment}, "コメント"},
      // The year from TYER, else from TDRC in 2.4 only.
      {"TDRC", Tag(4, Frame(4, "TDRC", Text(0, "2004-05-06"))), {kYear}, "2004"},
      {"TYER first", Tag(4, Frame(4, "TDRC", Text(0, "2004")) + Frame(4, "TYER", Text(0, "1999"))), {kYear}, "1999"},
      {"TDRC in 2.3", Tag(3, Frame(3, "TDRC", Text(0, "2004"))), {kYear}, ""},
      {"short TDRC", Tag(4, Frame(4, "TDRC", Text(0, "20"))), {kYear}, "20"},
      // Unsynchronisation puts zero bytes after 0xFF: tag-wide in 2.2 and 2.3 and with
      // the tag flag of 2.4, frame by frame (with a data length) in 2.4.
      {"unsync 2.2", Tag(2, Unsync(Frame(2, "TT2", Text(1, Utf16LeWithBom(u"\u00ff\u00ff")))), 0x80), {kTitle}, "ÿÿ"},
      {"unsync 2.3", Tag(3, Unsync(Frame(3, "TIT2", Text(1, Utf16LeWithBom(u"\u00ff\u00ff")))), 0x80), {kTitle}, "ÿÿ"},
      {"unsync frame 2.4 and after it",
       Tag(4, Frame(4, "TIT2", Synchsafe(uint32_t(ffA.size())) + Unsync(ffA), 0x0003) + after), {kTitle, kArtist}, "ÿA|Band"},
      {"unsync tag 2.4", Tag(4, Frame(4, "TIT2", Unsync(ffA)), 0x80), {kTitle}, "ÿA"},
      // Compressed frames are inflated; in 2.3 a group byte follows the inflated size.
      {"zlib 2.3", Tag(3, Frame(3, "TIT2", BigEndian(uint32_t(text.size()), 4) + Deflate(text), 0x0080)), {kTitle}, inflated},
      {"zlib 2.4", Tag(4, Frame(4, "TIT2", Synchsafe(uint32_t(text.size())) + Deflate(text), 0x0009)), {kTitle}, inflated},
      {"zlib grouped", Tag(3, Frame(3, "TIT2", BigEndian(uint32_t(text.size()), 4) + "\x05" + Deflate(text), 0x00A0)),
       {kTitle}, inflated},
      // Broken or huge compression and encryption are skipped.
      {"hostile titles, encrypted artist, the album after them", hostile, {kTitle, kArtist, kAlbum}, "||Album"},
      {"claims 200 MB", Tag(4, Frame(4, "TIT2", Synchsafe(200 << 20) + bomb, 0x0009)), {kTitle}, ""},
      // Extended headers: 2.3's size excludes itself, 2.4's includes it.
      {"extended 2.3", Tag(3, BigEndian(6, 4) + std::string(6, '\0') + Frame(3, "TIT2", Text(0, "Three")), 0x40),
       {kTitle}, "Three"},
      {"extended 2.4", Tag(4, Synchsafe(6) + "\x01\x00"s + Frame(4, "TIT2", Text(0, "Four")), 0x40), {kTitle}, "Four"},
      {"extended past the tag", Tag(3, BigEndian(0x7FFFFFFF, 4) + Frame(3, "TIT2", Text(0, "x")), 0x40), {kTitle}, ""},
      // Plain sizes in 2.4 tags are recognised; right synchsafe sizes are kept.
      {"plain sizes", plainSizes, {kTitle, kArtist}, std::string(199, 'x') + "|Band"},
      {"synchsafe", Tag(4, Frame(4, "TIT2", Text(0, std::string(199, 'y'))) + Frame(4, "TPE1", Text(0, "Band"))),
       {kArtist}, "Band"},
      // The walk ends at padding, bad ids and oversized frames.
      {"after padding", Tag(3, Frame(3, "TIT2", Text(0, "T")) + std::string(10, '\0') + after), {kArtist}, ""},
      {"after a bad id", Tag(3, Frame(3, "tit2", Text(0, "T")) + after), {kArtist}, ""},
      {"oversized and after it", oversized, {kTitle, kArtist}, "|"},
      {"tag past the file", pastTheFile.substr(0, pastTheFile.size() - 4000), {kArtist}, "Band"},
      // Only a tag at the start counts.
      {"tag after audio", Audio() + Tag(3, Frame(3, "TIT2", Text(0, "T"))), {kTitle}, "<no tag>"},
      {"version 5", "ID3\x05\0\0\0\0\0\x10"s + std::string(16, 'a'), {kTitle}, "<no tag>"},
      {"size byte over 0x7F", "ID3\x03\0\0\0\0\x80\x10"s + std::string(16, 'a'), {kTitle}, "<no tag>"},
      {"2.2 compressed", "ID3\x02\0\x40\0\0\0\x10"s + std::string(16, 'a'), {kTitle}, "<no tag>"},
      {"header cut", "ID3\x03\0\0\0\0"s, {kTitle}, "<no tag>"},
      {"empty file", "", {kTitle}, "<no tag>"},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.file, c.fields), c.expected) << c.what;
}

}  // namespace
