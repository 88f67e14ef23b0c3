#include "editor/core/LineListModel.h"

#include <gtest/gtest.h>

#include "TestText.h"

namespace {

struct LineList {
  explicit LineList(const char* text, bool passSpace = false) {
    timeline.ParseText(W(text));
    StampOptions options;
    options.passSpace = passSpace;
    model.SetOptions(options);
  }
  std::string Row(int i) { return timeline.TaggedLineText(i).ToUtf8(); }

  LyricsTimeline timeline;
  LineListModel model{timeline, StampOptions()};
};

TEST(LineListStamp, EnterOverwritesTheHeldOrLastLineTagAndSpaceAddsOne) {
  const struct {
    int held;
    const char* row;
  } cases[] = {{-1, "[00:10:00][00:30:00]chorus"},
               {0, "[00:30:00][01:20:00]chorus"},
               {2, "[00:10:00][00:30:00][01:20:00]chorus"}};
  for (const auto& c : cases) {
    LineList list("[00:10:00][01:20:00]chorus\nnext");
    const LineListResult r = list.model.Stamp(0, 30000, c.held);
    EXPECT_TRUE(r.changed && r.refreshRow == 0 && r.selectRow == 1);
    EXPECT_EQ(list.Row(0), c.row) << c.held;
  }
  LineList list("[00:10:00][01:20:00]chorus\nnext");
  EXPECT_EQ(list.model.AddStamp(0, 30000).selectRow, 1);
  EXPECT_EQ(list.Row(0), "[00:10:00][00:30:00][01:20:00]chorus");
}

TEST(LineListStamp, SelectionSkipsEmptyRowsButNotRowsWithATag) {
  const struct {
    const char* text;
    int row, selected;
  } cases[] = {{"a\n\n\n\nb", 0, 4}, {"a\n\n\n", 0, 3}, {"a\n\n[00:12:00]\nb", 0, 2}, {"a\nb", 1, 1}};
  for (const auto& c : cases) {
    LineList list(c.text, true);
    EXPECT_EQ(list.model.Stamp(c.row, 1000, -1).selectRow, c.selected) << c.text;
  }
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
  r = list.model.Remove(0, -1, false);
  EXPECT_EQ(r.selectRow, 0);
  EXPECT_EQ(list.model.LastStampCheckTarget(), -1);
  EXPECT_EQ(list.model.Remove(1, -1, true).seekTo, 9000);
  list.model.Undo(false);
  EXPECT_EQ(list.Row(0), "[00:12:00]a");
  list.model.Forget();
  r = list.model.Undo(true);
  EXPECT_TRUE(!r.changed && r.seekTo == -1 && r.refreshRow == -1);
}

}  // namespace
