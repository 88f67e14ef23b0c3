// The link against the substitute player, on one thread as in the real player: the
// link's subclass procedures run inside the player's windows, and the thread
// messages meant for the plug-in thread come to this test's own queue.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "TestBitmaps.h"
#include "TestText.h"
#include "base/CodePage.h"
#include "host/RecursiveMutex.h"
#include "host/ThreadMessages.h"
#include "host/WinampLink.h"
#include "player/SubstitutePlayer.h"
#include "resources/resource.h"

namespace {

// message, wParam, lParam
using ThreadMessage = std::tuple<UINT, WPARAM, LPARAM>;
using Posted = std::vector<ThreadMessage>;

Posted TakeThreadMessages() {
  Posted taken;
  MSG msg;
  // hwnd -1: thread messages only.
  while (PeekMessageA(&msg, reinterpret_cast<HWND>(-1), TM_START, TM_PLAYER_ACTIVATED, PM_REMOVE))
    taken.push_back({msg.message, msg.wParam, msg.lParam});
  return taken;
}

ThreadMessage Toggle(int index) { return {TM_TOGGLE_WINDOW, WPARAM(index), 0}; }
ThreadMessage MoveFollower(int x, int y) { return {TM_MOVE_FOLLOWER, WPARAM(x), y}; }

// Runs body on a thread of its own and waits for it.
void OnOtherThread(const std::function<void()>& body) { std::thread(body).join(); }

bool HeldByAnotherThread(HANDLE mutex) {
  bool held = false;
  OnOtherThread([&] {
    held = WaitForSingleObject(mutex, 0) == WAIT_TIMEOUT;
    if (!held) ReleaseMutex(mutex);
  });
  return held;
}

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

class WinampLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(player_.Create(PlayerOptions()));
    player_.SetPlaylist({"C:\\music\\song.mp3", "D:\\other\\song.mp3"});
  }
  void TearDown() override {
    link_.reset();
    if (follower_) DestroyWindow(follower_);
    TakeThreadMessages();
  }
  void StartLink() {
    link_ = std::make_unique<WinampLink>(player_.MainWindow(), GetModuleHandleA(nullptr));
    link_->SetNotifyThread(GetCurrentThreadId());
    TakeThreadMessages();
  }
  void MakeFollower(int left, int top, int right, int bottom) {
    follower_ = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, left, top, right - left, bottom - top,
                                nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(follower_, nullptr);
    link_->SetFollower(follower_);
    Send(WM_LBUTTONDOWN, 0, Point(10, 10));  // a press on the player picks the anchor
  }
  // A skin folder holding gen_mrlyrics.bmp, which the player names from now on.
  WString UseSkin(const char* folder, const std::vector<uint8_t>& bmp) {
    std::filesystem::create_directory(temp_.Path() / std::filesystem::u8path(folder));
    const std::string file = std::string(folder) + "/gen_mrlyrics.bmp";
    WriteFileBytes(temp_.Path() / std::filesystem::u8path(file), std::string(bmp.begin(), bmp.end()));
    WString wide = temp_.Wide(folder);
    player_.SetSkinFolder(WideToAnsi(wide.CStr(), wide.Length()));
    return wide.Append(u"\\gen_mrlyrics.bmp");
  }
  HWND Main() const { return player_.MainWindow(); }
  void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { SendMessageA(Main(), message, wParam, lParam); }

  TempDir temp_;
  SubstitutePlayer player_;
  std::unique_ptr<WinampLink> link_;
  HWND follower_ = nullptr;
};

TEST_F(WinampLinkTest, TimesOfAnySizeAreClampedAndSmallStepsBackIgnored) {
  StartLink();
  // The player's answers in turn, and what the link makes of them.
  const std::pair<LRESULT, int> positions[] = {
      {0, 0}, {5000, 5000}, {4950, 5000}, {5010, 5010}, {4910, 5010},  // 0 passes; 100 back is noise
      {4909, 4909}, {-1, -1},  // a seek back; stopped
      // Answers no 32-bit time holds are clamped, not cut to their low bits.
      {INTPTR_MAX, INT_MAX}, {INTPTR_MIN, INT_MIN}, {INT_MIN + 50, INT_MIN + 50}, {INT_MIN, INT_MIN + 50}};
  for (auto [answer, position] : positions) {
    player_.QueuePositions({answer});
    EXPECT_EQ(link_->GetPosition(), position) << answer;
  }
  // Seconds, to milliseconds; any negative length is an unknown one.
  const std::pair<LRESULT, int> lengths[] = {{215, 215000}, {0, 0},           {-1, -1000},
                                             {INT_MIN, -1000}, {2147484, INT_MAX}, {INTPTR_MAX, INT_MAX}, {INTPTR_MIN, -1000}};
  for (auto [answer, length] : lengths) {
    player_.QueueLengths({answer});
    EXPECT_EQ(link_->GetLength(), length) << answer;
  }
  // With no player at all the length is unknown too, not a song of no length.
  EXPECT_EQ(WinampLink(nullptr, GetModuleHandleA(nullptr)).GetLength(), -1000);
}

TEST_F(WinampLinkTest, PlayStateSeekAndPlay) {
  StartLink();
  EXPECT_EQ(link_->IsPlaying(), 0);
  EXPECT_EQ(link_->Play(), 1);
  player_.Pause();
  EXPECT_EQ(link_->IsPlaying(), 0);  // paused counts as not playing

  player_.ClearRecords();
  EXPECT_TRUE(link_->Seek(1234));
  ASSERT_EQ(player_.CommandsReceived(), std::vector<WPARAM>{kPlayerCommandPlay});
  EXPECT_EQ(player_.Seeks(), std::vector<int>{1234});

  // The player refuses to seek while stopped: success shows that play came first.
  player_.Stop();
  EXPECT_TRUE(link_->Seek(-300));
  EXPECT_EQ(player_.LastSeek(), 0);

  player_.ClearRecords();
  EXPECT_TRUE(link_->Seek(2000));
  EXPECT_TRUE(player_.CommandsReceived().empty());  // already playing
}

TEST_F(WinampLinkTest, NoticesSongChangesOnlyWhenThePathChanges) {
  StartLink();
  WString file;
  ASSERT_TRUE(link_->GetPlayingFile(file));
  EXPECT_EQ(file, W("C:\\music\\song.mp3"));

  SetWindowTextA(Main(), "1. song - Winamp [Paused]");
  EXPECT_TRUE(TakeThreadMessages().empty());

  player_.SelectEntry(1);  // the same name in another folder
  EXPECT_EQ(TakeThreadMessages(), (Posted{{TM_SONG_CHANGED, 0, 0}}));
  ASSERT_TRUE(link_->GetPlayingFile(file));
  EXPECT_EQ(file, W("D:\\other\\song.mp3"));

  player_.SetPlaylist({});
  SetWindowTextA(Main(), "Winamp");
  EXPECT_EQ(TakeThreadMessages().size(), 1u);  // the name went away
  EXPECT_FALSE(link_->GetPlayingFile(file));

  if (AnsiCodePage() != 932) return;
  // U+8868 is 0x95 0x5C in Shift-JIS: its second byte is a backslash.
  player_.SetPlaylist({"C:\\\x95\x5c\\\x95\x5c.mp3"});
  ASSERT_TRUE(link_->GetPlayingFile(file));
  EXPECT_EQ(file, W(u8"C:\\表\\表.mp3"));
}

TEST_F(WinampLinkTest, LyricsButtonAtNormalAndDoubleSizeAndMenuCommandsToggleWindows) {
  StartLink();
  // Left and top edges inside, right and bottom edges outside.
  for (LPARAM point : {Point(239, 83), Point(269, 91), Point(268, 90)}) Send(WM_LBUTTONUP, 0, point);
  EXPECT_EQ(TakeThreadMessages(), (Posted{Toggle(kDisplayerWindow), Toggle(kDisplayerWindow)}));
  Send(WM_RBUTTONUP, 0, Point(240, 84));
  EXPECT_EQ(TakeThreadMessages(), Posted{Toggle(kKaraokeWindow)});

  player_.SetDoubleSize(true);
  for (LPARAM point : {Point(500, 170), Point(239, 83)}) Send(WM_LBUTTONUP, 0, point);
  EXPECT_EQ(TakeThreadMessages(), Posted{Toggle(kDisplayerWindow)});
  // Menu commands toggle windows, and reach the player too.
  player_.ClearRecords();
  for (WPARAM id : {ID_OPEN_DISPLAYER - 1, ID_OPEN_HELP + 1, ID_OPEN_DISPLAYER, ID_OPEN_HELP}) Send(WM_COMMAND, id);
  EXPECT_EQ(TakeThreadMessages(), (Posted{Toggle(kDisplayerWindow), Toggle(kHelpWindow)}));
  EXPECT_EQ(player_.CommandsReceived().size(), 4u);
}

TEST_F(WinampLinkTest, ActivationOfAnyPlayerWindowNotifies) {
  StartLink();
  SendMessageA(player_.AuxWindow(kAuxEqualizer), WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_TRUE(TakeThreadMessages().empty());
  // The default procedure really activates the window, which may bring further
  // activations of the player's windows: each reports the main window.
  const ThreadMessage activated = {TM_PLAYER_ACTIVATED, 0, reinterpret_cast<LPARAM>(Main())};
  for (HWND window : {player_.AuxWindow(kAuxEqualizer), Main()}) {
    SendMessageA(window, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    Posted posted = TakeThreadMessages();
    ASSERT_FALSE(posted.empty());
    for (const ThreadMessage& m : posted) EXPECT_EQ(m, activated);
  }
}

TEST_F(WinampLinkTest, FollowerAnchorsToTheFirstWindowItTouches) {
  StartLink();
  RECT main, eq;
  GetWindowRect(Main(), &main);
  GetWindowRect(player_.AuxWindow(kAuxEqualizer), &eq);
  ASSERT_EQ(eq.top, main.bottom);
  // Left of both, straddling the seam between the main window and the equaliser.
  MakeFollower(main.left - 100, main.bottom - 50, main.left, main.bottom + 50);
  player_.MoveAux(kAuxEqualizer, eq.left + 5, eq.top + 5);
  EXPECT_TRUE(TakeThreadMessages().empty());
  player_.MoveMain(main.left + 10, main.top + 20);
  player_.MoveMain(main.left + 15, main.top + 20);
  EXPECT_EQ(TakeThreadMessages(),
            (Posted{MoveFollower(main.left - 90, main.bottom - 30), MoveFollower(main.left - 85, main.bottom - 30)}));
}

TEST_F(WinampLinkTest, AuxiliaryAnchorFollowsWhileShownUntilDraggedByItself) {
  StartLink();
  HWND playlist = player_.AuxWindow(kAuxPlaylist);
  RECT pl;
  GetWindowRect(playlist, &pl);
  MakeFollower(pl.right, pl.top + 20, pl.right + 80, pl.top + 60);
  player_.MoveMain(50, 50);
  EXPECT_TRUE(TakeThreadMessages().empty());
  player_.MoveAux(kAuxPlaylist, pl.left - 10, pl.top);
  EXPECT_EQ(TakeThreadMessages(), Posted{MoveFollower(pl.right - 10, pl.top + 20)});

  player_.ShowAux(kAuxPlaylist, false);
  player_.MoveAux(kAuxPlaylist, pl.left, pl.top);
  EXPECT_TRUE(TakeThreadMessages().empty());
  player_.ShowAux(kAuxPlaylist, true);
  SendMessageA(playlist, WM_LBUTTONDOWN, 0, Point(5, 5));
  player_.MoveAux(kAuxPlaylist, pl.left - 10, pl.top);
  EXPECT_TRUE(TakeThreadMessages().empty());
}

// The skin folder's answer, a refused bitmap and the skin change announced are the
// Displayer's skin tests' too; the button's own part is its path and its pixels.
TEST_F(WinampLinkTest, ButtonComesFromTheSkinBitmapAndIsPaintedWhenShown) {
  // A folder whose Shift-JIS name ends in a 0x5C trail byte, on Japanese systems.
  const WString bmp = UseSkin(AnsiCodePage() == 932 ? u8"skin表" : "skin", SolidBmp(275, 20, RGB(255, 0, 0)));
  StartLink();
  EXPECT_TRUE(link_->ButtonFromSkin());
  WString path;
  ASSERT_TRUE(link_->GetSkinBitmapPath(path));
  EXPECT_EQ(path, bmp);
  link_->ShowLyricsButton(true);
  UpdateWindow(Main());
  ScopedWindowDC dc(Main());
  EXPECT_EQ(GetPixel(dc.Get(), 250, 86), RGB(255, 0, 0));
  EXPECT_NE(GetPixel(dc.Get(), 200, 86), RGB(255, 0, 0));
}

WNDPROC laterPrevious = nullptr;
LRESULT CALLBACK LaterSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(laterPrevious, hwnd, message, wParam, lParam);
}

// The link gives the player its procedures back; where a later subclass sits on top of
// it, the chain keeps working without the link. (The main window's own procedure
// coming back is what every load, quit and unload of the integration tests leans on.)
TEST_F(WinampLinkTest, DestructionLeavesThePlayersChainsWorking) {
  HWND windows[4] = {Main(), player_.AuxWindow(kAuxPlaylist), player_.AuxWindow(kAuxEqualizer),
                     player_.AuxWindow(kAuxMiniBrowser)};
  LONG_PTR before[4];
  for (int i = 0; i < 4; ++i) before[i] = GetWindowLongPtrA(windows[i], GWLP_WNDPROC);
  StartLink();
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(link_->GetPlayerWindow(i), windows[i]);
    EXPECT_NE(GetWindowLongPtrA(windows[i], GWLP_WNDPROC), before[i]);
  }
  laterPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(Main(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterSubclass)));
  link_.reset();
  for (int i = 1; i < 4; ++i) EXPECT_EQ(GetWindowLongPtrA(windows[i], GWLP_WNDPROC), before[i]);
  EXPECT_EQ(GetWindowLongPtrA(Main(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&LaterSubclass));
  player_.SetLength(42);
  EXPECT_EQ(SendMessageA(Main(), kPlayerMessage, 1, kIpcGetOutputTime), 42);
  Send(WM_COMMAND, ID_OPEN_DISPLAYER);
  EXPECT_TRUE(TakeThreadMessages().empty());

  // A new link reuses the procedure still in the chain instead of wrapping it again.
  StartLink();
  Send(WM_COMMAND, ID_OPEN_KARAOKE);
  player_.SelectEntry(1);
  EXPECT_EQ(TakeThreadMessages(), (Posted{Toggle(kKaraokeWindow), {TM_SONG_CHANGED, 0, 0}}));
  link_.reset();
  SetWindowLongPtrA(Main(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(laterPrevious));
  EXPECT_EQ(SendMessageA(Main(), kPlayerMessage, 1, kIpcGetOutputTime), 42);
}

TEST_F(WinampLinkTest, SystemMenuEntryIsAddedAndTakenOutAgain) {
  StartLink();
  HMENU submenu = GetSubMenu(GetSystemMenu(Main(), FALSE), 0);
  ASSERT_NE(submenu, nullptr);
  const int count = GetMenuItemCount(submenu);
  OwnedMenu ours(CreatePopupMenu());
  ASSERT_TRUE(link_->AddSystemMenu(ours.Get()));
  ASSERT_EQ(GetMenuItemCount(submenu), count + 2);
  EXPECT_EQ(GetSubMenu(submenu, count + 1), ours.Get());
  char text[64] = {};
  GetMenuStringA(submenu, count + 1, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Mirabo's Lyrics");
  EXPECT_EQ(GetMenuState(submenu, count, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
  link_->RemoveSystemMenu();
  EXPECT_EQ(GetMenuItemCount(submenu), count);
  EXPECT_TRUE(IsMenu(ours.Get()));  // it belongs to the caller
  ASSERT_TRUE(link_->AddSystemMenu(ours.Get()));
  link_.reset();
  EXPECT_EQ(GetMenuItemCount(submenu), count);

  // A player whose system menu has no submenu gets nothing.
  PlayerOptions options;
  options.systemSubmenu = false;
  SubstitutePlayer plain;
  ASSERT_TRUE(plain.Create(options));
  WinampLink link(plain.MainWindow(), GetModuleHandleA(nullptr));
  const int plainCount = GetMenuItemCount(GetSystemMenu(plain.MainWindow(), FALSE));
  EXPECT_FALSE(link.AddSystemMenu(ours.Get()));
  EXPECT_EQ(GetMenuItemCount(GetSystemMenu(plain.MainWindow(), FALSE)), plainCount);
}

TEST(WinampLinkHungPlayer, QueriesGiveUpInsteadOfWaiting) {
  // The plug-in thread's queries come back with their fallbacks while the player
  // answers nothing: waiting for it would never end.
  KernelHandle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  KernelHandle asked(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  std::unique_ptr<WinampLink> link;
  std::thread busy([&] {
    SubstitutePlayer player;
    player.Create(PlayerOptions());
    player.SetLength(215);
    link = std::make_unique<WinampLink>(player.MainWindow(), GetModuleHandleA(nullptr));
    SetEvent(ready.Get());
    WaitForSingleObject(asked.Get(), INFINITE);
    SubstitutePlayer::PumpFor(50);  // the late questions
    link.reset();
  });
  WaitForSingleObject(ready.Get(), INFINITE);
  EXPECT_EQ(link->GetLength(), -1000);
  EXPECT_EQ(link->GetPosition(), -1000);
  SetEvent(asked.Get());
  busy.join();
}

// Counts per owner, refuses others and releases once; a borrowed lock shares the
// mutex but not the count, and leaves the handle open.
TEST(RecursiveMutex, CountsPerOwnerAndBorrowersShareOnlyTheMutex) {
  RecursiveMutex owner;
  {
    RecursiveMutex borrowed(RecursiveMutex::Borrow{}, owner);
    EXPECT_EQ(owner.Unlock(), 0);  // nobody holds it
    owner.Lock();
    owner.Lock(2);
    borrowed.Lock();  // one thread may hold both objects: the mutex is recursive
    EXPECT_EQ(owner.Count(), 3);
    int foreign = -1;
    OnOtherThread([&] { foreign = owner.Unlock(3); });
    EXPECT_EQ(foreign, 0);
    EXPECT_EQ(borrowed.Unlock(), 1);
    EXPECT_EQ(owner.Unlock(2), 1);
    EXPECT_TRUE(HeldByAnotherThread(owner.Handle()));
    EXPECT_EQ(owner.Unlock(5), 1);  // clamps at 0 and releases once
    EXPECT_EQ(owner.Owner(), 0u);
    EXPECT_FALSE(HeldByAnotherThread(owner.Handle()));
    OnOtherThread([&] {
      borrowed.Lock();
      EXPECT_EQ(owner.Unlock(), 0);  // this thread holds the other object only
      EXPECT_TRUE(HeldByAnotherThread(owner.Handle()));
      EXPECT_EQ(borrowed.Unlock(), 1);
    });
  }
  DWORD flags = 0;
  EXPECT_TRUE(GetHandleInformation(owner.Handle(), &flags));
}

}  // namespace
