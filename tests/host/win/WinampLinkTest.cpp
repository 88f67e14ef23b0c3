// The link against the substitute player, on one thread as in the real player: the
// link's subclass procedures run inside the player's windows, and the thread
// messages meant for the plug-in thread come to this test's own queue.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TestBitmaps.h"
#include "base/CodePage.h"
#include "host/RecursiveMutex.h"
#include "host/ThreadMessages.h"
#include "host/WinampLink.h"
#include "player/SubstitutePlayer.h"

namespace {

struct ThreadMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const ThreadMessage& o) const {
    return message == o.message && wParam == o.wParam && lParam == o.lParam;
  }
};

void PrintTo(const ThreadMessage& m, std::ostream* os) {
  *os << "{0x" << std::hex << m.message << std::dec << ", " << m.wParam << ", " << m.lParam << "}";
}

std::vector<ThreadMessage> TakeThreadMessages() {
  std::vector<ThreadMessage> taken;
  MSG msg;
  // hwnd -1: thread messages only.
  while (PeekMessageA(&msg, reinterpret_cast<HWND>(-1), TM_START, TM_PLAYER_ACTIVATED, PM_REMOVE))
    taken.push_back({msg.message, msg.wParam, msg.lParam});
  return taken;
}

ThreadMessage Toggle(int index) { return {TM_TOGGLE_WINDOW, WPARAM(index), 0}; }

DWORD WINAPI RunBody(void* body) {
  (*static_cast<std::function<void()>*>(body))();
  return 0;
}

// Runs body on a thread of its own and waits for it.
void OnOtherThread(std::function<void()> body) {
  HANDLE thread = CreateThread(nullptr, 0, RunBody, &body, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
}

bool HeldByAnotherThread(HANDLE mutex) {
  bool held = false;
  OnOtherThread([&] {
    DWORD result = WaitForSingleObject(mutex, 0);
    held = result == WAIT_TIMEOUT;
    if (!held) ReleaseMutex(mutex);
  });
  return held;
}

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

std::wstring TempFolder(const wchar_t* leaf) {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  std::wstring folder = std::wstring(base) + L"mrlyrics-link-" + std::to_wstring(GetCurrentProcessId()) + L"-" + leaf;
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void WriteFile(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

std::string Ansi(const std::wstring& wide) {
  WString w = WString::FromW(wide.c_str());
  return WideToAnsi(w.CStr(), w.Length());
}

class WinampLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(player_.Create(options_));
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
  }
  HWND Main() const { return player_.MainWindow(); }
  void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { SendMessageA(Main(), message, wParam, lParam); }

  PlayerOptions options_;
  SubstitutePlayer player_;
  std::unique_ptr<WinampLink> link_;
  HWND follower_ = nullptr;
};

TEST_F(WinampLinkTest, PositionIgnoresSmallStepsBackButFollowsSeeks) {
  StartLink();
  // The first answer passes whatever it is, even 0.
  player_.QueuePositions({0, 5000, 4950, 5010, 4910, 4909, -1});
  EXPECT_EQ(link_->GetPosition(), 0);
  EXPECT_EQ(link_->GetPosition(), 5000);
  EXPECT_EQ(link_->GetPosition(), 5000);
  EXPECT_EQ(link_->GetPosition(), 5010);
  EXPECT_EQ(link_->GetPosition(), 5010);  // exactly 100 back is still noise
  EXPECT_EQ(link_->GetPosition(), 4909);
  EXPECT_EQ(link_->GetPosition(), -1);  // stopped
}

TEST_F(WinampLinkTest, LengthPlayStateSeekAndPlay) {
  StartLink();
  player_.SetLength(215);
  EXPECT_EQ(link_->GetLength(), 215000);
  player_.SetLength(-1);
  EXPECT_EQ(link_->GetLength(), -1000);

  EXPECT_EQ(link_->IsPlaying(), 0);
  EXPECT_EQ(link_->Play(), 1);
  player_.Pause();
  EXPECT_EQ(link_->IsPlaying(), 0);  // paused counts as not playing

  player_.ClearRecords();
  EXPECT_TRUE(link_->Seek(1234));
  ASSERT_EQ(player_.CommandsReceived(), std::vector<WPARAM>{kPlayerCommandPlay});
  EXPECT_EQ(player_.Seeks(), std::vector<int>{1234});
  EXPECT_EQ(player_.State(), PlayState::kPlaying);

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
  EXPECT_TRUE(file.EqualsAscii("C:\\music\\song.mp3"));

  SetWindowTextA(Main(), "1. song - Winamp [Paused]");
  EXPECT_TRUE(TakeThreadMessages().empty());

  player_.SelectEntry(1);  // the same name in another folder
  EXPECT_EQ(TakeThreadMessages(), (std::vector<ThreadMessage>{{TM_SONG_CHANGED, 0, 0}}));
  ASSERT_TRUE(link_->GetPlayingFile(file));
  EXPECT_TRUE(file.EqualsAscii("D:\\other\\song.mp3"));

  player_.SetPlaylist({});
  SetWindowTextA(Main(), "Winamp");
  EXPECT_EQ(TakeThreadMessages().size(), 1u);  // the name went away
  EXPECT_FALSE(link_->GetPlayingFile(file));
}

TEST_F(WinampLinkTest, PlayingFileIsConvertedAsWholeCharacters) {
  if (AnsiCodePage() != 932) GTEST_SKIP() << "needs the Japanese code page";
  StartLink();
  // U+8868 is 0x95 0x5C in Shift-JIS: its second byte is a backslash.
  const std::wstring wide = L"C:\\\x8868\\\x8868.mp3";
  player_.SetPlaylist({Ansi(wide)});
  WString file;
  ASSERT_TRUE(link_->GetPlayingFile(file));
  EXPECT_EQ(file, WString::FromW(wide.c_str()));
}

TEST_F(WinampLinkTest, LyricsButtonHitsAtNormalAndDoubleSize) {
  StartLink();
  Send(WM_LBUTTONUP, 0, Point(239, 83));
  Send(WM_LBUTTONUP, 0, Point(269, 91));  // right and bottom edges are outside
  Send(WM_LBUTTONUP, 0, Point(268, 90));
  EXPECT_EQ(TakeThreadMessages(), (std::vector<ThreadMessage>{Toggle(0), Toggle(0)}));
  Send(WM_RBUTTONUP, 0, Point(240, 84));
  EXPECT_EQ(TakeThreadMessages(), std::vector<ThreadMessage>{Toggle(1)});

  player_.SetDoubleSize(true);
  Send(WM_LBUTTONUP, 0, Point(500, 170));
  Send(WM_LBUTTONUP, 0, Point(239, 83));
  EXPECT_EQ(TakeThreadMessages(), std::vector<ThreadMessage>{Toggle(0)});
}

TEST_F(WinampLinkTest, MenuCommandsToggleWindowsAndReachThePlayer) {
  StartLink();
  player_.ClearRecords();
  Send(WM_COMMAND, 50002);
  Send(WM_COMMAND, 50008);
  EXPECT_TRUE(TakeThreadMessages().empty());
  Send(WM_COMMAND, 50003);
  Send(WM_COMMAND, 50007);
  EXPECT_EQ(TakeThreadMessages(), (std::vector<ThreadMessage>{Toggle(0), Toggle(4)}));
  EXPECT_EQ(player_.CommandsReceived().size(), 4u);
}

TEST_F(WinampLinkTest, ActivationAndDisplayChangeNotify) {
  StartLink();
  SendMessageA(player_.AuxWindow(kAuxEqualizer), WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_TRUE(TakeThreadMessages().empty());
  // The default procedure really activates the window, which may bring further
  // activations of the player's windows: each reports the main window.
  const ThreadMessage activated = {TM_PLAYER_ACTIVATED, 0, reinterpret_cast<LPARAM>(Main())};
  for (HWND window : {player_.AuxWindow(kAuxEqualizer), Main()}) {
    SendMessageA(window, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    std::vector<ThreadMessage> posted = TakeThreadMessages();
    ASSERT_FALSE(posted.empty());
    for (const ThreadMessage& m : posted) EXPECT_EQ(m, activated);
  }
  Send(WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
  EXPECT_EQ(TakeThreadMessages(), (std::vector<ThreadMessage>{{TM_SKIN_CHANGED, 0, 0}}));
}

TEST_F(WinampLinkTest, FollowerAnchorsToTheFirstWindowItTouches) {
  StartLink();
  RECT main, eq;
  GetWindowRect(Main(), &main);
  GetWindowRect(player_.AuxWindow(kAuxEqualizer), &eq);
  ASSERT_EQ(eq.top, main.bottom);
  // Left of both, straddling the seam between the main window and the equaliser.
  MakeFollower(main.left - 100, main.bottom - 50, main.left, main.bottom + 50);
  Send(WM_LBUTTONDOWN, 0, Point(10, 10));

  player_.MoveAux(kAuxEqualizer, eq.left + 5, eq.top + 5);
  EXPECT_TRUE(TakeThreadMessages().empty());
  player_.MoveMain(main.left + 10, main.top + 20);
  player_.MoveMain(main.left + 15, main.top + 20);
  EXPECT_EQ(TakeThreadMessages(),
            (std::vector<ThreadMessage>{{TM_MOVE_FOLLOWER, WPARAM(main.left - 90), main.bottom - 30},
                                        {TM_MOVE_FOLLOWER, WPARAM(main.left - 85), main.bottom - 30}}));
}

TEST_F(WinampLinkTest, AuxiliaryAnchorFollowsUntilDraggedByItself) {
  StartLink();
  HWND playlist = player_.AuxWindow(kAuxPlaylist);
  RECT pl;
  GetWindowRect(playlist, &pl);
  MakeFollower(pl.right, pl.top + 20, pl.right + 80, pl.top + 60);
  Send(WM_LBUTTONDOWN, 0, Point(10, 10));

  player_.MoveMain(50, 50);
  EXPECT_TRUE(TakeThreadMessages().empty());
  player_.MoveAux(kAuxPlaylist, pl.left - 10, pl.top);
  EXPECT_EQ(TakeThreadMessages(),
            (std::vector<ThreadMessage>{{TM_MOVE_FOLLOWER, WPARAM(pl.right - 10), pl.top + 20}}));

  SendMessageA(playlist, WM_LBUTTONDOWN, 0, Point(5, 5));
  player_.MoveAux(kAuxPlaylist, pl.left, pl.top);
  EXPECT_TRUE(TakeThreadMessages().empty());
}

TEST_F(WinampLinkTest, HiddenAuxiliaryAnchorDoesNotMoveTheFollower) {
  StartLink();
  RECT pl;
  GetWindowRect(player_.AuxWindow(kAuxPlaylist), &pl);
  MakeFollower(pl.right, pl.top + 20, pl.right + 80, pl.top + 60);
  Send(WM_LBUTTONDOWN, 0, Point(10, 10));
  player_.ShowAux(kAuxPlaylist, false);
  player_.MoveAux(kAuxPlaylist, pl.left - 10, pl.top);
  EXPECT_TRUE(TakeThreadMessages().empty());
}

TEST_F(WinampLinkTest, SkinButtonBitmapIsCheckedBeforeUse) {
  // A folder whose Shift-JIS name ends in a 0x5C trail byte, on Japanese systems.
  std::wstring folder = TempFolder(AnsiCodePage() == 932 ? L"skin\x8868" : L"skin");
  std::wstring bmp = folder + L"\\gen_mrlyrics.bmp";
  std::vector<uint8_t> good = SolidBmp(275, 20, RGB(255, 0, 0));
  WriteFile(bmp, good);
  player_.SetSkinFolder(Ansi(folder));
  StartLink();
  EXPECT_TRUE(link_->ButtonFromSkin());
  BITMAP info = {};
  ASSERT_TRUE(GetObjectA(link_->ButtonBitmap(), sizeof info, &info));
  EXPECT_EQ(info.bmWidth, 275);
  WString path;
  ASSERT_TRUE(link_->GetSkinBitmapPath(path));
  EXPECT_EQ(path, WString::FromW(bmp.c_str()));

  // The pixel rows claimed to lie past the end of the file: the built-in bitmap
  // (none in this test program) is used instead, and the skin is announced.
  std::vector<uint8_t> corrupt = good;
  uint32_t offset = uint32_t(corrupt.size()) - 100;
  std::memcpy(&corrupt[10], &offset, 4);
  WriteFile(bmp, corrupt);
  Send(WM_DISPLAYCHANGE);
  EXPECT_FALSE(link_->ButtonFromSkin());
  EXPECT_EQ(link_->ButtonBitmap(), nullptr);
  EXPECT_EQ(TakeThreadMessages().size(), 1u);

  std::vector<uint8_t> large = SolidBmp(1000, 40, RGB(0, 0, 255));  // 120054 bytes
  WriteFile(bmp, large);
  Send(WM_DISPLAYCHANGE);
  EXPECT_FALSE(link_->ButtonFromSkin());

  DeleteFileW(bmp.c_str());
  RemoveDirectoryW(folder.c_str());
  player_.SetSkinFolder("");
  EXPECT_FALSE(link_->GetSkinBitmapPath(path));
}

TEST_F(WinampLinkTest, ButtonIsPaintedFromTheBitmapWhenShown) {
  std::wstring folder = TempFolder(L"paint");
  std::wstring bmp = folder + L"\\gen_mrlyrics.bmp";
  WriteFile(bmp, SolidBmp(275, 20, RGB(255, 0, 0)));
  player_.SetSkinFolder(Ansi(folder));
  StartLink();
  link_->ShowLyricsButton(true);
  UpdateWindow(Main());
  HDC dc = GetDC(Main());
  COLORREF inside = GetPixel(dc, 250, 86);
  COLORREF outside = GetPixel(dc, 200, 86);
  ReleaseDC(Main(), dc);
  EXPECT_EQ(inside, RGB(255, 0, 0));
  EXPECT_NE(outside, RGB(255, 0, 0));
  DeleteFileW(bmp.c_str());
  RemoveDirectoryW(folder.c_str());
}

WNDPROC laterPrevious = nullptr;
LRESULT CALLBACK LaterSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(laterPrevious, hwnd, message, wParam, lParam);
}

TEST_F(WinampLinkTest, DestructionGivesThePlayerItsProceduresBack) {
  HWND windows[4] = {Main(), player_.AuxWindow(kAuxPlaylist), player_.AuxWindow(kAuxEqualizer),
                     player_.AuxWindow(kAuxMiniBrowser)};
  LONG_PTR before[4];
  for (int i = 0; i < 4; ++i) before[i] = GetWindowLongPtrA(windows[i], GWLP_WNDPROC);
  StartLink();
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(link_->GetPlayerWindow(i), windows[i]);
    EXPECT_NE(GetWindowLongPtrA(windows[i], GWLP_WNDPROC), before[i]);
  }
  link_.reset();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(GetWindowLongPtrA(windows[i], GWLP_WNDPROC), before[i]);

  player_.SetLength(99);
  EXPECT_EQ(SendMessageA(Main(), kPlayerMessage, 1, kIpcGetOutputTime), 99);
  player_.SelectEntry(1);
  Send(WM_COMMAND, 50003);
  EXPECT_TRUE(TakeThreadMessages().empty());
}

TEST_F(WinampLinkTest, ALaterSubclassKeepsTheChainWorkingWithoutTheLink) {
  StartLink();
  laterPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(Main(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterSubclass)));
  link_.reset();
  EXPECT_EQ(GetWindowLongPtrA(Main(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&LaterSubclass));
  player_.SetLength(42);
  EXPECT_EQ(SendMessageA(Main(), kPlayerMessage, 1, kIpcGetOutputTime), 42);
  Send(WM_COMMAND, 50003);
  EXPECT_TRUE(TakeThreadMessages().empty());

  // A new link reuses the procedure still in the chain instead of wrapping it again.
  StartLink();
  Send(WM_COMMAND, 50004);
  player_.SelectEntry(1);
  EXPECT_EQ(TakeThreadMessages(), (std::vector<ThreadMessage>{Toggle(1), {TM_SONG_CHANGED, 0, 0}}));
  link_.reset();
  SetWindowLongPtrA(Main(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(laterPrevious));
  EXPECT_EQ(SendMessageA(Main(), kPlayerMessage, 1, kIpcGetOutputTime), 42);
}

int MenuCount(HMENU menu) { return GetMenuItemCount(menu); }

TEST_F(WinampLinkTest, SystemMenuEntryIsAddedAndTakenOutAgain) {
  StartLink();
  HMENU submenu = GetSubMenu(GetSystemMenu(Main(), FALSE), 0);
  ASSERT_NE(submenu, nullptr);
  const int count = MenuCount(submenu);
  HMENU ours = CreatePopupMenu();
  AppendMenuA(ours, MF_STRING, kFirstWindowCommand, "Displayer...");

  ASSERT_TRUE(link_->AddSystemMenu(ours));
  ASSERT_EQ(MenuCount(submenu), count + 2);
  EXPECT_EQ(GetSubMenu(submenu, count + 1), ours);
  char text[64] = {};
  GetMenuStringA(submenu, count + 1, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Mirabo's Lyrics");
  MENUITEMINFOA separator = {};
  separator.cbSize = sizeof separator;
  separator.fMask = MIIM_FTYPE;
  GetMenuItemInfoA(submenu, count, TRUE, &separator);
  EXPECT_TRUE(separator.fType & MFT_SEPARATOR);

  link_->RemoveSystemMenu();
  EXPECT_EQ(MenuCount(submenu), count);
  EXPECT_TRUE(IsMenu(ours));  // it belongs to the caller

  ASSERT_TRUE(link_->AddSystemMenu(ours));
  link_.reset();
  EXPECT_EQ(MenuCount(submenu), count);
  DestroyMenu(ours);
}

TEST(WinampLinkSystemMenu, NothingIsAddedWithoutASubmenu) {
  PlayerOptions options;
  options.systemSubmenu = false;
  SubstitutePlayer player;
  ASSERT_TRUE(player.Create(options));
  WinampLink link(player.MainWindow(), GetModuleHandleA(nullptr));
  HMENU system = GetSystemMenu(player.MainWindow(), FALSE);
  const int count = GetMenuItemCount(system);
  HMENU ours = CreatePopupMenu();
  EXPECT_FALSE(link.AddSystemMenu(ours));
  EXPECT_EQ(GetMenuItemCount(system), count);
  DestroyMenu(ours);
}

struct BusyPlayer {
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE asked = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::unique_ptr<WinampLink> link;
  volatile LONG awake = 1;
};

// A player thread that stops answering for longer than the link's reply bound.
DWORD WINAPI BusyPlayerThread(void* p) {
  auto* s = static_cast<BusyPlayer*>(p);
  SubstitutePlayer player;
  player.Create(PlayerOptions());
  player.SetLength(215);
  s->link = std::make_unique<WinampLink>(player.MainWindow(), GetModuleHandleA(nullptr));
  InterlockedExchange(&s->awake, 0);
  SetEvent(s->ready);
  Sleep(3000);  // busy: no messages
  InterlockedExchange(&s->awake, 1);
  WaitForSingleObject(s->asked, INFINITE);
  SubstitutePlayer::PumpFor(50);
  s->link.reset();
  return 0;
}

TEST(WinampLinkHungPlayer, QueriesGiveUpInsteadOfWaiting) {
  // The plug-in thread's queries come back with their fallbacks.
  BusyPlayer shared;
  HANDLE thread = CreateThread(nullptr, 0, BusyPlayerThread, &shared, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  WaitForSingleObject(shared.ready, INFINITE);
  int length = shared.link->GetLength();
  int position = shared.link->GetPosition();
  LONG answeredWhileBusy = InterlockedCompareExchange(&shared.awake, 0, 0) == 0;
  SetEvent(shared.asked);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  CloseHandle(shared.ready);
  CloseHandle(shared.asked);
  EXPECT_TRUE(answeredWhileBusy);
  EXPECT_EQ(length, -1000);
  EXPECT_EQ(position, -1000);
}

TEST(RecursiveMutex, CountsPerOwnerAndRefusesOthers) {
  RecursiveMutex mutex;
  EXPECT_EQ(mutex.Unlock(), 0);  // nobody holds it
  mutex.Lock();
  mutex.Lock(2);
  EXPECT_EQ(mutex.Owner(), GetCurrentThreadId());
  EXPECT_EQ(mutex.Count(), 3);

  int foreign = -1;
  OnOtherThread([&] { foreign = mutex.Unlock(3); });
  EXPECT_EQ(foreign, 0);
  EXPECT_EQ(mutex.Count(), 3);

  EXPECT_EQ(mutex.Unlock(2), 1);
  EXPECT_TRUE(HeldByAnotherThread(mutex.Handle()));
  EXPECT_EQ(mutex.Unlock(5), 1);  // clamps at 0 and releases once
  EXPECT_EQ(mutex.Count(), 0);
  EXPECT_EQ(mutex.Owner(), 0u);
  EXPECT_FALSE(HeldByAnotherThread(mutex.Handle()));
  EXPECT_EQ(mutex.Unlock(), 0);
}

TEST(RecursiveMutex, BorrowedLockSharesTheMutexButNotTheCount) {
  RecursiveMutex owner;
  {
    RecursiveMutex borrowed(RecursiveMutex::Borrow{}, owner);
    EXPECT_EQ(borrowed.Handle(), owner.Handle());
    OnOtherThread([&] {
      borrowed.Lock();
      EXPECT_EQ(borrowed.Owner(), GetCurrentThreadId());
      EXPECT_EQ(owner.Owner(), 0u);
      EXPECT_EQ(owner.Unlock(), 0);  // this thread holds the other object only
      // The mutex is taken for everyone else, including users of the owner object.
      EXPECT_TRUE(HeldByAnotherThread(owner.Handle()));
      EXPECT_EQ(borrowed.Unlock(), 1);
    });
    // One thread can hold both objects at once: the mutex is recursive.
    owner.Lock();
    borrowed.Lock();
    EXPECT_EQ(borrowed.Unlock(), 1);
    EXPECT_TRUE(HeldByAnotherThread(owner.Handle()));
    EXPECT_EQ(owner.Unlock(), 1);
    EXPECT_FALSE(HeldByAnotherThread(owner.Handle()));
  }
  // The borrower did not close the handle.
  DWORD flags = 0;
  EXPECT_TRUE(GetHandleInformation(owner.Handle(), &flags));
  MutexLock lock(owner);
  EXPECT_EQ(owner.Count(), 1);
}

}  // namespace
