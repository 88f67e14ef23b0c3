// The karaoke screen in the substitute player (opened from the plug-in's menu in the
// player's system menu), and its renderers drawing into a 16-bit surface of the
// test's own that is read back with Lock.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>

#include "ProcessCensus.h"
#include "TestText.h"
#include "host/DirectDrawLibrary.h"
#include "karaoke/LyricsRowRenderer.h"
#include "karaoke/core/KaraokeLyrics.h"
#include "player/SubstitutePlayer.h"
#include "settings/KaraokeSettings.h"
#include "settings/MemoryIniFile.h"

namespace {

constexpr char kClass[] = "Mirabo's Karaoke Displayer";
constexpr UINT kKaraokeCommand = 50004;
constexpr int kBoundMs = 5000;

class KaraokeScreenTest : public testing::Test {
 protected:
  void Set(const char* key, const std::string& value) {
    WritePrivateProfileStringA(kClass, key, value.c_str(), Path("plugin.ini").c_str());
  }
  std::string Path(const std::string& name) const { return folder_.Path().string() + "\\" + name; }
  void WriteLyrics(const std::string& name, const char* text) { WriteFileBytes(Path(name), text); }

  // Plays the songs from ms (200 s each) and loads the plug-in, Displayer closed.
  void PlayAndStart(const std::vector<std::string>& songs, int ms) {
    WritePrivateProfileStringA("Mirabo's Lyrics Displayer", "Open", "0", Path("plugin.ini").c_str());
    player_ = std::make_unique<SubstitutePlayer>();
    ASSERT_TRUE(player_->Create(PlayerOptions{}));
    player_->SetPlaylist(songs);
    player_->SetLength(200);
    player_->Play();
    player_->SetPosition(ms);
    const std::string library = Path("gen_mrlyrics.dll");
    ASSERT_TRUE(CopyFileA(MRLYRICS_PLUGIN_PATH, library.c_str(), FALSE));
    ASSERT_TRUE(player_->LoadPlugin(library));
    ASSERT_TRUE(player_->InitPlugin());
  }
  void Quit() {
    player_->QuitPlugin();
    player_->UnloadPlugin();
  }
  void Toggle() { PostMessageA(player_->MainWindow(), WM_SYSCOMMAND, kKaraokeCommand, 0); }
  bool MenuChecked() const {
    const UINT state = GetMenuState(GetSystemMenu(player_->MainWindow(), FALSE), kKaraokeCommand, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
  }
  static HWND Screen() { return ProcessWindow(kClass); }
  static bool WaitFor(const std::function<bool()>& done) { return SubstitutePlayer::PumpUntil(done, kBoundMs); }
  // Frames ask the player for the position: a few more of those mean frames go on.
  size_t PositionQueries() const {
    size_t count = 0;
    for (const IpcCall& call : player_->IpcCalls()) count += call.operation == kIpcGetOutputTime;
    return count;
  }
  bool FramesRun() {
    const size_t before = PositionQueries();
    return WaitFor([&] { return PositionQueries() >= before + 5; });
  }
  bool Received(WPARAM key) const {
    for (const KeyMessage& k : player_->KeysReceived())
      if (k.key == key) return true;
    return false;
  }
  void Key(WPARAM key, bool down = true) { PostMessageA(Screen(), down ? WM_KEYDOWN : WM_KEYUP, key, 0); }

  TempDir folder_;
  std::unique_ptr<SubstitutePlayer> player_;
};

TEST_F(KaraokeScreenTest, OpensFullScreenSeeksBetweenLinesAndClosesOnEscape) {
  WriteLyrics("one.txt", "[00:05:00]First line\n[00:10:00]Second line\n[00:20:00]Third line\n");
  WriteLyrics("two.txt", "[00:40:00]Only line of two\n");
  PlayAndStart({Path("one.wav"), Path("two.wav")}, 12000);
  Toggle();
  ASSERT_TRUE(WaitFor([&] { return Screen() && MenuChecked(); }));
  RECT rect{};
  GetWindowRect(Screen(), &rect);
  EXPECT_TRUE(rect.left == 0 && rect.top == 0 && rect.right == GetSystemMetrics(SM_CXSCREEN) &&
              rect.bottom == GetSystemMetrics(SM_CYSCREEN));
  EXPECT_NE(GetWindowLongA(Screen(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_TRUE(FramesRun());

  struct {
    WPARAM key;
    int position, seek;  // -1: no seek
  } const seeks[] = {
      {VK_RIGHT, 12000, 19000},  // the third line, a second early
      {VK_LEFT, 12000, 4000},    // the line before the current one
      {VK_LEFT, 2000, 0},        // nothing before the first line
      {VK_RIGHT, 30000, -1},     // nothing after the last
  };
  Key(VK_CONTROL);
  for (const auto& s : seeks) {
    player_->SetPosition(s.position);
    player_->ClearRecords();
    Key(s.key);
    Key(VK_SHIFT);  // goes to the player: once it is there, the seek had its turn
    ASSERT_TRUE(WaitFor([&] { return Received(VK_SHIFT); }));
    EXPECT_EQ(player_->LastSeek(), s.seek) << s.key << " at " << s.position;
  }
  // Another song brings its own lyrics.
  player_->Next();
  player_->SetPosition(0);
  player_->ClearRecords();
  ASSERT_TRUE(WaitFor([&] {
    Key(VK_RIGHT);
    SubstitutePlayer::PumpFor(20);
    return player_->LastSeek() == 39000;
  }));
  Key(VK_CONTROL, false);

  player_->ClearRecords();
  Key(VK_ESCAPE);
  Key(VK_ESCAPE, false);
  ASSERT_TRUE(WaitFor([&] { return !Screen() && !MenuChecked(); }));
  SubstitutePlayer::PumpFor(50);
  for (const KeyMessage& key : player_->KeysReceived()) EXPECT_NE(key.key, static_cast<WPARAM>(VK_ESCAPE));
  Quit();
}

// Xvfb changes no modes: 640 × 480 and its fallback are both refused. The screen's
// window comes and goes at once; a window event, called on the creating thread,
// tells that it was there.
std::atomic<int> screensMade{0};
void CALLBACK CountScreens(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
  char name[64] = {};
  if (object == OBJID_WINDOW && GetClassNameA(window, name, sizeof name) && strcmp(name, kClass) == 0) ++screensMade;
}

TEST_F(KaraokeScreenTest, RefusedModeClosesQuietlyAndUnchecks) {
  Set("Width", "640");
  Set("Height", "480");
  Set("BPP", "32");
  PlayAndStart({Path("song.wav")}, 0);
  screensMade = 0;
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, GetModuleHandleA(nullptr), CountScreens,
                                       GetCurrentProcessId(), 0, WINEVENT_INCONTEXT);
  ASSERT_NE(hook, nullptr);
  Toggle();
  EXPECT_TRUE(WaitFor([&] { return screensMade > 0 && !Screen(); }));
  SubstitutePlayer::PumpFor(200);
  UnhookWinEvent(hook);
  EXPECT_FALSE(MenuChecked());
  EXPECT_EQ(ProcessWindow("#32770"), nullptr);  // no message box
  Quit();
}

// What one open leaves behind grows with every open: a hundred make it plain. A
// DirectDraw object still referenced would keep the exclusive mode, and the test's
// own request for it would be refused.
TEST_F(KaraokeScreenTest, HundredOpensLeaveNothingBehind) {
  WriteLyrics("song.txt", "[00:01:00]Some words\n[00:03:00]More words\n");
  PlayAndStart({Path("song.wav")}, 1500);
  auto cycle = [&] {
    Toggle();
    ASSERT_TRUE(WaitFor([&] { return Screen() && MenuChecked(); }));
    Toggle();
    ASSERT_TRUE(WaitFor([&] { return !Screen() && !MenuChecked(); }));
  };
  cycle();
  const ProcessCensus before = TakeProcessCensus();
  for (int i = 0; i < 100 && !HasFatalFailure(); ++i) cycle();
  SubstitutePlayer::PumpFor(100);
  EXPECT_EQ(CensusGrowth(before, TakeProcessCensus()), "");

  DirectDrawLibrary library;
  OwnedInterface<IDirectDraw2> directDraw = library.Create();
  ASSERT_TRUE(directDraw);
  EXPECT_EQ(directDraw->SetCooperativeLevel(player_->MainWindow(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
  directDraw->SetCooperativeLevel(player_->MainWindow(), DDSCL_NORMAL);
  directDraw.Reset();
  Quit();
}

// --- A row drawn into a surface of the test's own ------------------------------

// RGB565 as GDI stores a colour: each channel's top bits.
uint16_t Rgb565(COLORREF c) {
  return static_cast<uint16_t>((GetRValue(c) >> 3) << 11 | (GetGValue(c) >> 2) << 5 | GetBValue(c) >> 3);
}

TEST(KaraokeRowPixels, SungAndUnsungSplitWithOutlineOverTheTarget) {
  // The Options sheet's list holds the desktop's own mode.
  const std::vector<DisplayMode> modes = EnumerateDisplayModes();
  EXPECT_TRUE(std::any_of(modes.begin(), modes.end(), [](const DisplayMode& m) {
    return m.width == GetSystemMetrics(SM_CXSCREEN) && m.height == GetSystemMetrics(SM_CYSCREEN);
  }));
  DirectDrawLibrary library;
  OwnedInterface<IDirectDraw2> directDraw = library.Create();
  ASSERT_TRUE(directDraw && SUCCEEDED(directDraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL)));
  SurfaceContext context;
  context.directDraw = directDraw.Get();
  context.format.dwSize = sizeof context.format;
  context.format.dwFlags = DDPF_RGB;
  context.format.dwRGBBitCount = 16;
  context.format.dwRBitMask = 0xF800;
  context.format.dwGBitMask = 0x07E0;
  context.format.dwBBitMask = 0x001F;
  MemoryIniFile ini("[Mirabo's Karaoke Displayer]\nLyricsColor1A=FFFFFF\nLyricsColor1B=000000\n"
                    "LyricsColor2A=FF0000\nLyricsColor2B=000000\nEdge=10\n");
  KaraokeSettings settings(ini);
  context.layout = ComputeKaraokeLayout(settings, 640, 480);
  const COLORREF unsung = RGB(255, 255, 255), sung = RGB(255, 0, 0), edge = RGB(0, 0, 0);
  const uint16_t blue = Rgb565(RGB(0, 0, 255));

  LyricsTimeline lyrics;
  lyrics.ParseText(WString::FromUtf8("[00:01:00]MMMM[00:02:00]MMMM[00:03:00]\n"));
  ASSERT_TRUE(lyrics.IsTimed());
  RowSchedule schedule;
  LyricsRowRenderer row(context, settings, 1, lyrics, schedule);
  ASSERT_TRUE(row.Ok());
  Surface target;
  ASSERT_EQ(CreateOffscreenSurface(context, 640, 480, DDSCAPS_SYSTEMMEMORY, target), DD_OK);
  const KRect band = context.layout.rows[1];

  // One clock going forward: the line is taken early and kept until after its end.
  struct {
    int32_t t;
    bool anySung, anyUnsung;
  } const cases[] = {{500, false, true}, {1500, true, true}, {2000, true, true}, {3050, true, false}};
  for (const auto& c : cases) {
    schedule.SetTime(c.t);
    for (int frame = 0; frame < 4; ++frame) ASSERT_EQ(row.Update(c.t == 500 && frame == 0), DD_OK);
    ASSERT_EQ(FillSurface(target.Get(), nullptr, blue), DD_OK);
    ASSERT_EQ(row.Draw(target.Get()), DD_OK);

    DDSURFACEDESC locked{};
    locked.dwSize = sizeof locked;
    ASSERT_EQ(target->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
    auto at = [&](int x, int y) {
      return *reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(locked.lpSurface) + y * locked.lPitch + x * 2);
    };
    int sungRight = -1, unsungLeft = 640, edges = 0, strays = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        const uint16_t p = at(x, y);
        const bool inBand = y >= band.top && y < band.bottom;
        if (p == Rgb565(sung)) sungRight = std::max(sungRight, x);
        if (p == Rgb565(unsung)) unsungLeft = std::min(unsungLeft, x);
        edges += p == Rgb565(edge);
        // Outside the row's band only the target's own colour; inside, nothing but
        // the four colours (the transparent fill never shows).
        strays += p != blue && (!inBand || (p != Rgb565(sung) && p != Rgb565(unsung) && p != Rgb565(edge)));
      }
    target->Unlock(nullptr);
    EXPECT_EQ(strays, 0) << c.t;
    EXPECT_EQ(sungRight >= 0, c.anySung) << c.t;
    EXPECT_EQ(unsungLeft < 640, c.anyUnsung) << c.t;
    EXPECT_GT(edges, 0) << c.t;
    if (c.anySung && c.anyUnsung) {
      EXPECT_LT(sungRight, unsungLeft) << c.t;
    }
  }
}

}  // namespace
