// The karaoke screen in the substitute player (opened from the plug-in's menu in the
// player's system menu), and its renderers drawing into a 16-bit surface of the
// test's own that is read back with Lock.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ProcessCensus.h"
#include "TestText.h"
#include "host/DirectDrawLibrary.h"
#include "karaoke/InfoRenderer.h"
#include "karaoke/LyricsRowRenderer.h"
#include "karaoke/core/KaraokeLyrics.h"
#include "player/SubstitutePlayer.h"
#include "settings/KaraokeSettings.h"
#include "settings/MemoryIniFile.h"
#include "sources/SongInfo.h"

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

// Every DirectDraw object the plug-in makes, with a reference of the test's own to
// its second interface (the one the screen keeps): the plug-in finds DirectDraw
// through GetProcAddress, whose entry in its import table is replaced.
using DirectDrawCreateProc = HRESULT(WINAPI*)(GUID*, IDirectDraw**, IUnknown*);
DirectDrawCreateProc realCreate = nullptr;
std::vector<IDirectDraw2*> madeByPlugin;

HRESULT WINAPI KeepingDirectDrawCreate(GUID* guid, IDirectDraw** out, IUnknown* outer) {
  static constexpr GUID kIidDirectDraw2 = {0xB3A6F3E0, 0x2B43, 0x11CF, {0xA2, 0xDE, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};
  const HRESULT result = realCreate(guid, out, outer);
  IDirectDraw2* second = nullptr;
  if (SUCCEEDED(result) && SUCCEEDED((*out)->QueryInterface(kIidDirectDraw2, reinterpret_cast<void**>(&second))))
    madeByPlugin.push_back(second);
  return result;
}

FARPROC WINAPI WatchingGetProcAddress(HMODULE module, LPCSTR name) {
  FARPROC found = GetProcAddress(module, name);
  if (reinterpret_cast<uintptr_t>(name) <= 0xFFFF || strcmp(name, "DirectDrawCreate") != 0 || !found) return found;
  realCreate = reinterpret_cast<DirectDrawCreateProc>(reinterpret_cast<void*>(found));
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(KeepingDirectDrawCreate));
}

bool WatchDirectDrawOf(HMODULE module) {
  auto* base = reinterpret_cast<uint8_t*>(module);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) ||
          strcmp(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name, "GetProcAddress") != 0)
        continue;
      DWORD was = 0;
      if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &was)) return false;
      slots->u1.Function = reinterpret_cast<uintptr_t>(WatchingGetProcAddress);
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, was, &was);
      return true;
    }
  }
  return false;
}

// What one open leaves behind grows with every open: a hundred make it plain. Each
// DirectDraw object must be left with the test's reference only.
TEST_F(KaraokeScreenTest, HundredOpensLeaveNothingBehind) {
  WriteLyrics("song.txt", "[00:01:00]Some words\n[00:03:00]More words\n");
  DirectDrawLibrary keepLoaded;  // the test's references outlive the plug-in's library
  PlayAndStart({Path("song.wav")}, 1500);
  ASSERT_TRUE(WatchDirectDrawOf(player_->PluginModule()));
  madeByPlugin.clear();
  // Each closed screen's object is let go at once: a hundred kept would not fit in a
  // 32-bit process.
  int made = 0;
  ULONG leftByPlugin = 0;
  auto cycle = [&] {
    Toggle();
    ASSERT_TRUE(WaitFor([&] { return Screen() && MenuChecked(); }));
    Toggle();
    ASSERT_TRUE(WaitFor([&] { return !Screen() && !MenuChecked(); }));
    for (IDirectDraw2* directDraw : madeByPlugin) leftByPlugin += directDraw->Release(), ++made;
    madeByPlugin.clear();
  };
  cycle();
  const ProcessCensus before = TakeProcessCensus();
  for (int i = 0; i < 100 && !HasFatalFailure(); ++i) cycle();
  EXPECT_EQ(made, 101);
  EXPECT_EQ(leftByPlugin, 0u);
  SubstitutePlayer::PumpFor(100);
  EXPECT_EQ(CensusGrowth(before, TakeProcessCensus()), "");
  Quit();
}

// --- A row drawn into a surface of the test's own ------------------------------

// A colour as GDI stores it in a pixel of that depth: RGB565 keeps each channel's
// top bits; 24 and 32 bits hold 0xRRGGBB.
uint32_t PixelOf(COLORREF c, int bits) {
  if (bits != 16) return uint32_t(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
  return (GetRValue(c) >> 3) << 11 | (GetGValue(c) >> 2) << 5 | GetBValue(c) >> 3;
}

// Every pixel of a surface of that depth as (x, y, value), read under a lock.
template <class Visit>
bool ScanPixels(IDirectDrawSurface* surface, int bits, Visit visit) {
  DDSURFACEDESC locked{};
  locked.dwSize = sizeof locked;
  if (FAILED(surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr))) return false;
  const bool right = locked.ddpfPixelFormat.dwRGBBitCount == DWORD(bits);
  for (int y = 0; right && y < int(locked.dwHeight); ++y)
    for (int x = 0; x < int(locked.dwWidth); ++x) {
      uint32_t p = 0;
      memcpy(&p, static_cast<const uint8_t*>(locked.lpSurface) + y * locked.lPitch + x * (bits / 8), bits / 8);
      visit(x, y, p);
    }
  surface->Unlock(nullptr);
  return right;
}

void SetUpContext(SurfaceContext& context, IDirectDraw2* directDraw, const KaraokeSettings& settings, int bits,
                  DWORD red, DWORD green, DWORD blue) {
  context.directDraw = directDraw;
  context.format.dwSize = sizeof context.format;
  context.format.dwFlags = DDPF_RGB;
  context.format.dwRGBBitCount = bits;
  context.format.dwRBitMask = red;
  context.format.dwGBitMask = green;
  context.format.dwBBitMask = blue;
  context.layout = ComputeKaraokeLayout(settings, 640, 480);
}

// At each depth the outline is dilated in the locked surface's own pixel size.
TEST(KaraokeRowPixels, SungAndUnsungSplitWithOutlineOverTheTarget) {
  // The Options sheet's list holds the desktop's own mode.
  const std::vector<DisplayMode> modes = EnumerateDisplayModes();
  EXPECT_TRUE(std::any_of(modes.begin(), modes.end(), [](const DisplayMode& m) {
    return m.width == GetSystemMetrics(SM_CXSCREEN) && m.height == GetSystemMetrics(SM_CYSCREEN);
  }));
  DirectDrawLibrary library;
  OwnedInterface<IDirectDraw2> directDraw = library.Create();
  ASSERT_TRUE(directDraw && SUCCEEDED(directDraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL)));
  MemoryIniFile ini("[Mirabo's Karaoke Displayer]\nLyricsColor1A=FFFFFF\nLyricsColor1B=000000\n"
                    "LyricsColor2A=FF0000\nLyricsColor2B=000000\nEdge=10\n");
  KaraokeSettings settings(ini);
  const COLORREF unsung = RGB(255, 255, 255), sung = RGB(255, 0, 0), edge = RGB(0, 0, 0);
  struct {
    int bits;
    DWORD red, green, blue;
  } const formats[] = {{16, 0xF800, 0x07E0, 0x001F}, {24, 0xFF0000, 0xFF00, 0xFF}, {32, 0xFF0000, 0xFF00, 0xFF}};
  for (const auto& f : formats) {
    SCOPED_TRACE(f.bits);
    SurfaceContext context;
    SetUpContext(context, directDraw.Get(), settings, f.bits, f.red, f.green, f.blue);
    const uint32_t blue = PixelOf(RGB(0, 0, 255), f.bits);

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

      int sungRight = -1, unsungLeft = 640, edges = 0, strays = 0;
      ASSERT_TRUE(ScanPixels(target.Get(), f.bits, [&](int x, int y, uint32_t p) {
        const bool inBand = y >= band.top && y < band.bottom;
        if (p == PixelOf(sung, f.bits)) sungRight = std::max(sungRight, x);
        if (p == PixelOf(unsung, f.bits)) unsungLeft = std::min(unsungLeft, x);
        edges += p == PixelOf(edge, f.bits);
        // Outside the row's band only the target's own colour; inside, nothing but
        // the four colours (the transparent fill never shows).
        strays += p != blue && (!inBand || (p != PixelOf(sung, f.bits) && p != PixelOf(unsung, f.bits) &&
                                            p != PixelOf(edge, f.bits)));
      }));
      EXPECT_EQ(strays, 0) << c.t;
      EXPECT_EQ(sungRight >= 0, c.anySung) << c.t;
      EXPECT_EQ(unsungLeft < 640, c.anyUnsung) << c.t;
      EXPECT_GT(edges, 0) << c.t;
      if (c.anySung && c.anyUnsung) {
        EXPECT_LT(sungRight, unsungLeft) << c.t;
      }
    }
  }
}

// Each half of the strip shows its own format (by default the artist, then the title).
TEST(KaraokeInfoPixels, EachFormatInItsHalfOfTheStrip) {
  DirectDrawLibrary library;
  OwnedInterface<IDirectDraw2> directDraw = library.Create();
  ASSERT_TRUE(directDraw && SUCCEEDED(directDraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL)));
  MemoryIniFile ini;
  KaraokeSettings settings(ini);
  SurfaceContext context;
  SetUpContext(context, directDraw.Get(), settings, 16, 0xF800, 0x07E0, 0x001F);
  const KRect strip = context.layout.infoStrip;
  Surface target;
  ASSERT_EQ(CreateOffscreenSurface(context, 640, 480, DDSCAPS_SYSTEMMEMORY, target), DD_OK);
  struct {
    const char *artist, *title;
    bool top, bottom;
  } const cases[] = {{"MMMM", "", true, false}, {"", "MMMM", false, true}, {"MMMM", "MMMM", true, true}};
  for (const auto& c : cases) {
    SongInfo song;
    song.SetField(SongField::kArtist, WString::FromUtf8(c.artist));
    song.SetField(SongField::kTitle, WString::FromUtf8(c.title));
    InfoRenderer info(context, settings, song);
    ASSERT_TRUE(info.Ok());
    ASSERT_EQ(info.Update(true), DD_OK);
    ASSERT_EQ(FillSurface(target.Get(), nullptr, 0x001F), DD_OK);
    ASSERT_EQ(info.Draw(target.Get()), DD_OK);
    int drawn[3] = {};  // the strip's top half, its bottom half, below it
    ASSERT_TRUE(ScanPixels(target.Get(), 16, [&](int, int y, uint32_t p) {
      drawn[std::min(2 * y / strip.bottom, 2)] += p != 0x001F;
    }));
    EXPECT_EQ(drawn[2], 0);
    EXPECT_EQ(drawn[0] > 0, c.top) << c.artist << "/" << c.title;
    EXPECT_EQ(drawn[1] > 0, c.bottom) << c.artist << "/" << c.title;
  }
}

}  // namespace
