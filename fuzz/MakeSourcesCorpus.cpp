// Writes the seed files of the song-information fuzz targets into
// <out>/fuzz_riff, fuzz_id3v1, fuzz_genre, fuzz_format, fuzz_id3v2 and
// fuzz_songinfo: one small file per tag shape the readers know.
//   make_sources_corpus fuzz/corpus
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sources/TagBuilders.h"

namespace {

using namespace std::string_literals;
using namespace tagbuild;

void Put(const std::filesystem::path& dir, const char* name, const std::string& bytes) {
  std::filesystem::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary) << bytes;
}

std::string Wide(const std::u16string& text) {
  std::string out;
  for (char16_t unit : text) out += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::filesystem::path root = argv[1];
  const std::string v1 = Id3v1("Title", "Artist", "Album", "1999", Pad("Note", 28) + "\x03", 150);
  const std::string text = Text(0, "\x90\xAF\x8B\xF3");  // Shift-JIS title
  const std::string compressed = BigEndian(static_cast<uint32_t>(text.size()), 4) + Deflate(text);
  const std::string v22 = Tag(2, Frame(2, "TT2", text) + Frame(2, "COM", Comment("", "c")) + Frame(2, "TCO", Text(0, "(17)")));
  const std::string v23 = Tag(3, Frame(3, "TIT2", Text(1, Utf16LeWithBom(u"title"))) +
                                     Frame(3, "TALB", compressed, 0x0080) + Frame(3, "COMM", Comment("d", "x")) +
                                     Frame(3, "COMM", Comment("", "y")) + Frame(3, "TCON", Text(0, "(200)")),
                              0, 16);
  const std::string v23Unsync = Tag(3, Unsync(Frame(3, "TIT2", Text(1, Utf16LeWithBom(u"\u00ff")))), 0x80);
  const std::string v24 = Tag(4, Synchsafe(6) + "\x01\x00"s + Frame(4, "TIT2", Text(3, "\xE6\x98\x9F")) +
                                     Frame(4, "TPE1", Synchsafe(5) + Unsync(Text(2, "\xFF\x00\x41\x00"s)), 0x0003) +
                                     Frame(4, "TALB", Synchsafe(static_cast<uint32_t>(text.size())) + Deflate(text), 0x0009) +
                                     FramePlainSize("TDRC", Text(0, std::string(130, '2'))),
                              0x40, 8);
  const std::string riff = Riff("WAVE", Chunk("fmt ", std::string(16, '\x01')) + Chunk("data", "abc") +
                                            Chunk("LIST", "INFO" + Chunk("INAM", "Song") + Chunk("IART", "Art") +
                                                              Chunk("ICMT", "odd")));
  const std::string rmp = Riff("RMP3", Chunk("data", Audio(16)) + Chunk("LIST", "INFO" + Chunk("IPRD", "Album\0"s)));

  Put(root / "fuzz_riff", "wave", riff);
  Put(root / "fuzz_riff", "rmp3", rmp);
  Put(root / "fuzz_riff", "truncated", riff.substr(0, riff.size() - 3));
  Put(root / "fuzz_id3v1", "tag", Audio(16) + v1);
  Put(root / "fuzz_id3v1", "spaces", Id3v1("Song", "Band", "", "", "", 255, ' '));
  Put(root / "fuzz_genre", "number", Wide(u"(17)"));
  Put(root / "fuzz_genre", "large", Wide(u"(1000)"));
  Put(root / "fuzz_genre", "name", Wide(u"(Rock)"));
  Put(root / "fuzz_format", "default", "\x0F" + Wide(u"%1 / %2"));
  Put(root / "fuzz_format", "all", "\x05" + Wide(u"%1%2%3%4%5%6%7%8%9%%%x%"));
  Put(root / "fuzz_id3v2", "v22", v22);
  Put(root / "fuzz_id3v2", "v23", v23);
  Put(root / "fuzz_id3v2", "v23-unsync", v23Unsync);
  Put(root / "fuzz_id3v2", "v24", v24);
  Put(root / "fuzz_songinfo", "mp3", v23 + Audio(32) + v1);
  Put(root / "fuzz_songinfo", "mp3-v24", v24 + Audio(32));
  Put(root / "fuzz_songinfo", "rmp", rmp);
  Put(root / "fuzz_songinfo", "wma", Asf(u"Title", u"Author"));
  return 0;
}
