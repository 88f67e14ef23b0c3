// The Options sheet in the substitute player: opened from config, its pages and their
// interlocks, what Apply, OK and Cancel write (and what a page only looked at does
// not), the Displayer taking a change at once, and a hundred openings leaving nothing.

#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "TestText.h"
#include "SheetDriver.h"

namespace {

using namespace sheetdriver;

constexpr char kCommon[] = "Mirabo's Lyrics Common", kDisplayer[] = "Mirabo's Lyrics Displayer",
               kKaraoke[] = "Mirabo's Karaoke Displayer", kEditor[] = "Mirabo's Lyrics Editor";

class OptionsSheetTest : public testing::Test {
 protected:
  // The Displayer stays closed unless a test opens it: most need only the sheet.
  void SetUp() override { Set(kDisplayer, "Open", "0"); }

  std::string IniPath() const { return folder_.Path().string() + "\\plugin.ini"; }
  void Set(const char* section, const char* key, const std::string& value) {
    WritePrivateProfileStringA(section, key, value.c_str(), IniPath().c_str());
  }
  std::string Get(const char* section, const char* key) const {
    char value[2048] = {};
    GetPrivateProfileStringA(section, key, "(none)", value, sizeof value, IniPath().c_str());
    return value;
  }

  void Start() {
    const std::string library = folder_.Path().string() + "\\gen_mrlyrics.dll";
    ASSERT_TRUE(CopyFileA(MRLYRICS_PLUGIN_PATH, library.c_str(), FALSE));
    player_ = std::make_unique<SubstitutePlayer>();
    ASSERT_TRUE(player_->Create(PlayerOptions{}));
    ASSERT_TRUE(player_->LoadPlugin(library));
    ASSERT_TRUE(player_->InitPlugin());
  }
  void Quit() {
    player_->QuitPlugin();
    player_->UnloadPlugin();
  }
  // Opens the sheet from the player's preferences and waits for it.
  HWND Config() {
    EXPECT_TRUE(player_->ConfigPlugin());
    EXPECT_TRUE(WaitFor([&] { return Sheet() && OptionsChecked(); }));
    return Sheet();
  }
  bool OptionsChecked() const {  // menu 114's item, under the player's system menu
    const UINT state = GetMenuState(GetSystemMenu(player_->MainWindow(), FALSE), 50006, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
  }
  // Presses a button of the sheet (or its close box) and waits for the plug-in thread
  // to take the sheet down.
  static constexpr int kCloseBox = -1;
  bool Close(int button) {
    if (button == kCloseBox) {
      PostMessageA(Sheet(), WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
      PropSheet_PressButton(Sheet(), button);
    }
    return WaitFor([&] { return !Sheet() && !OptionsChecked(); });
  }

  TempDir folder_;
  std::unique_ptr<SubstitutePlayer> player_;  // goes first: it holds the library in the folder
};

TEST_F(OptionsSheetTest, ConfigOpensOneSheetWithSixPagesInOrder) {
  Start();
  const HWND sheet = Config();
  ASSERT_NE(sheet, nullptr);
  const HWND tabs = PropSheet_GetTabControl(sheet);
  std::vector<std::string> titles;
  for (int i = 0; i < TabCtrl_GetItemCount(tabs); ++i) {
    wchar_t text[64] = {};
    TCITEMW item{TCIF_TEXT, 0, 0, text, 64, 0, 0};
    SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    titles.push_back(WString::FromW(text).ToUtf8());
  }
  EXPECT_EQ(titles, (std::vector<std::string>{"共通", "Displayer", "Displayer2", "Karaoke Displayer", "Editor",
                                              "バージョン情報"}));
  // The plug-in's icon, big and small (a shared icon: loading it again gives the same handle).
  const HICON icon = LoadIconA(player_->PluginModule(), MAKEINTRESOURCEA(101));
  for (WPARAM size : {ICON_BIG, ICON_SMALL})
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(sheet, WM_GETICON, size, 0)), icon) << size;
  wchar_t about[512] = {};
  GetDlgItemTextW(Show(kAboutPage), 1004, about, 512);
  EXPECT_NE(WString::FromW(about).ToUtf8().find("Version 1.12"), std::string::npos);

  // A second request while it is open makes no second sheet.
  player_->ConfigPlugin();
  SubstitutePlayer::PumpFor(100);
  EXPECT_EQ(FindWindowExA(nullptr, nullptr, "#32770", "Options"), sheet);
  EXPECT_EQ(FindWindowExA(nullptr, sheet, "#32770", "Options"), nullptr);
  // With OK the sheet goes and the menu item is unchecked.
  EXPECT_TRUE(Close(PSBTN_OK));
  Quit();
}

TEST_F(OptionsSheetTest, CheckBoxesKeepTheirInterlocks) {
  Set(kDisplayer, "FitLyrics", "0");
  Set(kDisplayer, "FitWindow", "1");
  Set(kDisplayer, "Centering", "1");
  Set(kDisplayer, "LeftCentering", "0");
  Set(kCommon, "FixSeekMP3", "0");
  Start();
  Config();
  HWND page = Show(kDisplayerPage);
  // Centring 1005 and 1006 exclude each other, as do fitting the window 1007 and the
  // lyrics 1008; "only when too wide" 1010 is enabled with the latter.
  const auto state = [&] {
    std::string checks;
    for (int id : {1005, 1006, 1007, 1008}) checks += Checked(page, id) ? '1' : '0';
    return checks + (Enabled(page, 1010) ? '1' : '0');
  };
  EXPECT_EQ(state(), "10100");
  const struct {
    int click;
    const char* state;
  } steps[] = {{1008, "10011"}, {1008, "10000"}, {1008, "10011"}, {1007, "10100"}, {1006, "01100"}, {1005, "10100"}};
  for (const auto& step : steps) {
    Click(page, step.click);
    EXPECT_EQ(state(), step.state) << "after " << step.click;
  }

  page = Show(kCommonPage);
  EXPECT_FALSE(Enabled(page, 1022));
  Click(page, 1036);
  EXPECT_TRUE(Enabled(page, 1022));
  // The close box applies nothing, as Cancel does.
  EXPECT_TRUE(Close(kCloseBox));
  Quit();
  EXPECT_EQ(Get(kCommon, "FixSeekMP3"), "0");
}

TEST_F(OptionsSheetTest, AppliedPagesReachPluginIniAtQuit) {
  Set(kCommon, "ID3V2", "1");
  Set(kKaraoke, "FontFace", "No Such Face");  // never in the face list: nothing selected
  Set(kKaraoke, "FontWeight", "700");
  Set(kKaraoke, "Width", "4000");  // no display offers it
  Set(kKaraoke, "Height", "3000");
  Set(kKaraoke, "BPP", "32");
  Start();
  Config();
  HWND page = Show(kCommonPage);
  EXPECT_FALSE(ApplyEnabled());
  Click(page, 1017);
  EXPECT_TRUE(ApplyEnabled());
  // A folder longer than 260 bytes, Japanese throughout: kept whole.
  const WString folder = W("C:\\").Append(WString(150, u'歌')).Append(W("\\詞"));
  SetDlgItemTextW(page, 1015, folder.W());

  page = Show(kKaraokePage);
  wchar_t height[8] = {};
  GetDlgItemTextW(page, 1006, height, 8);
  EXPECT_EQ(WString::FromW(height), W("85"));
  EXPECT_EQ(SendDlgItemMessageA(page, 1037, CB_GETCURSEL, 0, 0), 0);
  // "Keep the mode", then the display's modes as width*height*bits.
  wchar_t mode[2][32] = {};
  for (int entry : {0, 1}) SendDlgItemMessageW(page, 1037, CB_GETLBTEXT, entry, reinterpret_cast<LPARAM>(mode[entry]));
  int width = 0, depth = 0;
  EXPECT_EQ(WString::FromW(mode[0]), W("変更しない"));
  EXPECT_EQ(swscanf(mode[1], L"%d*%*d*%d", &width, &depth), 2);
  EXPECT_TRUE(width >= 320 && (depth == 16 || depth == 24 || depth == 32)) << WString::FromW(mode[1]).ToUtf8();
  SetDlgItemTextA(page, 1006, "90");
  EXPECT_TRUE(Apply());
  // Changes after Apply go with Cancel; what was applied stays.
  Click(Show(kCommonPage), 1017);
  SetDlgItemTextA(Show(kDisplayer2Page), 1007, "9");
  EXPECT_TRUE(Close(PSBTN_CANCEL));
  Quit();

  EXPECT_EQ(Get(kCommon, "ID3V2") + " " + Get(kDisplayer, "SpaceBetLines"), "0 2");
  EXPECT_EQ(WString::FromAnsi(Get(kCommon, "LyricsFolder")), folder);
  EXPECT_EQ(Get(kKaraoke, "LyricsHeight"), "-90");
  EXPECT_EQ(Get(kKaraoke, "FontFace") + " " + Get(kKaraoke, "FontWeight"), "No Such Face 700");
  EXPECT_EQ(Get(kKaraoke, "Width") + " " + Get(kKaraoke, "Height") + " " + Get(kKaraoke, "BPP"), "0 0 0");
}

TEST_F(OptionsSheetTest, PagesOnlyLookedAtWriteNothing) {
  // -26 px is 20 points at 96 dpi, which would be written back as -27.
  Set(kEditor, "FontSize", "-26");
  Start();
  Config();
  for (Page page : {kCommonPage, kDisplayerPage, kDisplayer2Page, kKaraokePage, kEditorPage, kAboutPage}) {
    Show(page);
    EXPECT_FALSE(ApplyEnabled()) << "page " << page;
  }
  EXPECT_TRUE(Close(PSBTN_OK));
  Quit();
  EXPECT_EQ(Get(kEditor, "FontSize"), "-26");
}

TEST_F(OptionsSheetTest, TopMostShowsOnTheOpenDisplayerAtOnce) {
  Set(kDisplayer, "Open", "1");
  Set(kDisplayer, "TopMost", "0");
  Start();
  const auto frame = [] { return ProcessWindow(kDisplayer); };
  ASSERT_TRUE(WaitFor([&] { return frame() != nullptr; }));
  const auto topMost = [](HWND window) { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  Config();
  EXPECT_FALSE(topMost(Sheet()));
  Click(Show(kDisplayerPage), 1004);
  Click(Sheet(), kApplyButton);  // the Displayer is told at once
  EXPECT_TRUE(WaitFor([&] { return topMost(frame()) && topMost(Sheet()); }));
  EXPECT_TRUE(Close(PSBTN_OK));
  Quit();
}

TEST_F(OptionsSheetTest, HundredOpeningsLeaveNothingBehind) {
  Start();
  const HWND dummy = ProcessWindow("Mirabo's Dummy Window");
  ASSERT_NE(dummy, nullptr);
  // Once first, every page shown: comctl32, DirectDraw and the dialog fonts stay.
  Config();
  for (int page = kCommonPage; page <= kAboutPage; ++page) Show(static_cast<Page>(page));
  ASSERT_TRUE(Close(PSBTN_CANCEL));
  // Wine keeps released window DCs (each with its region) and the theme's pictures
  // in caches that grow with use, never per window: those may grow, but by fewer
  // than one DC per opening; every other kind must not grow at all.
  const auto withoutCaches = [](ProcessCensus census) {
    for (const char* cached : {"gdi DC", "gdi Region", "gdi Bitmap", "gdi Brush", "gdi Pen"}) census.erase(cached);
    return census;
  };
  const ProcessCensus before = TakeProcessCensus();
  for (int i = 0; i < 100; ++i) {
    ASSERT_NE(Config(), nullptr) << i;
    Show(static_cast<Page>(i % 6));
    if (i % 2) {
      ASSERT_TRUE(Close(PSBTN_CANCEL)) << i;
    } else {  // menu 114's Options item toggles it shut
      PostMessageA(dummy, WM_COMMAND, 50006, 0);
      ASSERT_TRUE(WaitFor([&] { return !Sheet() && !OptionsChecked(); })) << i;
    }
  }
  const ProcessCensus after = TakeProcessCensus();
  EXPECT_EQ(CensusGrowth(withoutCaches(before), withoutCaches(after)), "");
  EXPECT_LT(after.at("gdi DC") - before.at("gdi DC"), 50);
  Quit();
}

}  // namespace
