// A sequence of stamp edits driven by the input, on a small document (a built-in
// one, or text from the input). After every edit:
// - the playback order equals a full rebuild of a copy of the same lines;
// - when every stamp's text still says its time and no text bracket can capture a
//   stamp, saving and parsing again gives the same lines and playback order;
// - DisplayLineAtTime, asked through the cache over a run of times, answers what a
//   fresh timeline answers.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

#include "FuzzCheck.h"
#include "base/CodePage.h"
#include "lyrics/KaraokeLineSplit.h"
#include "lyrics/LyricsFormat.h"
#include "lyrics/LyricsTimeline.h"

namespace {

constexpr const char* kDocuments[] = {
    "@Title=Song\r\n[00:01:00]first [00:02:00]line\r\n\r\n[00:05:00]second line[00:07:00]\r\nuntimed\r\n"
    "[00:10:00][00:30:00]Chorus\r\n[00:20:00]third",
    "[00:00:50]k[00:00:80]a[00:01:10]ra[00:01:50]o[00:02:00]ke\r\n[00:03:00]ne[00:03:40]xt[00:04:00]\r\n"
    "@Artist=Someone\r\n[00:05:00]l[00:05:30]ast line that is rather long for one row",
    "plain\r\nuntimed\r\nlyrics",
};

bool SameDisplayLines(const LyricsTimeline& a, const LyricsTimeline& b) {
  if (a.DisplayLineCount() != b.DisplayLineCount()) return false;
  for (int k = 0; k < a.DisplayLineCount(); ++k) {
    const DisplayLine& x = a.DisplayLines()[k];
    const DisplayLine& y = b.DisplayLines()[k];
    if (x.line != y.line || x.time != y.time || x.tags.size() != y.tags.size()) return false;
    for (size_t n = 0; n < x.tags.size(); ++n)
      if (x.tags[n].time != y.tags[n].time || x.tags[n].position != y.tags[n].position) return false;
  }
  return true;
}

LyricsTimeline RebuiltCopy(const LyricsTimeline& timeline) {
  LyricsTimeline copy;
  copy.SetShowUntaggedLines(timeline.ShowUntaggedLines());
  copy.MutableLines() = timeline.Lines();
  copy.ComputeTagStatus();
  copy.RebuildTimeline();
  return copy;
}

// Saving writes each stamp's text; parsing reads the time back from it. That only
// round-trips when the texts say the times and the line text holds no brackets.
bool TextRoundTrips(const LyricsTimeline& timeline) {
  for (const LyricLine& line : timeline.Lines()) {
    if (line.tags.empty()) continue;
    if (line.text.At(0) == u'@' || line.text.Find(u'[') != WString::npos || line.text.Find(u']') != WString::npos)
      return false;
    for (size_t n = 0; n < line.tags.size(); ++n) {
      const TimeTag& tag = line.tags[n];
      int32_t time;
      if (tag.text.Length() < 2 || tag.text[0] != u'[' ||
          !ReadStampGroup(tag.text.CStr(), 0, tag.text.Length() - 1, time) || time != tag.time ||
          tag.text.Find(u']') != tag.text.Length() - 1)
        return false;
      if (n > 0 && tag.position < line.tags[n - 1].position) return false;  // saved in list order
    }
  }
  return true;
}

void CheckTimeline(LyricsTimeline& timeline, FuzzedDataProvider& input) {
  LyricsTimeline rebuilt = RebuiltCopy(timeline);
  FUZZ_REQUIRE(SameDisplayLines(timeline, rebuilt));
  FUZZ_REQUIRE(rebuilt.Status() == timeline.Status());

  if (TextRoundTrips(timeline)) {
    LyricsTimeline reparsed;
    reparsed.SetShowUntaggedLines(timeline.ShowUntaggedLines());
    reparsed.ParseText(LyricsFileText(timeline));
    FUZZ_REQUIRE(reparsed.LineCount() == timeline.LineCount());
    FUZZ_REQUIRE(SameDisplayLines(timeline, reparsed));
  }

  int t = input.ConsumeIntegralInRange<int>(-100, 40000);
  int steps = input.ConsumeIntegralInRange<int>(1, 8);
  for (int s = 0; s < steps; ++s) {
    int k = timeline.DisplayLineAtTime(t);
    // A copy keeps the untimed anchor; rebuilding it drops the cache.
    LyricsTimeline fresh(timeline);
    fresh.RebuildTimeline();
    FUZZ_REQUIRE(fresh.DisplayLineAtTime(t) == k);
    TimeTag previous, next;
    timeline.TagsAround(k, t, previous, next);
    t += input.ConsumeIntegralInRange<int>(-500, 3000);
  }
}

TimeTag MakeTag(FuzzedDataProvider& input) {
  TimeTag tag(input.ConsumeIntegralInRange<int>(0, 60000), input.ConsumeIntegralInRange<int>(-1, 40));
  FormatTimeTag(tag, input.ConsumeBool() ? ShortTagForm : LongTagForm);
  return tag;
}

void ApplyEdit(LyricsTimeline& timeline, FuzzedDataProvider& input) {
  int lines = timeline.LineCount();
  int i = input.ConsumeIntegralInRange<int>(-1, lines);
  switch (input.ConsumeIntegralInRange<int>(0, 14)) {
    case 0: timeline.AddTag(i, MakeTag(input)); break;
    case 1: timeline.SetTag(i, input.ConsumeIntegralInRange<int>(-1, 4), MakeTag(input)); break;
    case 2: {
      TimeTag tag;
      if (timeline.NthTag(i, input.ConsumeIntegralInRange<int>(-1, 4), tag)) timeline.RemoveTag(i, tag);
      break;
    }
    case 3: {
      TimeTag removed;
      timeline.RemoveNthTag(i, input.ConsumeIntegralInRange<int>(-1, 4), removed);
      break;
    }
    case 4: {
      bool stillThere;
      timeline.RemoveTagAt(i, input.ConsumeIntegralInRange<int>(-1, 40), input.ConsumeIntegralInRange<int>(-2, 3),
                           stillThere);
      break;
    }
    case 5: timeline.ShiftAllTags(input.ConsumeIntegralInRange<int>(-20000, 20000)); break;
    case 6: {
      int oldStart = input.ConsumeIntegralInRange<int>(0, 30000);
      timeline.RescaleTags(input.ConsumeIntegralInRange<int>(0, 60000), input.ConsumeIntegralInRange<int>(0, 60000),
                           oldStart, oldStart + input.ConsumeIntegralInRange<int>(0, 30000));
      break;
    }
    case 7: timeline.ReformatAllTags(input.ConsumeBool() ? ShortTagForm : LongTagForm); break;
    case 8: timeline.ExpandToPlaybackOrder(); break;
    case 9: timeline.MakeKaraoke(); break;
    case 10: {
      if (SplitLongLine(timeline, i, WString(input.ConsumeBool() ? u"JPN" : u"ENU"))) timeline.ComputeTagStatus();
      timeline.RebuildTimeline();
      break;
    }
    case 11: timeline.RemoveKaraokeTags(); break;
    case 12: timeline.RemoveAllTags(); break;
    case 13:
      timeline.SetShowUntaggedLines(input.ConsumeBool());
      timeline.RebuildTimeline();
      break;
    default: timeline.SetUntimedAnchor(i, input.ConsumeIntegralInRange<int>(-10, 40000),
                                       input.ConsumeIntegralInRange<int>(-10, 60000));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  LyricsTimeline timeline;
  size_t which = input.ConsumeIntegralInRange<size_t>(0, std::size(kDocuments));
  if (which < std::size(kDocuments)) {
    timeline.ParseText(WString::FromAnsi(kDocuments[which]));
  } else {
    std::string text = input.ConsumeRandomLengthString(512);
    timeline.ParseText(AnsiToWide(text.data(), text.size()));
  }
  CheckTimeline(timeline, input);
  for (int edits = 0; edits < 24 && input.remaining_bytes() > 0; ++edits) {
    ApplyEdit(timeline, input);
    CheckTimeline(timeline, input);
  }
  return 0;
}
