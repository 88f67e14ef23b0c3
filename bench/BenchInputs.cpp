#include "BenchInputs.h"

#include <cstdint>
#include <cstdio>

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
