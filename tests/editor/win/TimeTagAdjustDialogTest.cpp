// Dialog 118 driven by its control ids over the real Editor: the fields, rescale and
// shift as the saved file shows them, the seek buttons, and thread messages that
// arrive while it is open.

#include "KaraokeEditHarness.h"
#include "host/ThreadMessages.h"

namespace karaoketest {
namespace {

class TimeTagAdjustDialogTest : public KaraokeEditTest {
 protected:
  HWND Open() {
    PostMessageA(Editor(), WM_COMMAND, kAdjustTags, 0);
    EXPECT_TRUE(WaitFor([&] { return Dialog() != nullptr; }));
    return Dialog();
  }
  std::string Field(HWND dialog, int id) {
    wchar_t text[64] = {};
    return GetDlgItemTextW(dialog, id, text, 64), WString::FromW(text).ToUtf8();
  }
  void Press(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, id, 0);
    WaitFor([&] { return !IsWindow(dialog) || IsWindowVisible(dialog); });
  }
};

TEST_F(TimeTagAdjustDialogTest, RescaleShiftSeeksAndMessagesWhileOpen) {
  Write("first.txt", "[00:10:00]a\n[01:35:00]b\nc\n[03:00:00]d");
  Write("second.txt", "second");
  StartInKaraokeMode({"first.wav", "second.wav"}, 50000);

  HWND dialog = Open();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(Field(dialog, 1030) + Field(dialog, 1031), "[00:10:00][03:00:00]");
  // Taking the end from the clock reads both fields first: one that is not a time
  // gets its value back.
  SetDlgItemTextW(dialog, 1030, L"[00:1x:00]");
  Press(dialog, 4);
  EXPECT_EQ(Field(dialog, 1030) + Field(dialog, 1031), "[00:10:00][00:50:00]");
  SetDlgItemTextW(dialog, 1030, L"[00:12:00]");
  SetDlgItemTextW(dialog, 1031, L"[03:06:00]");
  Press(dialog, 1029);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(SavedLyrics("first.txt"), "[00:12:00]a\r\n[01:39:00]b\r\nc\r\n[03:06:00]d");

  dialog = Open();
  for (int id : {1035, 1036, 1037, 1038}) Press(dialog, id);
  EXPECT_EQ(Player().Seeks(), (std::vector<int>{45000, 50000, 9500, 183500}));
  SetDlgItemTextW(dialog, 1005, L"-25");
  Press(dialog, 1028);
  EXPECT_EQ(SavedLyrics("first.txt"), "[00:11:75]a\r\n[01:38:75]b\r\nc\r\n[03:05:75]d");

  // A song change and a window toggle while the dialog is open wait for it, and are
  // not lost: the Displayer opens and the Editor follows the song.
  dialog = Open();
  Player().Next();
  PostThreadMessageA(GetWindowThreadProcessId(Editor(), nullptr), TM_TOGGLE_WINDOW, kDisplayerWindow, 0);
  SubstitutePlayer::PumpFor(200);
  EXPECT_TRUE(IsWindowVisible(dialog));
  Press(dialog, IDCANCEL);
  EXPECT_TRUE(WaitFor([&] { return ProcessWindow("Mirabo's Lyrics Displayer") != nullptr; }));
  char title[MAX_PATH] = {};
  EXPECT_TRUE(WaitFor([&] { return GetWindowTextA(Editor(), title, sizeof title), strstr(title, "second.txt"); }));
  // The second song's lyrics have no tag: the dialog does not open at all.
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutA(Editor(), WM_COMMAND, kAdjustTags, 0, SMTO_NORMAL, 5000, &answer));
  EXPECT_EQ(Dialog(), nullptr);
}

}  // namespace
}  // namespace karaoketest
