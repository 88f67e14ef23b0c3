#include "BenchInputs.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "base/FileSystem.h"

namespace {

// Kana and common kanji, all in Shift-JIS.
constexpr char16_t kJapanese[] =
    u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
    u"夜空星光風雨花道心夢愛君僕今日明歌声涙手時遠街海";
constexpr size_t kJapaneseCount = sizeof(kJapanese) / sizeof(kJapanese[0]) - 1;

// A small LCG: the same sequence everywhere.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed) {}
  uint32_t Next(uint32_t bound) {
    state_ = state_ * 1664525u + 1013904223u;
    return (state_ >> 8) % bound;
  }

 private:
  uint32_t state_;
};

void AppendStamp(WString& out, int32_t ms) {
  char buffer[24];
  int n = std::snprintf(buffer, sizeof buffer, "[%02d:%02d:%02d]", ms / 60000, (ms / 1000) % 60, (ms / 10) % 100);
  out.AppendAscii(std::string_view(buffer, static_cast<size_t>(n)));
}

// One karaoke line starting at time t: answers the time after its last stamp and
// adds its Shift-JIS size to bytes.
int32_t AppendKaraokeLine(WString& out, Random& random, int32_t t, size_t& bytes) {
  int characters = 8 + static_cast<int>(random.Next(9));
  for (int c = 0; c < characters;) {
    AppendStamp(out, t);
    bytes += 10;
    int group = 1 + static_cast<int>(random.Next(2));
    for (int g = 0; g < group && c < characters; ++g, ++c) {
      out.Append(kJapanese[random.Next(kJapaneseCount)]);
      bytes += 2;
    }
    t += 150 + static_cast<int32_t>(random.Next(250));
  }
  AppendStamp(out, t);
  bytes += 10;
  return t;
}

void AppendLine(WString& out, const char* ascii, size_t& bytes) {
  out.AppendAscii(ascii);
  out.AppendAscii("\r\n");
  bytes += std::char_traits<char>::length(ascii) + 2;
}

size_t AppendHeader(WString& out) {
  size_t bytes = 0;
  AppendLine(out, "@Title=Benchmark Song", bytes);
  AppendLine(out, "@Artist=Nobody", bytes);
  AppendLine(out, "@Album=Numbers", bytes);
  AppendLine(out, "@Words=Someone", bytes);
  AppendLine(out, "@Music=Someone Else", bytes);
  return bytes;
}

constexpr size_t kLongestLineBytes = 16 * (10 + 2) + 10 + 2;

}  // namespace

WString MakeKaraokeText(size_t byteBudget) {
  WString out;
  Random random(12345);
  size_t bytes = AppendHeader(out);
  int32_t t = 1000;
  int line = 0;
  while (bytes + kLongestLineBytes + 2 <= byteBudget) {
    if (++line % 8 == 0) {  // a blank line between verses
      out.AppendAscii("\r\n");
      bytes += 2;
      continue;
    }
    t = AppendKaraokeLine(out, random, t, bytes) + 500;
    out.AppendAscii("\r\n");
    bytes += 2;
  }
  return out;
}

namespace {
constexpr int32_t kLineSpacing = 8000;  // every line fits: 17 groups * 400 ms < 8 s
constexpr int kVerseLines = 4;
}  // namespace

WString MakeKaraokeDocument(int lineCount) {
  WString out;
  Random random(777);
  AppendHeader(out);
  for (int i = 0; i < lineCount; ++i) {
    int slot = i;
    // Every tenth verse swaps places in time with the one after it.
    int verse = i / kVerseLines;
    if (verse % 10 == 0 && (verse + 1) * kVerseLines < lineCount) slot = i + kVerseLines;
    else if (verse % 10 == 1) slot = i - kVerseLines;
    size_t bytes = 0;
    AppendKaraokeLine(out, random, 1000 + slot * kLineSpacing, bytes);
    if (i + 1 < lineCount) out.AppendAscii("\r\n");
  }
  return out;
}

int KaraokeDocumentLength(int lineCount) { return 1000 + lineCount * kLineSpacing; }

// ---------------------------------------------------------------- lyrics sources

std::string MakeLyricsTree(const std::string& root) {
  namespace fs = std::filesystem;
  fs::create_directories(root);
  for (int d = 0; d < kLyricsTreeFolders; ++d) {
    fs::path folder = fs::path(root) / ("album " + std::to_string(d));
    fs::create_directory(folder);
    for (int f = 0; f < kLyricsTreeFilesPerFolder; ++f)
      std::ofstream(folder / ("song " + std::to_string(d) + "-" + std::to_string(f) + ".txt")) << "[00:01:00]x\n";
  }
  // The order is the file system's (hashed on most), so the last file is asked for.
  FileSystem& files = PlatformFileSystem();
  std::vector<FolderEntry> entries;
  if (!files.ListFolder(WString::FromUtf8(root), entries) || entries.empty()) return std::string();
  std::string last = root + "/" + entries.back().name.ToUtf8();
  if (!files.ListFolder(WString::FromUtf8(last), entries) || entries.empty()) return std::string();
  std::string name = entries.back().name.ToUtf8();
  return name.substr(0, name.rfind('.'));
}

namespace {

std::string BigEndian32(uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

std::string Frame(const char* id, const std::string& body) {
  return std::string(id, 4) + BigEndian32(static_cast<uint32_t>(body.size())) + std::string(2, '\0') + body;
}

// Encoding 1: UTF-16 with a byte-order mark, little-endian.
std::string Utf16Text(const char16_t* text) {
  std::string bytes = "\xFF\xFE";
  for (; *text; ++text) bytes += {static_cast<char>(*text & 0xFF), static_cast<char>(*text >> 8)};
  return bytes;
}

}  // namespace

std::string MakeTaggedMp3(int number) {
  Random random(static_cast<uint32_t>(number) * 7919u + 1u);
  std::u16string title = u"夜空のうた ";
  title += static_cast<char16_t>(u'0' + number % 10);
  std::string frames = Frame("TIT2", "\x01" + Utf16Text(title.c_str()));
  frames += Frame("TPE1", "\x01" + Utf16Text(u"星のバンド"));
  frames += Frame("TALB", "\x01" + Utf16Text(u"光と風"));
  std::string picture = std::string("\x00image/jpeg\x00\x03\x00", 14) + "\xFF\xD8\xFF\xE0";
  while (picture.size() < kTagPictureBytes) picture += static_cast<char>(random.Next(255) + 1);
  frames += Frame("APIC", picture);
  std::string lyrics = std::string("\x01jpn", 4) + Utf16Text(u"") + std::string(2, '\0');
  for (int line = 0; line < 40; ++line) lyrics += Utf16Text(u"夜空に光る星のように\n").substr(2);
  frames += Frame("USLT", lyrics);
  std::string padding(512, '\0');
  uint32_t size = static_cast<uint32_t>(frames.size() + padding.size());
  // Sizes in the tag header are synchsafe: 7 bits per byte.
  std::string header = "ID3\x03";
  header += std::string(2, '\0');
  for (int shift = 21; shift >= 0; shift -= 7) header += static_cast<char>((size >> shift) & 0x7F);
  // 128 kbit/s, 44.1 kHz MPEG-1 layer III frames of 417 bytes.
  std::string audio;
  for (int f = 0; f < 8; ++f) audio += std::string("\xFF\xFB\x90\x00", 4) + std::string(413, '\0');
  return header + frames + padding + audio;
}

std::vector<std::string> WriteTaggedSongs(const std::string& root) {
  std::vector<std::string> paths;
  for (int n = 0; n < kTagSongCount; ++n) {
    paths.push_back(root + "/song" + std::to_string(n) + ".mp3");
    std::ofstream(paths.back(), std::ios::binary) << MakeTaggedMp3(n);
  }
  return paths;
}
