// Randomized properties of the lyrics model, with fixed seeds so that a failure
// repeats: the text survives a parse and write unchanged, the cached time query
// agrees with an uncached one, and stamp edits leave the playback order a full
// rebuild would give.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <string>
#include <vector>

#include "TestText.h"
#include "lyrics/LyricsFormat.h"
#include "lyrics/LyricsTimeline.h"

namespace {

using Random = std::mt19937;

int Pick(Random& random, int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); }
int Between(Random& random, int low, int high) { return low + Pick(random, high - low + 1); }

// --------------------------------------------------------------- text round trip

const char* const kPieces[] = {
    "[00:01]", "[1:2]", "[00:00:5]", "[:]", "[01:02:03:04]", "[99999999999:00]", "[１２:34]", "[1a:2]",
    "[ 0:1]", "[12]",  "[]",        "[",   "]",             ":",                "0",      "7",
    "a",       "Z",     " ",         "表",   "ソ",             "あ",                "@title=", "@",
    "=",       "\r",    "\n",        "\r\n", "\n",            "[00:10:00]",       "x",      "[a[00:02]",
};

// The line breaks a file comes back with: every LF is preceded by CR.
std::string WithCrLf(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

// The parse as the format defines it: split at LF, drop the CR before it, and take
// stamps out one ScanTimeTag at a time.
std::vector<LyricLine> ReferenceParse(const WString& text) {
  std::vector<LyricLine> lines;
  size_t from = 0;
  for (;;) {
    size_t lineFeed = text.Find(u'\n', from);
    size_t end = lineFeed == WString::npos ? text.Length() : lineFeed;
    size_t textEnd = lineFeed != WString::npos && end > from && text[end - 1] == u'\r' ? end - 1 : end;
    LyricLine line{text.Substr(from, textEnd - from), {}};
    if (line.text.At(0) != u'@') {
      int32_t start = 0;
      TimeTag tag;
      while (ScanTimeTag(line.text, start, tag)) {
        line.tags.push_back(tag);
        line.text.Erase(static_cast<size_t>(start), tag.text.Length());
      }
    }
    lines.push_back(std::move(line));
    if (lineFeed == WString::npos) break;
    from = lineFeed + 1;
  }
  return lines;
}

std::string Describe(const std::vector<LyricLine>& lines) {
  std::string out;
  for (const LyricLine& line : lines) {
    out += "<" + line.text.ToUtf8() + ">";
    for (const TimeTag& tag : line.tags)
      out += " " + std::to_string(tag.time) + ":" + std::to_string(tag.position) + tag.text.ToUtf8();
    out += "\n";
  }
  return out;
}

TEST(TimelineProperty, ParseThenWriteGivesTheTextBack) {
  Random random(1);
  LyricsTimeline timeline;
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    int pieces = Pick(random, 24);
    for (int p = 0; p < pieces; ++p) text += kPieces[Pick(random, sizeof kPieces / sizeof kPieces[0])];
    WString wide = W(text.c_str());
    timeline.ParseText(wide);
    ASSERT_EQ(LyricsFileText(timeline).ToUtf8(), WithCrLf(text)) << "input: " << text;
    ASSERT_EQ(Describe(timeline.Lines()), Describe(ReferenceParse(wide))) << "input: " << text;
  }
}

// --------------------------------------------------------- random timed documents

std::string Stamp(int time) {
  TimeTag tag(time, 0);
  FormatTimeTag(tag, LongTagForm);
  return tag.text.ToUtf8();
}

std::string RandomWord(Random& random) {
  static const char* const kSyllables[] = {"la", "ka", "あ", "表", " ", "o"};
  std::string word;
  int length = Pick(random, 6);
  for (int i = 0; i < length; ++i) word += kSyllables[Pick(random, 6)];
  return word;
}

// Lines of every kind the playback order treats differently: untimed, header,
// one stamp, a repeated line, karaoke, empty timed lines, and equal times.
std::string RandomLyrics(Random& random) {
  const bool karaoke = Pick(random, 3) == 0;
  const bool untimed = Pick(random, 8) == 0;
  std::string text;
  int lines = Between(random, 1, 14);
  for (int i = 0; i < lines; ++i) {
    int time = Pick(random, 40) * 500;
    switch (untimed ? 0 : Pick(random, 7)) {
      case 0:
        text += RandomWord(random);
        break;
      case 1:
        text += "@title=" + RandomWord(random);
        break;
      case 2:
      case 3:
        text += Stamp(time) + RandomWord(random);
        break;
      case 4:
        text += Stamp(time) + Stamp(Pick(random, 40) * 500) + RandomWord(random);
        break;
      case 5:
        if (karaoke) {
          text += Stamp(time) + "ka" + Stamp(time + Pick(random, 3000)) + "ra" + RandomWord(random);
          if (Pick(random, 2)) text += Stamp(time + Pick(random, 6000));
        } else {
          text += Stamp(time);
        }
        break;
      default:
        text += "";
        break;
    }
    if (i + 1 < lines) text += Pick(random, 2) ? "\r\n" : "\n";
  }
  return text;
}

// DisplayLineAtTime of a timed document as stated, without a cache: the last timed
// display line that has started, or the next one when it is over.
int ReferenceLineAtTime(const LyricsTimeline& timeline, int t) {
  if (t < 0) return -1;
  const std::vector<DisplayLine>& shown = timeline.DisplayLines();
  const int count = static_cast<int>(shown.size());
  int current = -1;
  for (int k = 0; k < count; ++k)
    if (!shown[k].tags.empty() && shown[k].time <= t) current = k;
  if (current == -1) return -1;
  if (timeline.DisplayLineText(current).IsEmpty() || timeline.DisplayLineEndTime(current) > t) return current;
  for (int k = current + 1; k < count; ++k)
    if (!shown[k].tags.empty()) return k;
  return count;
}

TEST(TimelineProperty, CachedTimeQueriesAgreeWithUncachedOnes) {
  Random random(2);
  for (int round = 0; round < 300; ++round) {
    LyricsTimeline timeline;
    timeline.SetShowUntaggedLines(Pick(random, 2) == 0);
    const std::string text = RandomLyrics(random);
    timeline.ParseText(W(text.c_str()));
    if (timeline.Status() == StatusUntimed)
      timeline.SetUntimedAnchor(Pick(random, 20) - 2, Pick(random, 60000) - 100, Pick(random, 200000) - 10);
    // Timed display lines are in playback order: their times never go down.
    int lastTime = -1;
    for (const DisplayLine& shown : timeline.DisplayLines()) {
      if (shown.tags.empty()) continue;
      ASSERT_GE(shown.time, lastTime) << text;
      lastTime = shown.time;
    }
    int t = Pick(random, 2000) - 100;
    for (int query = 0; query < 150; ++query) {
      switch (Pick(random, 10)) {
        case 0: t = Pick(random, 30000); break;             // a jump, often backwards
        case 1: break;                                       // the same time again
        case 2: t = Pick(random, 3) == 0 ? INT_MAX : -1; break;
        default: t = t == INT_MAX ? 0 : t + Pick(random, 1500); break;
      }
      LyricsTimeline fresh = timeline;
      fresh.MarkModified();  // forgets any cached answer
      const int answer = timeline.DisplayLineAtTime(t);
      ASSERT_EQ(answer, fresh.DisplayLineAtTime(t)) << "t=" << t << " in\n" << text;
      if (timeline.Status() != StatusUntimed) {
        ASSERT_EQ(answer, ReferenceLineAtTime(timeline, t)) << "t=" << t << " in\n" << text;
      }
    }
  }
}

// ----------------------------------------------------------- edits and rebuilds

// The playback order as stated for a rebuild, from the lines alone.
std::vector<DisplayLine> ReferenceOrder(const std::vector<LyricLine>& lines, bool showUntagged) {
  std::vector<DisplayLine> order;
  auto isHeader = [&](size_t i) { return lines[i].text.At(0) == u'@'; };
  bool timed = false, karaoke = false;
  for (const LyricLine& line : lines) {
    if (line.tags.empty()) continue;
    timed = true;
    karaoke = karaoke || line.tags.front().position != line.tags.back().position;
  }
  if (!timed) {
    for (size_t i = 0; i < lines.size(); ++i)
      if (!isHeader(i)) order.push_back({static_cast<int32_t>(i), -1, {}});
    return order;
  }
  std::vector<DisplayLine> candidates;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::vector<TimeTag>& tags = lines[i].tags;
    if (tags.empty() || isHeader(i)) continue;
    bool positions = std::any_of(tags.begin(), tags.end(), [&](const TimeTag& t) { return t.position != tags[0].position; });
    if (positions || tags.size() == 1 || karaoke) {
      DisplayLine shown{static_cast<int32_t>(i), tags[0].time, tags};
      std::stable_sort(shown.tags.begin(), shown.tags.end(), ByTimeThenPosition);
      candidates.push_back(shown);
    } else {
      for (const TimeTag& tag : tags) candidates.push_back({static_cast<int32_t>(i), tag.time, {tag}});
    }
  }
  auto untimedFrom = [&](size_t first) {
    for (size_t j = first; j < lines.size(); ++j) {
      if (isHeader(j)) continue;
      if (!lines[j].tags.empty()) break;
      order.push_back({static_cast<int32_t>(j), -1, {}});
    }
  };
  if (showUntagged && !candidates.empty())
    for (int j = 0; j < candidates.front().line; ++j)
      if (!isHeader(j)) order.push_back({j, -1, {}});
  std::vector<bool> taken(candidates.size());
  for (size_t round = 0; round < candidates.size(); ++round) {
    size_t best = candidates.size();
    for (size_t c = 0; c < candidates.size(); ++c)
      if (!taken[c] && (best == candidates.size() || candidates[c].time < candidates[best].time)) best = c;
    taken[best] = true;
    order.push_back(candidates[best]);
    if (showUntagged) untimedFrom(static_cast<size_t>(candidates[best].line) + 1);
  }
  return order;
}

std::string Describe(const std::vector<DisplayLine>& order) {
  std::string out;
  for (const DisplayLine& shown : order) {
    out += std::to_string(shown.line) + "@" + std::to_string(shown.time) + ":";
    for (const TimeTag& tag : shown.tags) out += " " + std::to_string(tag.time) + "/" + std::to_string(tag.position);
    out += "\n";
  }
  return out;
}

TimeTag RandomTag(Random& random, int length) {
  TimeTag tag(Pick(random, 40) * 500 + Pick(random, 3), Between(random, -1, length + 1));
  FormatTimeTag(tag, Pick(random, 2) ? LongTagForm : ShortTagForm);
  return tag;
}

// One random stamp edit; answers what it did, for failure messages.
std::string RandomEdit(Random& random, LyricsTimeline& timeline) {
  const int i = Between(random, -1, timeline.LineCount());
  const int length = static_cast<int>(timeline.LineText(i).Length());
  const int tagCount = static_cast<int>(timeline.Line(i).tags.size());
  const int n = Between(random, -1, tagCount);
  TimeTag removed;
  bool stillThere;
  switch (Pick(random, 9)) {
    case 0: {
      TimeTag tag = RandomTag(random, length);
      int answer = timeline.AddTag(i, tag);
      bool allowed = timeline.IsValidLine(i) && !timeline.IsHeaderLine(i) && tag.position >= 0 && tag.position <= length;
      EXPECT_EQ(answer, allowed ? 1 : 0);
      return "AddTag " + std::to_string(i) + " " + std::to_string(tag.time) + "/" + std::to_string(tag.position);
    }
    case 1: {
      TimeTag tag = RandomTag(random, length);
      timeline.SetTag(i, n, tag);
      return "SetTag " + std::to_string(i) + " " + std::to_string(n);
    }
    case 2: {
      TimeTag tag = tagCount && Pick(random, 4) ? timeline.Line(i).tags[Pick(random, tagCount)] : RandomTag(random, length);
      timeline.RemoveTag(i, tag);
      return "RemoveTag " + std::to_string(i);
    }
    case 3:
      timeline.RemoveNthTag(i, n, removed);
      return "RemoveNthTag " + std::to_string(i) + " " + std::to_string(n);
    case 4: {
      int position = tagCount ? timeline.Line(i).tags[Pick(random, tagCount)].position : 0;
      timeline.RemoveTagAt(i, position, Between(random, -1, 2), stillThere);
      return "RemoveTagAt " + std::to_string(i);
    }
    case 5:
      timeline.ShiftAllTags(Between(random, -8000, 8000));
      return "Shift";
    case 6: {
      int oldStart = Pick(random, 20000), oldEnd = oldStart + Pick(random, 20000);
      timeline.RescaleTags(Pick(random, 20000), Pick(random, 30000), oldStart, oldEnd);
      return "Rescale";
    }
    case 7:
      timeline.ReformatAllTags(Pick(random, 2) ? LongTagForm : ShortTagForm);
      return "Reformat";
    default:
      if (Pick(random, 4) == 0) timeline.RemoveKaraokeTags();
      return "RemoveKaraokeTags";
  }
}

TEST(TimelineProperty, StampEditsLeaveTheOrderOfAFullRebuild) {
  Random random(3);
  for (int round = 0; round < 300; ++round) {
    LyricsTimeline timeline;
    const bool showUntagged = Pick(random, 3) != 0;
    timeline.SetShowUntaggedLines(showUntagged);
    const std::string text = RandomLyrics(random);
    timeline.ParseText(W(text.c_str()));
    std::string history = text + "\n--";
    for (int edit = 0; edit < 25; ++edit) {
      const std::vector<LyricLine> before = timeline.Lines();
      const uint32_t counter = timeline.ModificationCount();
      history += "\n" + RandomEdit(random, timeline);
      if (timeline.ModificationCount() == counter) {
        ASSERT_EQ(Describe(timeline.Lines()), Describe(before)) << "a refused edit changed lines\n" << history;
        continue;
      }
      ASSERT_EQ(timeline.ModificationCount(), counter + 1) << history;

      // Every stamp stays inside its line and no time goes below 0.
      for (const LyricLine& line : timeline.Lines())
        for (const TimeTag& tag : line.tags) {
          ASSERT_GE(tag.position, 0) << history;
          ASSERT_LE(tag.position, static_cast<int>(line.text.Length())) << history;
          ASSERT_GE(tag.time, 0) << history;
        }

      LyricsTimeline rebuilt;
      rebuilt.SetShowUntaggedLines(showUntagged);
      rebuilt.MutableLines() = timeline.Lines();
      rebuilt.ComputeTagStatus();
      rebuilt.RebuildTimeline();
      ASSERT_EQ(timeline.Status(), rebuilt.Status()) << history;
      ASSERT_EQ(Describe(timeline.DisplayLines()), Describe(rebuilt.DisplayLines())) << history;
      ASSERT_EQ(Describe(timeline.DisplayLines()), Describe(ReferenceOrder(timeline.Lines(), showUntagged))) << history;
      for (int k = 0; k < timeline.DisplayLineCount(); ++k)
        ASSERT_EQ(timeline.DisplayLineOfLine(timeline.LineOfDisplayLine(k)) <= k, true) << history;
      // Queries after the edit agree with the rebuilt timeline.
      for (int t : {0, 4000, 9000, 15000, 30000})
        ASSERT_EQ(timeline.DisplayLineAtTime(t), rebuilt.DisplayLineAtTime(t)) << "t=" << t << "\n" << history;
    }
  }
}

}  // namespace
