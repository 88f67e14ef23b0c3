// Stamping: the stamp's time, the karaoke caret and edits, the line list and its undo.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestText.h"
#include "editor/core/LineListModel.h"
#include "editor/core/StampRules.h"
#include "lyrics/LyricsFormat.h"

namespace {

LyricsTimeline Parsed(const char* utf8) {
  LyricsTimeline timeline;
  timeline.ParseText(W(utf8));
  return timeline;
}

TEST(StampTime, SyncIsClampedAndSkippedOnEmptyLinesWhenAsked) {
  LyricsTimeline timeline = Parsed("text\n");
  const struct { int32_t sync; bool notSyncSpace; int line; int32_t position, expected; } cases[] = {
      {-150, false, 0, 100, 0}, {-150, true, 1, 100, 100}, {-150, true, 0, 100, 0}, {250, false, 1, 1000, 1250},
      {INT32_MAX, false, 0, INT32_MAX, INT32_MAX}, {INT32_MIN, false, 0, 5, 0}, {0, false, 0, -1, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(StampTime(timeline, c.line, c.position, StampOptions{c.sync, c.notSyncSpace}), c.expected)
        << c.sync << " " << c.position;
  EXPECT_EQ(MakeStamp(61234, 3).text.ToUtf8(), "[01:01:23]");
  EXPECT_EQ(SeekTarget(-1, 2500), -1);
}

TEST(KaraokeCaret, AdvanceByWordMoraOrTag) {
  for (const char* name : {"jpn", "JPN", "Japan"}) EXPECT_TRUE(IsJapaneseLanguage(W(name))) << name;
  for (const char* name : {"jp", "ENU", ""}) EXPECT_FALSE(IsJapaneseLanguage(W(name))) << name;
  const struct { const char* line; bool ideal, japanese, nextTag; int32_t p, expected; } cases[] = {
      {"Hello, world", true, false, false, 0, 7}, {"it's  ok", true, false, false, 0, 6},
      {"Hello", false, false, false, 0, 1}, {"Hello", true, false, false, 5, 6},  // by character; past the end
      {"きゃりー", true, true, false, 0, 2}, {"きゃりー", true, true, false, 2, 4}, {"きゃりー", true, false, false, 0, 1},
      {"abc[00:01]defg[00:02]hi", true, false, true, 0, 3}, {"abc[00:01]defg[00:02]hi", true, false, true, 3, 7},
      {"abc[00:01]de fg", true, false, true, 3, 6},  // no later tag, none at the end: by word
      {"abc[00:01]de fg[00:02]", true, false, true, 3, 8},
  };
  for (const auto& c : cases) {
    const StampOptions options{0, false, false, c.nextTag, c.ideal, c.japanese};
    EXPECT_EQ(KaraokeCaretAdvance(Parsed(c.line), options, 0, c.p), c.expected) << c.line << " " << c.p;
  }
}

TEST(KaraokeStamp, SpaceShiftEnterAndTheChorusCopy) {
  LyricsTimeline timeline = Parsed("ab cd\n\nab cd\n@title=x");
  const StampOptions options{0, false, true};  // passing empty lines
  // {caret line, column, position, time, Shift}: the first Shift stamp at a bare
  // boundary waits for the second; Enter goes past the empty line; the repetition gets
  // the whole line in one stamp; on the last line, and on a refused header, it stays.
  const struct { KaraokeCaret caret; int32_t position, time; bool second, stamped; KaraokeCaret after; } steps[] = {
      {{0, 0}, 0, 1000, false, true, {0, 3}}, {{0, 3}, 3, 2000, true, true, {0, 3}},
      {{0, 3}, 3, 2100, true, true, {0, 5}},  {{0, 5}, 5, 3000, false, true, {2, 0}},
      {{2, 0}, 0, 61000, false, true, {2, 3}}, {{3, 8}, 8, 4000, false, false, {3, 8}}};
  for (const auto& step : steps) {
    const KaraokeStampResult r = KaraokeStamp(timeline, options, step.caret, step.position, step.time, step.second);
    EXPECT_EQ(std::make_pair(r.stamped, r.caret), std::make_pair(step.stamped, step.after)) << step.time;
  }
  EXPECT_EQ(LyricsFileText(timeline).ToUtf8(), "[00:01:00]ab [00:02:00][00:02:10]cd[00:03:00]\r\n\r\n"
                                               "[01:01:00]ab [01:02:00][01:02:10]cd[01:03:00]\r\n@title=x");
  LyricsTimeline last = Parsed("a\nb");
  EXPECT_EQ(KaraokeStamp(last, options, {1, 1}, 1, 0, false).caret, (KaraokeCaret{1, 1}));
}

TEST(KaraokeEdit, ThinningRemovingAndPossibility) {
  LyricsTimeline timeline = Parsed("[00:01][00:02][00:03]a[00:04][00:05][00:06][00:07]b\n[00:08]c[00:09]");
  EXPECT_EQ(ThinTagRuns(timeline), 3);
  EXPECT_EQ(timeline.TaggedLineText(0).ToUtf8(), "[00:01][00:03]a[00:04][00:07]b");
  bool removed = false;
  EXPECT_EQ(KaraokeBackspace(timeline, {0, 1}, removed), (KaraokeCaret{0, 1}));  // [00:04] stays
  EXPECT_EQ(KaraokeBackspace(timeline, {0, 1}, removed), (KaraokeCaret{0, 0}));
  EXPECT_EQ(KaraokeDelete(timeline, {0, 0}, removed), (KaraokeCaret{0, 0}));
  EXPECT_EQ(timeline.TaggedLineText(0).ToUtf8(), "[00:03]ab");

  EXPECT_TRUE(KaraokeEditingPossible(Parsed("[00:01]a\n[00:02]b")));
  EXPECT_FALSE(KaraokeEditingPossible(Parsed("[00:01][00:05]a\nb")));  // a repeated line
  EXPECT_TRUE(KaraokeEditingPossible(Parsed("[00:01][00:05]a\n[00:02]b[00:03]")));
  EXPECT_EQ(NearestBoundary({0, 10, 20, -1, 40}, 8, 23), 1);  // 18 and 28 tie: the first
  EXPECT_EQ(NearestBoundary({0, 10, 20, -1, 40}, 8, 5), 0);  // the unmeasured 3 would be at 7
  EXPECT_EQ(NearestBoundary({-1}, 8, 8), -1);
}

TEST(RowTagJump, RowsReachTheirTagsThroughTheDocument) {
  // Rows: 0 header, 1 untimed, 2 repeated line, 3 follower, 4 verse, 5 untimed end.
  LyricsTimeline timeline = Parsed("@title=x\nintro\n[00:10][00:50]Chorus\nafter\n[00:20]Verse\nend");
  const struct { int row, held; int32_t target; } cases[] = {
      {2, -1, 9000}, {2, 1, 49000}, {2, 2, -1}, {3, -1, 9000}, {5, -1, 19000},
      {1, -1, 9000}, {0, -1, 9000}, {4, 0, 19000}, {6, -1, -1}, {-1, 0, -1}};
  for (const auto& c : cases) EXPECT_EQ(RowTagJumpTarget(timeline, c.row, c.held), c.target) << c.row;
}

struct LineList {
  explicit LineList(const char* text, bool passSpace = false) : timeline(Parsed(text)) {
    model.SetOptions(StampOptions{0, false, passSpace});
  }
  std::string Row(int i) { return timeline.TaggedLineText(i).ToUtf8(); }
  LyricsTimeline timeline;
  LineListModel model{timeline, StampOptions()};
};

TEST(LineListStamp, EnterOverwritesTheHeldOrLastLineTagAndSpaceAddsOne) {
  // held -2: Space, which adds a tag whatever is held.
  const struct { int held; const char* row; } cases[] = {{-1, "[00:10:00][00:30:00]chorus"},
      {0, "[00:30:00][01:20:00]chorus"}, {2, "[00:10:00][00:30:00][01:20:00]chorus"},
      {-2, "[00:10:00][00:30:00][01:20:00]chorus"}};
  for (const auto& c : cases) {
    LineList list("[00:10:00][01:20:00]chorus\nnext");
    const LineListResult r = c.held == -2 ? list.model.AddStamp(0, 30000) : list.model.Stamp(0, 30000, c.held);
    EXPECT_TRUE(r.changed && r.refreshRow == 0 && r.selectRow == 1) << c.held;
    EXPECT_EQ(list.Row(0), c.row) << c.held;
  }
}

TEST(LineListStamp, SelectionSkipsEmptyRowsButNotRowsWithATag) {
  const struct { const char* text; int row, selected; } cases[] = {
      {"a\n\n\n\nb", 0, 4}, {"a\n\n\n", 0, 3}, {"a\n\n[00:12:00]\nb", 0, 2}, {"a\nb", 1, 1}};
  for (const auto& c : cases)
    EXPECT_EQ(LineList(c.text, true).model.Stamp(c.row, 1000, -1).selectRow, c.selected) << c.text;
  LineList header("@title=x\na");
  const LineListResult refused = header.model.Stamp(0, 1000, -1);
  EXPECT_TRUE(!refused.changed && refused.selectRow == 1);
  EXPECT_FALSE(header.model.Undo(true).changed);  // a refused stamp leaves nothing to undo
}

TEST(LineListUndo, UndoBringsTheOverwrittenTimeBackAndRedoMovesOn) {
  LineList list("[00:10:00]a\nb");
  list.model.Stamp(0, 12000, -1);
  EXPECT_EQ(list.model.LastStampCheckTarget(), 11000);
  LineListResult r = list.model.Undo(true);
  EXPECT_TRUE(r.changed && r.selectRow == 0 && r.seekTo == 9000);
  EXPECT_EQ(list.Row(0), "[00:10:00]a");
  EXPECT_EQ(list.model.LastStampCheckTarget(), -1);
  r = list.model.Undo(false);
  EXPECT_TRUE(r.selectRow == 1 && r.seekTo == -1);
  EXPECT_EQ(list.Row(0), "[00:12:00]a");
  // A removal: undo puts the tag back; Shift+Delete on a bare row still seeks to the
  // record; after Forget nothing is undone and nothing seeks.
  EXPECT_EQ(list.model.Remove(0, -1, false).selectRow, 0);
  EXPECT_EQ(list.model.LastStampCheckTarget(), -1);
  EXPECT_EQ(list.model.Remove(1, -1, true).seekTo, 9000);
  list.model.Undo(false);
  EXPECT_EQ(list.Row(0), "[00:12:00]a");
  list.model.Forget();
  r = list.model.Undo(true);
  EXPECT_TRUE(!r.changed && r.seekTo == -1 && r.refreshRow == -1);
}

}  // namespace
