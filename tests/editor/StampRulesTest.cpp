#include "editor/core/StampRules.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "TestText.h"

namespace {

using Strings = std::vector<std::string>;

LyricsTimeline Parsed(const char* utf8) {
  LyricsTimeline timeline;
  timeline.ParseText(W(utf8));
  return timeline;
}

Strings TaggedLines(LyricsTimeline& timeline) {
  Strings lines;
  for (int i = 0; i < timeline.LineCount(); ++i) lines.push_back(timeline.TaggedLineText(i).ToUtf8());
  return lines;
}

TEST(StampTime, SyncIsClampedAndSkippedOnEmptyLinesWhenAsked) {
  LyricsTimeline timeline = Parsed("text\n");
  const struct {
    int32_t sync;
    bool notSyncSpace;
    int line;
    int32_t position, expected;
  } cases[] = {{-150, false, 0, 100, 0},          {-150, true, 1, 100, 100},     {-150, true, 0, 100, 0},
               {250, false, 1, 1000, 1250},       {INT32_MAX, false, 0, INT32_MAX, INT32_MAX},
               {INT32_MIN, false, 0, 5, 0},       {0, false, 0, -1, 0}};
  for (const auto& c : cases) {
    StampOptions options;
    options.sync = c.sync;
    options.notSyncSpace = c.notSyncSpace;
    EXPECT_EQ(StampTime(timeline, c.line, c.position, options), c.expected) << c.sync << " " << c.position;
  }
  EXPECT_EQ(MakeStamp(61234, 3).text.ToUtf8(), "[01:01:23]");
  EXPECT_EQ(SeekTarget(-1, 2500), -1);
  EXPECT_EQ(SeekTarget(1000, -2500), 0);
}

TEST(KaraokeCaret, AdvanceByWordMoraOrTag) {
  for (const char* name : {"jpn", "JPN", "Japan"}) EXPECT_TRUE(IsJapaneseLanguage(W(name))) << name;
  for (const char* name : {"jp", "ENU", ""}) EXPECT_FALSE(IsJapaneseLanguage(W(name))) << name;

  const struct {
    const char* line;
    bool ideal, japanese, nextTag;
    int32_t p, expected;
  } cases[] = {
      {"Hello, world", true, false, false, 0, 7},  {"it's  ok", true, false, false, 0, 6},
      {"Hello", false, false, false, 0, 1},        {"Hello", true, false, false, 5, 6},
      {"きゃりー", true, true, false, 0, 2},        {"きゃりー", true, true, false, 2, 4},
      {"きゃりー", true, false, false, 0, 1},       {"abc[00:01]defg[00:02]hi", true, false, true, 0, 3},
      {"abc[00:01]defg[00:02]hi", true, false, true, 3, 7},
      {"abc[00:01]de fg", true, false, true, 3, 6},  // no later tag, none at the end: by word
      {"abc[00:01]de fg[00:02]", true, false, true, 3, 8},
  };
  for (const auto& c : cases) {
    LyricsTimeline timeline = Parsed(c.line);
    StampOptions options;
    options.idealCursor = c.ideal;
    options.japanese = c.japanese;
    options.nextTimeTag = c.nextTag;
    EXPECT_EQ(KaraokeCaretAdvance(timeline, options, 0, c.p), c.expected) << c.line << " " << c.p;
  }
}

TEST(KaraokeStamp, SpaceEnterShiftAndTheEndOfTheText) {
  LyricsTimeline timeline = Parsed("ab cd\n\nlast");
  StampOptions options;
  options.passSpace = true;
  KaraokeStampResult r = KaraokeStamp(timeline, options, {0, 0}, 0, 1000, false);
  EXPECT_TRUE(r.stamped);
  EXPECT_EQ(r.caret, (KaraokeCaret{0, 3}));
  // Shift: the first stamp at a bare boundary waits for the second.
  r = KaraokeStamp(timeline, options, r.caret, 3, 2000, true);
  EXPECT_EQ(r.caret, (KaraokeCaret{0, 3}));
  r = KaraokeStamp(timeline, options, r.caret, 3, 2100, true);
  EXPECT_EQ(r.caret, (KaraokeCaret{0, 5}));
  // Enter: the end tag, then past the empty line to column 0.
  r = KaraokeStamp(timeline, options, r.caret, 5, 3000, false);
  EXPECT_EQ(r.caret, (KaraokeCaret{2, 0}));
  EXPECT_TRUE(r.caretLineChanged);
  EXPECT_EQ(TaggedLines(timeline),
            (Strings{"[00:01:00]ab [00:02:00][00:02:10]cd[00:03:00]", "", "last"}));
  // On the last line Enter leaves the caret at its end.
  r = KaraokeStamp(timeline, options, {2, 4}, 4, 4000, false);
  EXPECT_EQ(r.caret, (KaraokeCaret{2, 4}));
  EXPECT_FALSE(r.caretLineChanged);

  LyricsTimeline header = Parsed("@title=x\n[00:01]a");
  r = KaraokeStamp(header, options, {0, 2}, 2, 1000, false);
  EXPECT_FALSE(r.stamped);
  EXPECT_EQ(r.caret, (KaraokeCaret{0, 2}));
}

TEST(KaraokeStamp, RepeatedChorusIsStampedInOneKeystroke) {
  LyricsTimeline timeline = Parsed("[00:10:00]la[00:11:00][00:11:50]la[00:12:00]\nverse\nlala\nlala");
  KaraokeStampResult r = KaraokeStamp(timeline, StampOptions(), {2, 0}, 0, 60000, false);
  EXPECT_TRUE(r.stamped);
  EXPECT_EQ(timeline.TaggedLineText(2).ToUtf8(), "[01:00:00]la[01:01:00][01:01:50]la[01:02:00]");
  // Where no earlier occurrence has its first tag, the stamp stands alone.
  KaraokeStamp(timeline, StampOptions(), {3, 1}, 1, 70000, false);
  EXPECT_EQ(timeline.TagCountAt(3, -1), 1);
}

TEST(KaraokeEdit, ThinningRemovingAndPossibility) {
  LyricsTimeline timeline = Parsed("[00:01][00:02][00:03]a[00:04][00:05][00:06][00:07]b\n[00:08]c[00:09]");
  EXPECT_EQ(ThinTagRuns(timeline), 3);
  EXPECT_EQ(timeline.TaggedLineText(0).ToUtf8(), "[00:01][00:03]a[00:04][00:07]b");

  bool removed = false;
  EXPECT_EQ(KaraokeBackspace(timeline, {0, 1}, removed), (KaraokeCaret{0, 1}));  // [00:04] stays
  EXPECT_TRUE(removed);
  EXPECT_EQ(KaraokeBackspace(timeline, {0, 1}, removed), (KaraokeCaret{0, 0}));
  EXPECT_EQ(KaraokeDelete(timeline, {0, 0}, removed), (KaraokeCaret{0, 0}));
  EXPECT_EQ(timeline.TaggedLineText(0).ToUtf8(), "[00:03]ab");

  const struct {
    const char* text;
    bool possible;
  } cases[] = {{"[00:01]a\n[00:02]b", true},
               {"[00:01][00:05]a\nb", false},
               {"[00:01][00:05]a\n[00:02]b[00:03]", true},
               {"", true}};
  for (const auto& c : cases) EXPECT_EQ(KaraokeEditingPossible(Parsed(c.text)), c.possible) << c.text;

  EXPECT_EQ(NearestBoundary({0, 10, 20, -1, 40}, 8, 23), 1);  // 18 and 28 tie: the first
  EXPECT_EQ(NearestBoundary({0, 10, 20, -1, 40}, 8, 5), 0);  // the unmeasured 3 would be at 7
  EXPECT_EQ(NearestBoundary({0, 10}, 8, -500), 0);
  EXPECT_EQ(NearestBoundary({-1}, 8, 8), -1);
}

TEST(RowTagJump, RowsReachTheirTagsThroughTheDocument) {
  // Rows: 0 header, 1 untimed, 2 repeated line, 3 follower, 4 verse, 5 untimed end.
  LyricsTimeline timeline = Parsed("@title=x\nintro\n[00:10][00:50]Chorus\nafter\n[00:20]Verse\nend");
  const struct {
    int row, held;
    int32_t target;
  } cases[] = {{2, -1, 9000}, {2, 1, 49000}, {2, 2, -1}, {3, -1, 9000}, {5, -1, 19000},
               {1, -1, 9000}, {0, -1, 9000}, {4, 0, 19000}, {6, -1, -1}, {-1, 0, -1}};
  for (const auto& c : cases) EXPECT_EQ(RowTagJumpTarget(timeline, c.row, c.held), c.target) << c.row;
  LyricsTimeline untimed = Parsed("a\nb");
  EXPECT_EQ(RowTagJumpTarget(untimed, 1, -1), -1);
}

}  // namespace
