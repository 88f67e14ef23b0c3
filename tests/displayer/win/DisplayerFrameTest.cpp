// The Displayer's frame driven from outside: keys and the close box, dropped files,
// snapping while dragged and sized, following the player, window-shade mode and
// maximising, opening as it was left, and the switches that decide whether it shows.

#include <shlobj.h>

#include "DisplayerHarness.h"

// RECT lives in the global namespace, so its comparison and printing must too.
static bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }
static std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

namespace displayertest {
namespace {

class DisplayerFrameTest : public DisplayerTest {
 protected:
  void SetUp() override { UsePixelSettings(); }

  bool MenuChecked() const {  // menu 114's Displayer item, under the player's system menu
    const UINT state = GetMenuState(GetSystemMenu(player_->MainWindow(), FALSE), 50003, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
  }
  RECT Send(UINT message, WPARAM wParam, RECT rect) {
    SendMessageA(Frame(), message, wParam, reinterpret_cast<LPARAM>(&rect));
    return rect;
  }
  // On the caption, or on the shade bar's view, which passes it on to the frame.
  void DoubleClickCaption(UINT message, HWND window = nullptr) {
    const RECT frame = FrameRect();
    SendMessageA(window ? window : Frame(), message, HTCAPTION, MAKELPARAM(frame.left + 60, frame.top + 4));
  }
  // An HDROP as the shell makes it: DROPFILES, then the wide path and two zeros.
  static HDROP MakeDrop(const WString& path) {
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (path.Length() + 2) * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(drop + 1, path.W(), path.Length() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
  }
};

TEST_F(DisplayerFrameTest, KeysGoToThePlayerAndEscapeCloses) {
  WriteLyrics("keys.txt", "[00:01:00]One\n[00:02:00]Two\n");
  PlayAndStart({Path("keys.wav")}, 1500);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(Frame()) && MenuChecked(); }));
  EXPECT_EQ(GetWindowLongA(Frame(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

  // C is the player's pause key: it works while the Displayer has the keyboard.
  PostMessageA(Frame(), WM_KEYDOWN, 'C', 0);
  ASSERT_TRUE(WaitFor([&] { return Player().State() == PlayState::kPaused; }));
  ASSERT_FALSE(Player().KeysReceived().empty());  // and the character our pump made of it
  const KeyMessage first = Player().KeysReceived()[0];
  EXPECT_TRUE(first.message == WM_KEYDOWN && first.key == 'C');

  PostMessageA(Frame(), WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(WaitFor([&] { return Frame() == nullptr; }));
  EXPECT_TRUE(WaitFor([&] { return !MenuChecked(); }));
  for (const KeyMessage& key : Player().KeysReceived()) EXPECT_NE(key.key, static_cast<WPARAM>(VK_ESCAPE));
  Quit();
  // Closed when the player quit: it stays closed next time.
  EXPECT_NE(ReadIni().find("\nOpen=0"), std::string::npos);
}

TEST_F(DisplayerFrameTest, DroppedFileShowsAtOnce) {
  PlayAndStart({Path("silent.wav")});  // no lyrics, no tags: an empty view
  ASSERT_EQ(ViewShows(Blank), "");
  const WString dropped = WString::FromAnsi(folder_.Path().string()).Append(W("\\落とした歌詞.txt"));
  WriteFileBytes(std::filesystem::path(dropped.W()), W("Dropped one\n二行目\n").ToAnsi());
  PostMessageA(Frame(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(dropped)), 0);
  EXPECT_EQ(ViewShows([&](const Pixels& v) {
              return Same(v, RenderLines(v, {W("Dropped one"), W("二行目")}, 0, kSung), "dropped lines");
            }),
            "");

  // A path longer than MAX_PATH is taken whole, never cut to another file's name: it
  // cannot be read, so the song's (empty) information replaces the lyrics.
  const std::string longPath = folder_.Path().string() + "\\" + std::string(300, 'x');
  WriteFileBytes(longPath.substr(0, MAX_PATH - 1), "Cut\n");
  PostMessageA(Frame(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(WString::FromAnsi(longPath))), 0);
  EXPECT_EQ(ViewShows(Blank), "");
}

TEST_F(DisplayerFrameTest, SnapsToVisiblePlayerWindowsWhileDraggedAndSized) {
  PlayAndStart({Path("snap.wav")});
  // Player windows: main (100,100)-(375,216), equaliser below it to 332, playlist to 564.
  // Dragged within 10 px of the main window's right edge: against it, tops aligned.
  EXPECT_EQ(Send(WM_MOVING, WMSZ_BOTTOMRIGHT, {381, 107, 1021, 307}), (RECT{375, 100, 1015, 300}));
  // Beside the playlist only: against it, the top stays.
  EXPECT_EQ(Send(WM_MOVING, WMSZ_BOTTOMRIGHT, {380, 400, 1020, 600}), (RECT{375, 400, 1015, 600}));
  // A hidden window is no target.
  Player().ShowAux(kAuxPlaylist, false);
  EXPECT_EQ(Send(WM_MOVING, WMSZ_BOTTOMRIGHT, {380, 400, 1020, 600}), (RECT{380, 400, 1020, 600}));

  // Sized near the height of two player windows: that height. Too narrow from the
  // left edge: the right edge stays, the width is the least one.
  EXPECT_EQ(Send(WM_SIZING, WMSZ_BOTTOM, {600, 600, 1240, 828}), (RECT{600, 600, 1240, 832}));
  EXPECT_EQ(Send(WM_SIZING, WMSZ_LEFT, {1000, 600, 1200, 716}), (RECT{925, 600, 1200, 716}));
  EXPECT_EQ(FrameRect(), kFrameRect);  // messages only: the frame has not moved
}

TEST_F(DisplayerFrameTest, WindowShadeAndMaximiseComeBackToTheNormalFrame) {
  PlayAndStart({Path("shade.wav")});
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(Frame()); }));
  const RECT bar{kFrameRect.left, kFrameRect.top, kFrameRect.left + 275, kFrameRect.top + 16};
  DoubleClickCaption(WM_NCRBUTTONDBLCLK);
  EXPECT_EQ(FrameRect(), bar);
  DoubleClickCaption(WM_NCLBUTTONDBLCLK, View());
  EXPECT_TRUE(WaitFor([&] { return FrameRect() == kFrameRect; })) << FrameRect();
  EXPECT_TRUE(IsWindowVisible(Frame()));

  // A double-click on the caption of the normal frame fills the work area, and back.
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  DoubleClickCaption(WM_NCLBUTTONDBLCLK);
  EXPECT_TRUE(IsZoomed(Frame()));
  EXPECT_EQ(FrameRect(), work);
  DoubleClickCaption(WM_NCLBUTTONDBLCLK);
  EXPECT_FALSE(IsZoomed(Frame()));
  EXPECT_EQ(FrameRect(), kFrameRect);

  // Folded and moved when the player quits: the normal frame follows the bar. (Opening
  // as the bar is the next test's.)
  DoubleClickCaption(WM_NCRBUTTONDBLCLK);
  SetWindowPos(Frame(), nullptr, 520, 800, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Quit();
  EXPECT_NE(ReadIni().find("\nOpen=1"), std::string::npos);  // open when the player quit
  std::string shade;
  for (const char* key : {"WindowShadeMode", "WSMWidth", "WSMHeight"})
    shade += std::to_string(GetPrivateProfileIntA(kSection, key, -1, IniPath().c_str())) + " ";
  EXPECT_EQ(shade, "1 275 16 ");
  int32_t saved[4] = {};
  GetPrivateProfileStructA(kSection, "WindowRect", saved, sizeof saved, IniPath().c_str());
  EXPECT_EQ((RECT{saved[0], saved[1], saved[2], saved[3]}), (RECT{520, 800, 1160, 1000}));
}

// The frame opens as it was left: folded (here with an empty saved rectangle, so
// unfolding gives the default frame at the bar's corner, not a frame of no size), or
// maximised over the work area with the normal rectangle kept for restoring.
TEST_F(DisplayerFrameTest, OpensFoldedOrMaximisedAndComesBackToTheNormalFrame) {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const struct {
    const char* key;
    RECT saved, opened, normal;
  } cases[] = {{"WindowShadeMode", {300, 600, 300, 600}, {0, 0, 275, 16}, {0, 0, 640, 116}},
               {"Max", kFrameRect, work, kFrameRect}};
  for (const auto& c : cases) {
    Set(c.key, "1");
    SetFrameRect(c.saved);
    PlayAndStart({Path("open.wav")});
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(Frame()); })) << c.key;
    EXPECT_EQ(FrameRect(), c.opened) << c.key;
    DoubleClickCaption(WM_NCLBUTTONDBLCLK);
    EXPECT_EQ(FrameRect(), c.normal) << c.key;
    Quit();
    Set(c.key, "0");
  }
}

TEST_F(DisplayerFrameTest, CloseBoxClosesAndTheFrameFollowsThePlayerItTouches) {
  Set("MoveTogePlayer", "1");
  SetFrameRect({375, 100, 1015, 300});  // against the main window's right edge
  PlayAndStart({Path("follow.wav")});
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(Frame()); }));
  SendMessageA(Player().MainWindow(), WM_LBUTTONDOWN, 0, MAKELPARAM(10, 10));  // the player is grabbed
  Player().MoveMain(120, 130);
  EXPECT_TRUE(WaitFor([&] { return FrameRect() == RECT{395, 130, 1035, 330}; })) << FrameRect();

  // The close box: 9 x 9, 11 pixels from the right edge, 3 from the top.
  const POINT box{FrameRect().right - 7, FrameRect().top + 7};
  EXPECT_EQ(SendMessageA(Frame(), WM_NCHITTEST, 0, MAKELPARAM(box.x, box.y)), HTCLOSE);
  SetCursorPos(box.x, box.y);
  SendMessageA(Frame(), WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(box.x, box.y));
  SendMessageA(Frame(), WM_LBUTTONUP, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return Frame() == nullptr; }));
}

TEST_F(DisplayerFrameTest, TopMostAndHiddenWhileTheSongHasNoLyrics) {
  Set("TopMost", "1");
  Set("HideNoLyrics", "1");
  WriteLyrics("second.txt", "[00:01:00]Here\n");
  PlayAndStart({Path("first.wav"), Path("second.wav")});
  EXPECT_NE(GetWindowLongA(Frame(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  ASSERT_TRUE(WaitFor([&] { return MenuChecked(); }));  // opened, the song loaded
  EXPECT_FALSE(IsWindowVisible(Frame()));
  Player().Next();
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(Frame()) != 0; }));
  Player().Next();
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(Frame()) == 0; }));
}

}  // namespace
}  // namespace displayertest
