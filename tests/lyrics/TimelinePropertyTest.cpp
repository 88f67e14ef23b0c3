// Randomized properties of the lyrics model, with fixed seeds so that a failure
// repeats: the text survives a parse and write unchanged, the cached time query
// agrees with an uncached one, and stamp edits leave the playback order a full
// rebuild would give.
#include <gtest/gtest.h>

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

std::string Describe(const std::vector<DisplayLine>& order) {
  std::string out;
  for (const DisplayLine& shown : order) {
    out += std::to_string(shown.line) + "@" + std::to_string(shown.time) + ":";
    for (const TimeTag& tag : shown.tags) out += " " + std::to_string(tag.time) + "/" + std::to_string(tag.position);
    out += "\n";
  }
  return out;
}

// Timed display lines are in playback order: their times never go down.
void ExpectPlaybackOrder(const LyricsTimeline& timeline, const std::string& context) {
  int lastTime = -1;
  for (const DisplayLine& shown : timeline.DisplayLines()) {
    if (shown.tags.empty()) continue;
    ASSERT_GE(shown.time, lastTime) << context;
    lastTime = shown.time;
  }
}

const char* const kPieces[] = {
    "[00:01]", "[1:2]", "[00:00:5]", "[:]", "[01:02:03:04]", "[99999999999:00]", "[１２:34]", "[1a:2]",
    "[ 0:1]", "[12]",  "[]",        "[",   "]",             ":",                "0",      "7",
    "a",       "Z",     " ",         "表",   "ソ",             "あ",                "@title=", "@",
    "=",       "\r",    "\n",        "\r\n", "\n",            "[00:10:00]",       "x",      "[a[00:02]",
};

TEST(TimelineProperty, ParseThenWriteGivesTheTextBack) {
  Random random(1);
  LyricsTimeline timeline;
  for (int round = 0; round < 3000; ++round) {
    std::string text, crlf;  // a file comes back with CR before every LF
    for (int p = Pick(random, 24); p > 0; --p) text += kPieces[Pick(random, sizeof kPieces / sizeof kPieces[0])];
    for (size_t i = 0; i < text.size(); ++i)
      crlf += text[i] == '\n' && (i == 0 || text[i - 1] != '\r') ? "\r\n" : std::string(1, text[i]);
    timeline.ParseText(W(text.c_str()));
    ASSERT_EQ(LyricsFileText(timeline).ToUtf8(), crlf) << "input: " << text;
    // Every stamp left a lyric line's text (the scan goes on from the last one taken
    // out, so remnants before it may form a new one); header lines keep theirs.
    for (const LyricLine& line : timeline.Lines()) {
      TimeTag tag;
      int32_t start = line.tags.empty() ? 0 : line.tags.back().position;
      ASSERT_TRUE(line.text.Find(u'\n') == WString::npos && (line.text.At(0) == u'@' || !ScanTimeTag(line.text, start, tag)))
          << "input: " << text;
    }
  }
}

std::string Stamp(int time) {
  TimeTag tag(time, 0);
  FormatTimeTag(tag, LongTagForm);
  return tag.text.ToUtf8();
}

std::string RandomWord(Random& random) {
  static const char* const kSyllables[] = {"la", "ka", "あ", "表", " ", "o"};
  std::string word;
  for (int i = Pick(random, 6); i > 0; --i) word += kSyllables[Pick(random, 6)];
  return word;
}

// Lines of every kind the playback order treats differently: untimed, header,
// one stamp, a repeated line, karaoke, empty timed lines, and equal times.
std::string RandomLyrics(Random& random) {
  const bool karaoke = Pick(random, 3) == 0;
  const bool untimed = Pick(random, 8) == 0;
  std::string text;
  for (int i = Between(random, 1, 14); i > 0; --i) {
    const int time = Pick(random, 40) * 500;
    switch (untimed ? 0 : Pick(random, 7)) {
      case 0: text += RandomWord(random); break;
      case 1: text += "@title=" + RandomWord(random); break;
      case 2:
      case 3: text += Stamp(time) + RandomWord(random); break;
      case 4: text += Stamp(time) + Stamp(Pick(random, 40) * 500) + RandomWord(random); break;
      case 5:
        text += Stamp(time);
        if (!karaoke) break;
        text += "ka" + Stamp(time + Pick(random, 3000)) + "ra" + RandomWord(random);
        if (Pick(random, 2)) text += Stamp(time + Pick(random, 6000));
        break;
      default: break;
    }
    if (i > 1) text += Pick(random, 2) ? "\r\n" : "\n";
  }
  return text;
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
    ExpectPlaybackOrder(timeline, text);
    int t = Pick(random, 2000) - 100;
    for (int query = 0; query < 150; ++query) {
      switch (Pick(random, 10)) {
        case 0: t = Pick(random, 30000); break;  // a jump, often backwards
        case 1: break;                           // the same time again
        case 2: t = Pick(random, 3) == 0 ? INT_MAX : -1; break;
        default: t = t == INT_MAX ? 0 : t + Pick(random, 1500); break;
      }
      LyricsTimeline fresh = timeline;
      fresh.MarkModified();  // forgets any cached answer
      ASSERT_EQ(timeline.DisplayLineAtTime(t), fresh.DisplayLineAtTime(t)) << "t=" << t << " in\n" << text;
    }
  }
}

TimeTag RandomTag(Random& random, int length) {
  TimeTag tag(Pick(random, 40) * 500 + Pick(random, 3), Between(random, -1, length + 1));
  FormatTimeTag(tag, Pick(random, 2) ? LongTagForm : ShortTagForm);
  return tag;
}

// One random stamp edit, with any line and tag index (valid or not); answers what
// it did, for failure messages.
std::string RandomEdit(Random& random, LyricsTimeline& timeline) {
  const int i = Between(random, -1, timeline.LineCount());
  const int length = static_cast<int>(timeline.LineText(i).Length());
  const int tagCount = static_cast<int>(timeline.Line(i).tags.size());
  const int n = Between(random, -1, tagCount);
  const std::string at = " " + std::to_string(i) + " " + std::to_string(n);
  TimeTag tag = RandomTag(random, length);
  bool stillThere;
  switch (Pick(random, 9)) {
    case 0: {
      const bool allowed = timeline.IsValidLine(i) && !timeline.IsHeaderLine(i) && tag.position >= 0 && tag.position <= length;
      EXPECT_EQ(timeline.AddTag(i, tag), allowed ? 1 : 0);
      return "AddTag" + at + " " + std::to_string(tag.time) + "/" + std::to_string(tag.position);
    }
    case 1: timeline.SetTag(i, n, tag); return "SetTag" + at;
    case 2:
      timeline.RemoveTag(i, tagCount && Pick(random, 4) ? timeline.Line(i).tags[Pick(random, tagCount)] : tag);
      return "RemoveTag" + at;
    case 3: timeline.RemoveNthTag(i, n, tag); return "RemoveNthTag" + at;
    case 4:
      timeline.RemoveTagAt(i, tagCount ? timeline.Line(i).tags[Pick(random, tagCount)].position : 0,
                           Between(random, -1, 2), stillThere);
      return "RemoveTagAt" + at;
    case 5: timeline.ShiftAllTags(Between(random, -8000, 8000)); return "Shift";
    case 6: {
      const int oldStart = Pick(random, 20000), oldEnd = oldStart + Pick(random, 20000);
      timeline.RescaleTags(Pick(random, 20000), Pick(random, 30000), oldStart, oldEnd);
      return "Rescale";
    }
    case 7: timeline.ReformatAllTags(Pick(random, 2) ? LongTagForm : ShortTagForm); return "Reformat";
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
      const WString before = LyricsFileText(timeline);
      const uint32_t counter = timeline.ModificationCount();
      history += "\n" + RandomEdit(random, timeline);
      if (timeline.ModificationCount() == counter) {
        ASSERT_EQ(LyricsFileText(timeline), before) << "a refused edit changed lines\n" << history;
        continue;
      }
      ASSERT_EQ(timeline.ModificationCount(), counter + 1) << history;
      // Every stamp stays inside its line and no time goes below 0.
      for (const LyricLine& line : timeline.Lines())
        for (const TimeTag& tag : line.tags) {
          ASSERT_TRUE(tag.position >= 0 && tag.position <= static_cast<int>(line.text.Length())) << history;
          ASSERT_GE(tag.time, 0) << history;
        }
      LyricsTimeline rebuilt;
      rebuilt.SetShowUntaggedLines(showUntagged);
      rebuilt.MutableLines() = timeline.Lines();
      rebuilt.ComputeTagStatus();
      rebuilt.RebuildTimeline();
      ASSERT_EQ(timeline.Status(), rebuilt.Status()) << history;
      ASSERT_EQ(Describe(timeline.DisplayLines()), Describe(rebuilt.DisplayLines())) << history;
      ExpectPlaybackOrder(timeline, history);
      for (int k = 0; k < timeline.DisplayLineCount(); ++k)
        ASSERT_LE(timeline.DisplayLineOfLine(timeline.LineOfDisplayLine(k)), k) << history;
      // Queries after the edit agree with the rebuilt timeline.
      for (int t : {0, 4000, 9000, 15000, 30000})
        ASSERT_EQ(timeline.DisplayLineAtTime(t), rebuilt.DisplayLineAtTime(t)) << "t=" << t << "\n" << history;
    }
  }
}

}  // namespace
