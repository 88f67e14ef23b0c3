// Bytes in the ANSI code page, parsed as lyrics text. Checks that:
// - every lyric line's stamps are exactly what ScanTimeTag finds walking the raw line
//   (the parser's one-pass scan and its shortcut for common stamps agree with it);
// - the file text of the parsed document is the input with bare LF made CR LF, and
//   parsing that again gives the same file text;
// - DisplayLineAtTime answers the same through its cache as a fresh timeline does,
//   and TagsAround and the completed stamps stay inside the line.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "base/CodePage.h"
#include "lyrics/LyricsFormat.h"
#include "lyrics/LyricsTimeline.h"
#include "sources/LyricsReaders.h"

namespace {

std::vector<WString> RawLines(const WString& text) {
  std::vector<WString> lines;
  size_t start = 0;
  for (;;) {
    size_t feed = text.Find(u'\n', start);
    size_t end = feed == WString::npos ? text.Length() : feed;
    if (feed != WString::npos && end > start && text[end - 1] == u'\r') --end;
    lines.push_back(text.Substr(start, end - start));
    if (feed == WString::npos) return lines;
    start = feed + 1;
  }
}

WString WithCrLf(const WString& text) {
  WString out;
  for (size_t i = 0; i < text.Length(); ++i) {
    if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) out.Append(u'\r');
    out.Append(text[i]);
  }
  return out;
}

void CheckLineAgainstScan(const WString& raw, const LyricLine& line) {
  if (raw.At(0) == u'@') {
    FUZZ_REQUIRE(line.text == raw && line.tags.empty());
    return;
  }
  size_t n = 0;
  int32_t start = 0;
  TimeTag tag;
  while (static_cast<size_t>(start) < raw.Length() && ScanTimeTag(raw, start, tag)) {
    FUZZ_REQUIRE(n < line.tags.size());
    const TimeTag& parsed = line.tags[n++];
    FUZZ_REQUIRE(parsed.time == tag.time && parsed.position == tag.position && parsed.text == tag.text);
    ++start;
  }
  FUZZ_REQUIRE(n == line.tags.size());
}

void CheckQueries(LyricsTimeline& timeline, const uint8_t* data, size_t size) {
  std::vector<int> times;
  for (size_t i = 0; i + 3 < size && times.size() < 12; i += 4)
    times.push_back(static_cast<int>((uint32_t(data[i]) << 24 | uint32_t(data[i + 1]) << 16 |
                                      uint32_t(data[i + 2]) << 8 | data[i + 3]) >> (data[i] & 15)));
  for (const DisplayLine& shown : timeline.DisplayLines()) {
    if (times.size() >= 24) break;
    if (shown.time >= 0) times.push_back(shown.time);
    if (shown.time > 0) times.push_back(shown.time - 1);
  }
  TimeTag previous, next;
  for (int t : times) {
    int k = timeline.DisplayLineAtTime(t);
    LyricsTimeline fresh(timeline);
    fresh.RebuildTimeline();
    FUZZ_REQUIRE(fresh.DisplayLineAtTime(t) == k);
    FUZZ_REQUIRE(k >= -1 && k <= timeline.DisplayLineCount());
    if (timeline.TagsAround(k, t, previous, next)) {
      int length = static_cast<int>(timeline.DisplayLineText(k).Length());
      FUZZ_REQUIRE(previous.position >= 0 && previous.position <= length);
      FUZZ_REQUIRE(next.position >= 0 && next.position <= length);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxLyricsFileSize) return 0;
  WString text = AnsiToWide(reinterpret_cast<const char*>(data), size);
  LyricsTimeline timeline;
  timeline.ParseText(text);

  std::vector<WString> raw = RawLines(text);
  FUZZ_REQUIRE(raw.size() == static_cast<size_t>(timeline.LineCount()));
  for (int i = 0; i < timeline.LineCount(); ++i) {
    CheckLineAgainstScan(raw[i], timeline.Line(i));
    FUZZ_REQUIRE(timeline.TaggedLineText(i) == raw[i]);
  }

  WString saved = LyricsFileText(timeline);
  FUZZ_REQUIRE(saved == WithCrLf(text));
  LyricsTimeline reparsed;
  reparsed.ParseText(saved);
  FUZZ_REQUIRE(LyricsFileText(reparsed) == saved);

  CheckQueries(timeline, data, size);
  return 0;
}
