#include "lyrics/LyricsTimeline.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "TestText.h"
#include "lyrics/LyricsFormat.h"

namespace {

// "line@time" for each display line, time -1 when untimed.
std::vector<std::string> Order(const LyricsTimeline& timeline) {
  std::vector<std::string> order;
  for (const DisplayLine& shown : timeline.DisplayLines())
    order.push_back(timeline.LineText(shown.line).ToUtf8() + "@" + std::to_string(shown.time));
  return order;
}

// "time:position" of each completed tag of display line k.
std::vector<std::string> Completed(const LyricsTimeline& timeline, int k) {
  std::vector<TimeTag> tags;
  timeline.DisplayLineTags(k, tags);
  std::vector<std::string> out;
  for (const TimeTag& tag : tags) out.push_back(std::to_string(tag.time) + ":" + std::to_string(tag.position));
  return out;
}

// The completed tags of every display line, "|" between lines.
std::string AllCompleted(const LyricsTimeline& timeline) {
  std::string out;
  for (int k = 0; k < timeline.DisplayLineCount(); ++k) {
    for (const std::string& tag : Completed(timeline, k)) out += tag + " ";
    out += "|";
  }
  return out;
}

LyricsTimeline Parsed(const char* utf8, bool showUntagged = true) {
  LyricsTimeline timeline;
  timeline.SetShowUntaggedLines(showUntagged);
  timeline.ParseText(W(utf8));
  return timeline;
}

using Strings = std::vector<std::string>;

TEST(PlaybackOrder, RepeatedLineShowsOncePerStampWithItsUntimedFollowers) {
  LyricsTimeline timeline = Parsed("intro\n@title=t\n[00:10][00:50]Chorus\nafter\n@x\nmore\n[00:20]Verse\n[00:30]");
  EXPECT_EQ(Order(timeline), (Strings{"intro@-1", "Chorus@10000", "after@-1", "more@-1", "Verse@20000", "@30000",
                                      "Chorus@50000", "after@-1", "more@-1"}));
  EXPECT_EQ(timeline.Status(), StatusTimed);

  timeline.SetShowUntaggedLines(false);
  EXPECT_EQ(Order(timeline).size(), 9u);  // only at the next rebuild
  timeline.RebuildTimeline();
  EXPECT_EQ(Order(timeline), (Strings{"Chorus@10000", "Verse@20000", "@30000", "Chorus@50000"}));
}

TEST(PlaybackOrder, KaraokeDocumentKeepsEveryLineWhole) {
  LyricsTimeline timeline = Parsed("[00:10][00:50]x\n[00:05]a[00:01]b\n[00:05]c");
  ASSERT_EQ(timeline.Status(), StatusTimed | StatusKaraoke);
  // A line's time is its first stamp in the line, even when a later one is earlier;
  // equal times keep file order.
  EXPECT_EQ(Order(timeline), (Strings{"ab@5000", "c@5000", "x@10000"}));
  EXPECT_EQ(Completed(timeline, 0), (Strings{"1000:1", "5000:0", "5000:2"}));
}

TEST(PlaybackOrder, UntimedDocumentShowsEveryLyricLine) {
  LyricsTimeline timeline = Parsed("@title=t\na\n\nb", false);
  EXPECT_EQ(Order(timeline), (Strings{"a@-1", "@-1", "b@-1"}));
  LyricsTimeline empty;
  EXPECT_EQ(empty.DisplayLineCount(), 0);
  EXPECT_EQ(empty.DisplayLineAtTime(1000), -1);
}

TEST(PlaybackOrder, IndexQueries) {
  LyricsTimeline timeline = Parsed("lead\n[00:10][00:50]Chorus\nafter\n@h\n[00:20]Verse");
  // 0 lead, 1 Chorus@10, 2 after, 3 Verse@20, 4 Chorus@50, 5 after
  ASSERT_EQ(timeline.DisplayLineCount(), 6);
  EXPECT_EQ(timeline.DisplayLineText(3).ToUtf8(), "Verse");
  EXPECT_TRUE(timeline.DisplayLineText(6).IsEmpty());
  LyricsTimeline untimed = Parsed("a\nb");
  const std::pair<int, int> answers[] = {
      {timeline.DisplayLineTime(0), -1},          {timeline.DisplayLineTime(4), 50000},
      {timeline.DisplayLineTime(-1), -1},         {timeline.DisplayLineEndTime(1), 20000},
      {timeline.DisplayLineEndTime(4), 60000},    {timeline.DisplayLineEndTime(2), -1},
      {timeline.LineOfDisplayLine(-3), -1},       {timeline.LineOfDisplayLine(4), 1},
      {timeline.LineOfDisplayLine(6), 5},         {timeline.DisplayLineOfLine(-1), -1},  // 5: the line count
      {timeline.DisplayLineOfLine(1), 1},         {timeline.DisplayLineOfLine(2), 2},
      {timeline.DisplayLineOfLine(3), -1},        {timeline.DisplayLineOfLine(5), 6},    // -1: a header line
      {timeline.NextTimedDisplayLine(-1), 1},     {timeline.NextTimedDisplayLine(1), 3},
      {timeline.NextTimedDisplayLine(4), 6},      {timeline.NextTimedDisplayLine(6), 6},
      {timeline.PrevTimedDisplayLine(-1), -1},    {timeline.PrevTimedDisplayLine(1), -1},
      {timeline.PrevTimedDisplayLine(3), 1},      {timeline.PrevTimedDisplayLine(6), 4},
      {untimed.NextTimedDisplayLine(0), 1},       {untimed.NextTimedDisplayLine(2), 2},
      {untimed.PrevTimedDisplayLine(0), -1},      {untimed.PrevTimedDisplayLine(2), 1},
  };
  for (size_t i = 0; i < std::size(answers); ++i) EXPECT_EQ(answers[i].first, answers[i].second) << "answer " << i;
}

TEST(DisplayLineAtTime, FollowsTheStampsAndEndsTenSecondsAfterTheLast) {
  const char* const kLead = "lead\n[00:10]one\n[00:20]two\n[00:25]";  // lead, one@10, two@20, (empty)@25
  const char* const kTwo = "[00:10]one\n[00:20]two";
  const char* const kHuge = "[00:10]one\n[99999999999:00]two";  // a stamp at the largest time
  struct Case {
    const char* text;
    int t, line;
  } cases[] = {
      // The first query after loading: the largest time is no cached answer.
      {"[00:10]one\n[00:20]", INT_MAX, 1}, {"[00:10]one", INT_MAX, 1},
      {kLead, -5, -1}, {kLead, 0, -1}, {kLead, 9999, -1}, {kLead, 10000, 1}, {kLead, 19999, 1}, {kLead, 20000, 2},
      {kLead, 24999, 2}, {kLead, 25000, 3}, {kLead, 34999, 3},
      {kLead, 35000, 3}, {kLead, INT_MAX, 3}, {kLead, 5000, -1},  // an empty line is never "over"
      {kTwo, 29999, 1}, {kTwo, 30000, 2}, {kTwo, 15000, 0},        // 2: the count
      // An explicit end stamp ends the line earlier.
      {"[00:10]one[00:12]\n[00:20]two", 11999, 0}, {"[00:10]one[00:12]\n[00:20]two", 12000, 1},
      {"[00:10]one[00:12]\n[00:20]two", 19999, 1}, {"[00:10]one[00:12]\n[00:20]two", 20000, 1},
      // A line at the largest time ends at once, without wrapping around.
      {kHuge, INT_MAX - 1, 0}, {kHuge, INT_MAX, 2},
  };
  LyricsTimeline timeline;
  const char* loaded = nullptr;
  for (const Case& c : cases) {
    if (c.text != loaded) timeline = Parsed(loaded = c.text);
    EXPECT_EQ(timeline.DisplayLineAtTime(c.t), c.line) << c.text << " at " << c.t;
  }
  EXPECT_EQ(Completed(Parsed(kHuge), 1), (Strings{"2147483647:0", "2147483647:3", "2147483647:3"}));
}

TEST(DisplayLineTags, CompletesEachLineWithTheStampsThatEndIt) {
  const std::pair<const char*, const char*> cases[] = {
      // The empty line ends at the next; the last one ten seconds after its stamp.
      {"[00:10]one\n[00:20]\n[00:30]three", "10000:0 10000:3 20000:3 |20000:0 30000:0 |30000:0 30000:5 40000:5 |"},
      // The second line has ended already.
      {"[00:10]o[00:11]ne\n[00:20]t[00:21]wo[00:23]\n[00:40]", "10000:0 11000:1 20000:3 |20000:0 21000:1 23000:3 |40000:0 50000:0 |"},
      // An empty karaoke line whose last stamp is later than the next line keeps it.
      {"[00:10][00:30]\n[00:20]x\n[00:40]y[00:41]z", "10000:0 30000:0 30000:0 |20000:0 40000:1 |40000:0 41000:1 50000:2 |"},
      {"a[00:01]b\n[00:10]\n", "1000:1 1000:2 10000:2 |10000:0 20000:0 ||"},
  };
  for (const auto& [text, completed] : cases) EXPECT_EQ(AllCompleted(Parsed(text)), completed) << text;
  LyricsTimeline plain = Parsed(cases[0].first);
  EXPECT_TRUE(Completed(plain, 3).empty() && Completed(plain, -1).empty());
}

// "time:position time:position" of the stamps either side of t in display line k.
std::string Around(const LyricsTimeline& timeline, int k, int t) {
  TimeTag previous, next;
  if (!timeline.TagsAround(k, t, previous, next)) return "none";
  return std::to_string(previous.time) + ":" + std::to_string(previous.position) + " " + std::to_string(next.time) +
         ":" + std::to_string(next.position);
}

TEST(TagsAround, AnswersTheStampsOnEitherSideOfTheTime) {
  LyricsTimeline timeline = Parsed("[00:10]o[00:11]n[00:12]e\n[00:20]x");
  std::string answers;
  for (int t : {5000, 10000, 11500, 19999, 20000}) answers += Around(timeline, 0, t) + ", ";
  EXPECT_EQ(answers + Around(timeline, 2, 0) + Around(timeline, -1, 0),
            "10000:0 10000:0, 10000:0 11000:1, 11000:1 12000:2, 12000:2 20000:3, 20000:3 20000:3, nonenone");

  // Overlapping karaoke lines: the next line starts before this one's last stamp,
  // so the completed list goes back in time. The answer stays inside the list.
  LyricsTimeline overlap = Parsed("[00:10]a[00:30]b\n[00:20]c");
  ASSERT_EQ(Completed(overlap, 0), (Strings{"10000:0", "30000:1", "20000:2"}));
  EXPECT_EQ(Around(overlap, 0, 15000), "10000:0 30000:1");
  for (int t : {20000, 25000, 35000}) EXPECT_EQ(Around(overlap, 0, t), "20000:2 20000:2") << t;
}

TEST(UntimedAnchor, InterpolatesLinesOverTheSong) {
  LyricsTimeline timeline = Parsed("0\n1\n2\n3\n4\n5\n6\n7\n8\n9");
  EXPECT_EQ(timeline.DisplayLineAtTime(1000), -1);  // no song length yet
  // Anchor line 2 at 20 s of a 100 s song; out-of-range anchors are clamped into
  // 0..count-1 and 0..length-1; a song of no length puts every time past the end.
  struct Case {
    int anchorLine, anchorTime, length, t, line;
  } cases[] = {
      {2, 20000, 100000, 10000, 0},   {2, 20000, 100000, 19999, 1},  {2, 20000, 100000, 20000, 2},
      {2, 20000, 100000, 60000, 6},   {2, 20000, 100000, 90000, 9},  {2, 20000, 100000, 99999, 10},
      {2, 20000, 100000, 200000, 10}, {2, 20000, 100000, -1, -1},    {50, 500000, 100000, 99998, 8},
      {50, 500000, 100000, 99999, 9}, {50, 500000, 100000, 100000, 10}, {-4, -100, 100000, 0, 0},
      {-4, -100, 100000, 50000, 5},   {3, 7000, 0, 0, 10},           {3, 7000, 0, 7000, 10},
      // A stream's length is unknown (negative): no line at all.
      {1, 5000, -1, 5000, -1},        {1, 5000, -1000, 0, -1},       {1, 5000, INT_MIN, 600000, -1},
  };
  for (const Case& c : cases) {
    timeline.SetUntimedAnchor(c.anchorLine, c.anchorTime, c.length);
    EXPECT_EQ(timeline.DisplayLineAtTime(c.t), c.line) << c.anchorLine << " " << c.anchorTime << " " << c.length << " " << c.t;
  }
}

TEST(UntimedAnchor, LongSongsAndLongDocumentsDoNotOverflow) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "line\n";
  LyricsTimeline timeline = Parsed((text + "last").c_str());
  ASSERT_EQ(timeline.DisplayLineCount(), 3001);
  // Line 1500 at 1,000 s of a 2,000 s song: 1.5 lines a second on either side.
  timeline.SetUntimedAnchor(1500, 1000000000, 2000000000);
  const std::pair<int, int> cases[] = {{0, 0},       {999999999, 1499},  {1000000000, 1500},
                                       {1500000000, 2250}, {1999999999, 3001}, {INT_MAX, 3001}};
  for (const auto& [t, line] : cases) EXPECT_EQ(timeline.DisplayLineAtTime(t), line) << t;
}

TEST(StampEdits, AddAndSetKeepTagsInsideTheText) {
  // Which stamps AddTag refuses, and that a refusal changes nothing, is the property test's.
  LyricsTimeline timeline = Parsed("@title=t\nabc\n[00:05]x");
  const uint32_t before = timeline.ModificationCount();
  ASSERT_EQ(timeline.AddTag(1, TimeTag(3000, 3, W("[00:03]"))), 1);
  ASSERT_EQ(timeline.AddTag(1, TimeTag(1000, 0, W("[00:01]"))), 1);
  ASSERT_EQ(timeline.AddTag(1, TimeTag(500, 3, W("[00:00:50]"))), 1);
  EXPECT_EQ(timeline.TaggedLineText(1).ToUtf8(), "[00:01]abc[00:00:50][00:03]");
  EXPECT_EQ(timeline.ModificationCount(), before + 3);
  EXPECT_EQ(timeline.Status(), StatusTimed | StatusKaraoke);
  EXPECT_EQ(Order(timeline), (Strings{"abc@1000", "x@5000"}));

  // SetTag: the n-th tag at the position is overwritten, otherwise appended.
  ASSERT_EQ(timeline.SetTag(1, 1, TimeTag(4000, 3, W("[00:04]"))), 1);
  EXPECT_EQ(timeline.TaggedLineText(1).ToUtf8(), "[00:01]abc[00:00:50][00:04]");
  ASSERT_EQ(timeline.SetTag(1, 2, TimeTag(200, 3, W("[00:00:20]"))), 1);
  EXPECT_EQ(timeline.TaggedLineText(1).ToUtf8(), "[00:01]abc[00:00:20][00:00:50][00:04]");
  ASSERT_EQ(timeline.SetTag(1, 0, TimeTag(2000, 1, W("[00:02]"))), 1);  // none at 1 yet
  EXPECT_EQ(timeline.TaggedLineText(1).ToUtf8(), "[00:01]a[00:02]bc[00:00:20][00:00:50][00:04]");
  // Past the text, and on a header line: refused.
  EXPECT_EQ(timeline.SetTag(1, 0, TimeTag(2000, 4, W("[00:02]"))) + timeline.SetTag(0, 0, TimeTag(2000, 0, W("[00:02]"))), 0);
}

TEST(StampEdits, RemovalsReportWhatIsLeft) {
  LyricsTimeline timeline = Parsed("[00:01]a[00:02][00:03]b[00:04]\n@h");
  TimeTag removed;
  EXPECT_EQ(timeline.RemoveTag(0, TimeTag(2000, 2)), 0);  // right time, wrong position
  ASSERT_EQ(timeline.RemoveTag(0, TimeTag(2000, 1)), 1);
  EXPECT_EQ(timeline.TaggedLineText(0).ToUtf8(), "[00:01]a[00:03]b[00:04]");
  ASSERT_EQ(timeline.RemoveNthTag(0, -1, removed), 1);
  EXPECT_EQ(removed.time, 4000);
  EXPECT_EQ(timeline.RemoveNthTag(0, 5, removed) + timeline.RemoveNthTag(1, 0, removed), 0);

  timeline.ParseText(W("ab[00:01][00:02][00:03]c"));
  // The n-th stamp at position 2: the answer, whether one is left there, the line left.
  const struct {
    int n, answer;
    bool left;
    const char* line;
  } steps[] = {{1, 1, true, "ab[00:01][00:03]c"}, {2, 0, true, "ab[00:01][00:03]c"}, {-1, 1, true, "ab[00:01]c"},
               {0, 1, false, "abc"}, {0, 0, false, "abc"}};
  for (const auto& step : steps) {
    bool stillThere = !step.left;
    EXPECT_EQ(timeline.RemoveTagAt(0, 2, step.n, stillThere), step.answer) << step.n;
    EXPECT_EQ(stillThere, step.left) << step.n;
    EXPECT_EQ(timeline.TaggedLineText(0).ToUtf8(), step.line) << step.n;
  }
  EXPECT_EQ(timeline.Status(), StatusUntimed);
}

TEST(StampEdits, LineLosingItsLastTagAfterAHeaderLineStaysShown) {
  LyricsTimeline timeline = Parsed("[00:01]a\n@title=t\n[00:02]b\n[00:03]c");
  TimeTag removed;
  ASSERT_EQ(timeline.RemoveNthTag(2, 0, removed), 1);
  EXPECT_EQ(Order(timeline), (Strings{"a@1000", "b@-1", "c@3000"}));
}

TEST(StampEdits, RepeatedLineSplitsAgainWhenTheDocumentStopsBeingKaraoke) {
  LyricsTimeline timeline = Parsed("[00:10][00:50]Chorus\n[00:20]v[00:21]erse");
  EXPECT_EQ(Order(timeline), (Strings{"Chorus@10000", "verse@20000"}));
  TimeTag removed;
  ASSERT_EQ(timeline.RemoveNthTag(1, 1, removed), 1);
  EXPECT_EQ(Order(timeline), (Strings{"Chorus@10000", "verse@20000", "Chorus@50000"}));
}

// The tagged text of every line, "|" between lines.
std::string Texts(LyricsTimeline& timeline) {  // TaggedLineText is not const
  std::string out;
  for (int i = 0; i < timeline.LineCount(); ++i) out += timeline.TaggedLineText(i).ToUtf8() + "|";
  return out;
}

TEST(StampEdits, DocumentWideEdits) {
  LyricsTimeline timeline = Parsed("[00:01:50]a\n[00:10]b[00:12]\nplain");
  // Each edit answers 1 and leaves these lines. Shifting stops at 0; rescaling maps
  // [5 s, 7 s] onto [10 s, 20 s] and leaves a stamp outside the old range alone, and
  // an old range of no length moves its stamps to the new end.
  const std::pair<std::function<int()>, const char*> edits[] = {
      {[&] { return timeline.ShiftAllTags(-5000); }, "[00:00:00]a|[00:05:00]b[00:07:00]|plain|"},
      {[&] { return timeline.ReformatAllTags(ShortTagForm); }, "[00:00]a|[00:05]b[00:07]|plain|"},
      {[&] { return timeline.RescaleTags(10000, 20000, 5000, 7000); }, "[00:00]a|[00:10:00]b[00:20:00]|plain|"},
      {[&] { return timeline.RescaleTags(3000, 9000, 20000, 20000); }, "[00:00]a|[00:10:00]b[00:03:00]|plain|"},
  };
  for (const auto& [edit, lines] : edits) {
    EXPECT_EQ(edit(), 1) << lines;
    EXPECT_EQ(Texts(timeline), lines);
  }
  EXPECT_EQ(timeline.RescaleTags(0, 1, 30000, 40000), 0);
  // Large spans use 64-bit products; results are clamped to 0 and to the largest time.
  ASSERT_EQ(timeline.RescaleTags(-2000000000, 2000000000, 0, 2000000000), 1);
  EXPECT_EQ(timeline.Line(0).tags[0].time + timeline.Line(1).tags[0].time, 0);
  ASSERT_EQ(timeline.ShiftAllTags(INT_MAX), 1);
  EXPECT_EQ(timeline.Line(0).tags[0].time, INT_MAX);
  ASSERT_EQ(timeline.RescaleTags(0, 2000000000, 0, INT_MAX), 1);
  EXPECT_EQ(timeline.Line(0).tags[0].time, 2000000000);

  ASSERT_EQ(timeline.RemoveKaraokeTags(), 1);
  EXPECT_EQ(timeline.Line(1).tags.size(), 1u);
  EXPECT_EQ(timeline.RemoveKaraokeTags(), 0);
  ASSERT_EQ(timeline.RemoveAllTags(), 1);
  EXPECT_EQ(timeline.Status(), StatusUntimed);
  // Nothing left to change: each answers 0.
  EXPECT_EQ(timeline.RemoveAllTags() + timeline.ShiftAllTags(10) + timeline.ReformatAllTags(LongTagForm), 0);
}

TEST(StampEdits, ExpandToPlaybackOrderAndMakeKaraoke) {
  LyricsTimeline timeline = Parsed("@title=t\n[00:10][00:30]Chorus\nafter\n[00:20]Verse");
  ASSERT_EQ(timeline.ExpandToPlaybackOrder(), 1);
  EXPECT_EQ(LyricsFileText(timeline).ToUtf8(),
            "@title=t\r\n[00:10]Chorus\r\nafter\r\n[00:20]Verse\r\n[00:30]Chorus\r\nafter");

  ASSERT_EQ(timeline.MakeKaraoke(), 1);
  // Each timed line is sung at once: start, start again at its end, its end.
  // The completing stamps are written out, so the karaoke timing survives a save.
  EXPECT_EQ(LyricsFileText(timeline).ToUtf8(),
            "@title=t\r\n[00:10]Chorus[00:10:00][00:20:00]\r\nafter\r\n[00:20]Verse[00:20:00][00:30:00]\r\n"
            "[00:30]Chorus[00:30:00][00:40:00]\r\nafter");
  EXPECT_EQ(timeline.Status(), StatusTimed | StatusKaraoke);
  EXPECT_EQ(timeline.ExpandToPlaybackOrder() + Parsed("a").MakeKaraoke(), 0);
}

TEST(PlainText, LinesAreShownAsWrittenWithoutStampsOrHeaderFields) {
  LyricsTimeline timeline = Parsed("[00:01]old");
  timeline.SetPlainText(W("Title : [00:45] Intro\r\n\r\n@title=x\nlast"));
  EXPECT_EQ(Order(timeline), (Strings{"Title : [00:45] Intro@-1", "@-1", "last@-1"}));
  EXPECT_EQ(timeline.Status(), StatusUntimed);
  EXPECT_TRUE(timeline.Title().IsEmpty());
  timeline.SetPlainText(WString());
  EXPECT_EQ(timeline.Status(), StatusNone);
  EXPECT_EQ(timeline.DisplayLineCount(), 0);
}

}  // namespace

// --------------------------------------------------------- tags at one position

TEST(TagCountAt, CountsTheRunThatStartsAtTheFirstTagThere) {
  // Line 1: positions 0, 2, 2, 3, then 0 again out of order (as written, unsorted).
  LyricsTimeline timeline = Parsed("[00:01]ab\n[00:01]ab[00:02][00:03]c[00:04]\n@title=x");
  timeline.MutableLines()[1].tags.push_back(TimeTag(5000, 0));
  const struct {
    int line, position, count;
  } cases[] = {{0, 0, 1}, {0, 1, 0}, {0, -1, 1}, {1, 0, 1}, {1, 2, 2}, {1, 3, 1},
               {1, -1, 5}, {2, 0, 0}, {2, -1, 0}, {-1, 0, 0}, {3, -1, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(timeline.TagCountAt(c.line, c.position), c.count) << c.line << "," << c.position;
}
