// The line list as the user stamps: three lines stamped and saved, undo and redo with
// the overwritten time coming back, held keys that go stale, the jump to a row's tag
// across a header line, and a mode switch that keeps what was typed.

#include "EditorHarness.h"

namespace editortest {
namespace {

using LineStampingTest = EditorTest;

TEST_F(LineStampingTest, ThreeLinesStampedAndSavedAreReadBack) {
  Set("Sync", "-150");
  Write("song.txt", "One\r\nTwo\r\nThree");
  StartAndWait({"song.wav"});
  EXPECT_EQ(ViewClass(), "ListBox");
  EXPECT_EQ(Title(), Path("song.txt"));
  EXPECT_EQ(Selected(), 0);
  StampAt(100);  // -150 ms of Sync: stamped at 0, not before it
  StampAt(2000);
  StampAt(3456);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"[00:00:00]One", "[00:01:85]Two", "[00:03:30]Three"}));
  EXPECT_EQ(Selected(), 2);  // the last row stays selected

  Command(kSave);
  ASSERT_TRUE(WaitFor([&] { return Read("song.txt") == "[00:00:00]One\r\n[00:01:85]Two\r\n[00:03:30]Three"; }))
      << Read("song.txt");
  CloseEditor();  // saved: nothing to ask
  EXPECT_TRUE(EditorGone());
  EXPECT_EQ(Dialog(), nullptr);
}

TEST_F(LineStampingTest, UndoBringsTheOverwrittenTimeBackAndRedoes) {
  Write("song.txt", "[00:10:00]One\r\nTwo");
  StartAndWait({"song.wav"});
  StampAt(12000);  // overwrites 00:10
  EXPECT_EQ(Rows()[0], "[00:12:00]One");
  EXPECT_EQ(Selected(), 1);

  KeyDown(VK_CONTROL);
  Key('Z');
  EXPECT_EQ(Rows()[0], "[00:10:00]One");
  EXPECT_EQ(Selected(), 0);
  Key('Z');  // Ctrl still held: redo, and the selection moves on again
  KeyUp(VK_CONTROL);
  EXPECT_EQ(Rows()[0], "[00:12:00]One");
  EXPECT_EQ(Selected(), 1);
  EXPECT_TRUE(Player().Seeks().empty());

  // Shift+Z undoes and seeks 3 s before the stamp; after a fresh view's empty record
  // (a mode switch there and back) it does nothing at all, not even a seek.
  KeyDown(VK_SHIFT);
  Key('Z');
  EXPECT_EQ(Player().LastSeek(), 9000);
  Command(kSwitchMode);
  Command(kSwitchMode);
  Command(kSwitchMode);
  ASSERT_TRUE(WaitFor([&] { return ViewClass() == "ListBox"; }));
  const size_t seeks = Player().Seeks().size();
  KeyDown(VK_SHIFT);
  Key('Z');
  KeyUp(VK_SHIFT);
  EXPECT_EQ(Player().Seeks().size(), seeks);
}

// A modal dialog opened while Ctrl is held swallows its release: focus loss forgets
// it, so the next Z is the jump, not an undo. The jump maps the selected row through
// the document: with a header line above, row 2 is the second lyric line.
TEST_F(LineStampingTest, StaleCtrlIsForgottenAndZJumpsToTheSelectedRow) {
  Write("song.txt", "@title=Song\r\n[00:05:00]One\r\n[00:20:00]Two");
  StartAndWait({"song.wav"});
  SendMessageA(View(), LB_SETCURSEL, 2, 0);
  Player().Pause();
  KeyDown(VK_CONTROL);
  SendMessageA(View(), WM_KILLFOCUS, 0, 0);
  Key('Z');
  EXPECT_EQ(Player().LastSeek(), 19000);
  EXPECT_EQ(Player().State(), PlayState::kPlaying);  // Z starts the song first
  EXPECT_EQ(Rows()[2], "[00:20:00]Two");
}

TEST_F(LineStampingTest, ModeSwitchKeepsTypedTextAndTheChangeCounts) {
  Write("song.txt", "[00:01:00]One\r\nTwo");
  StartAndWait({"song.wav"});
  SendMessageA(View(), LB_SETCURSEL, 1, 0);
  Command(kSwitchMode);
  ASSERT_TRUE(WaitFor([&] { return ViewClass() == "Edit"; }));
  EXPECT_EQ(Title(), Path("song.txt"));
  // The caret came along to line 1: typing lands there.
  for (char c : std::string("New ")) SendMessageA(View(), WM_CHAR, static_cast<WPARAM>(c), 1);
  Command(kSwitchMode);  // karaoke mode is possible for this text
  Command(kSwitchMode);
  ASSERT_TRUE(WaitFor([&] { return ViewClass() == "ListBox"; }));
  EXPECT_EQ(Rows(), (std::vector<std::string>{"[00:01:00]One", "New Two"}));
  EXPECT_EQ(Selected(), 1);

  CloseEditor();  // typed text is unsaved: the question comes
  EXPECT_EQ(Answer(kSaveQuestion, IDCANCEL), "");
  EXPECT_NE(Editor(), nullptr);
}

}  // namespace
}  // namespace editortest
