// The line list as the user stamps: lines stamped and saved, undo and redo with the
// overwritten time coming back, the seek and delete keys, a held key gone stale, the
// jump to a row's tag across a header line, and a mode switch that keeps what was
// typed; the title following the playing line, the text box's limit lifted, and the
// Options sheet from the menu.

#include "EditorHarness.h"

namespace editortest {
namespace {

using LineStampingTest = EditorTest;
using Rows_ = std::vector<std::string>;

TEST_F(LineStampingTest, ThreeLinesStampedAndSavedAreReadBack) {
  Set("Sync", "-150");
  Write("song.txt", "One\r\nTwo\r\nThree");
  Start({"song.wav"});
  EXPECT_EQ(Title(), Path("song.txt"));
  StampAt(100);  // -150 ms of Sync: stamped at 0, not before it
  StampAt(2000);
  StampAt(3456);
  EXPECT_EQ(Rows(), (Rows_{"[00:00:00]One", "[00:01:85]Two", "[00:03:30]Three"}));
  EXPECT_EQ(Selected(), 2);  // the last row stays selected
  Command(kSave);
  EXPECT_TRUE(WaitFor([&] { return Read("song.txt") == "[00:00:00]One\r\n[00:01:85]Two\r\n[00:03:30]Three"; }));
  Player().SetPosition(2500);  // the title follows the playing line
  EXPECT_TRUE(WaitFor([&] { return Title() == "Two"; })) << Title();
  Close();  // saved: nothing to ask
  EXPECT_TRUE(WaitFor([&] { return !Editor(); }));
}

TEST_F(LineStampingTest, UndoBringsTheOverwrittenTimeBackAndRedoes) {
  Write("song.txt", "[00:10:00]One\r\nTwo");
  Start({"song.wav"});
  StampAt(12000);  // overwrites 00:10
  Down(VK_CONTROL);
  Key('Z');
  EXPECT_EQ(Rows()[0], "[00:10:00]One");
  EXPECT_EQ(Selected(), 0);
  Key('Z');  // redo: the selection moves on again
  Up(VK_CONTROL);
  EXPECT_EQ(Rows()[0], "[00:12:00]One");
  EXPECT_EQ(Selected(), 1);
  EXPECT_TRUE(Player().Seeks().empty());

  // Shift+Z seeks 3 s before the stamp when it undid something, and not at all after
  // a fresh view (a mode switch round) has nothing to undo.
  Down(VK_SHIFT);
  Key('Z');
  EXPECT_EQ(Player().Seeks(), std::vector<int>{9000});
  for (int i = 0; i < 3; ++i) SendMessageA(Editor(), WM_COMMAND, kSwitchMode, 0);  // done when it returns
  ASSERT_EQ(ViewClass(), "ListBox");
  Down(VK_SHIFT);
  Key('Z');
  Up(VK_SHIFT);
  // The seek keys go from where the last one left; X has no stamp to check.
  for (WPARAM key : {'B', 'N', 'C', 'V', 'X'}) Key(key);
  EXPECT_EQ(Player().Seeks(), (std::vector<int>{9000, 11500, 16500, 11500, 9000}));
}

// Ctrl held when a dialog took the focus (and its release): forgotten, so the next Z
// is the jump, which maps row 2 past the header line to the second lyric line.
TEST_F(LineStampingTest, StaleCtrlIsForgottenAndZJumpsToTheSelectedRow) {
  Write("song.txt", "@title=Song\r\n[00:05:00]One\r\n[00:20:00]Two");
  Start({"song.wav"});
  SendMessageA(View(), LB_SETCURSEL, 2, 0);
  Player().Pause();
  Down(VK_CONTROL);
  SendMessageA(View(), WM_KILLFOCUS, 0, 0);
  Key('Z');
  EXPECT_EQ(Player().LastSeek(), 19000);
  EXPECT_EQ(Player().State(), PlayState::kPlaying);  // Z starts the song first
  EXPECT_EQ(Rows()[2], "[00:20:00]Two");
}

TEST_F(LineStampingTest, ModeSwitchKeepsTypedTextAndTheChangeCounts) {
  Write("song.txt", "[00:01:00]One\r\nTwo");
  Start({"song.wav"});
  SendMessageA(View(), LB_SETCURSEL, 1, 0);
  Command(kSwitchMode);
  ASSERT_TRUE(WaitFor([&] { return ViewClass() == "Edit"; }));
  // Lifted for long files: the limit is unsigned (0xFFFFFFFF reads as -1 on i686).
  EXPECT_GT(static_cast<DWORD>(SendMessageA(View(), EM_GETLIMITTEXT, 0, 0)), 32767u);
  Type("New ");  // the caret came along to line 1
  Command(kSwitchMode);  // karaoke mode is possible for this text
  Command(kSwitchMode);
  ASSERT_TRUE(WaitFor([&] { return ViewClass() == "ListBox"; }));
  EXPECT_EQ(Rows(), (Rows_{"[00:01:00]One", "New Two"}));
  EXPECT_EQ(Selected(), 1);
  Close();
  EXPECT_EQ(Answer(kSaveQuestion, IDCANCEL), "");
  EXPECT_NE(Editor(), nullptr);
  Command(50006);  // the Options sheet, opened by the plug-in thread
  EXPECT_TRUE(WaitFor([] { return ProcessWindow("#32770", "Options") != nullptr; }));
}

// The edit menu's commands on the document, the two deletions after their question.
TEST_F(LineStampingTest, EditMenuCommandsRewriteTheTags) {
  const char* const karaoke = "[00:01:00]a[00:02:00]b\r\n[00:03]c";
  const struct {
    int command, answer;  // answer 0: nothing is asked
    const char* text;
    Rows_ rows;
  } cases[] = {
      {40017, IDOK, karaoke, {"ab", "c"}},
      {40017, IDCANCEL, karaoke, {"[00:01:00]a[00:02:00]b", "[00:03]c"}},
      {40027, IDOK, karaoke, {"[00:01:00]ab", "[00:03]c"}},
      {40024, 0, karaoke, {"[00:01:00]a[00:02:00]b", "[00:03:00]c"}},
      {40025, 0, karaoke, {"[00:01]a[00:02]b", "[00:03]c"}},
      {40026, 0, "[00:01:00][00:05:00]x\r\n[00:03:00]y", {"[00:01:00]x", "[00:03:00]y", "[00:05:00]x"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command * 10 + c.answer);
    Write("song.txt", c.text);
    Start({"song.wav"});
    Command(c.command);
    if (c.answer) {
      EXPECT_EQ(Answer("", c.answer), "");
    }
    EXPECT_TRUE(WaitFor([&] { return Rows() == c.rows; })) << testing::PrintToString(Rows());
    Quit();
  }
}

}  // namespace
}  // namespace editortest
