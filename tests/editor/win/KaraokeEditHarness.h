#pragma once
// The plug-in in the substitute player with the Editor open on the playing song's
// lyrics, its karaoke view in pure colours and a known font, driven by key and mouse
// messages at positions of the player's manual clock; what it did is read back from
// the saved file and from the view's pixels.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "displayer/win/DisplayerHarness.h"  // Pixels, the substitute player, the census

namespace karaoketest {

using displayertest::Pixels;

constexpr char kEditorSection[] = "Mirabo's Lyrics Editor";  // also the Editor's class
constexpr COLORREF kBackground = RGB(0, 0, 0), kBand = RGB(128, 0, 128), kOrdinary = RGB(0, 0, 255),
                   kSung = RGB(0, 255, 0), kUnsung = RGB(255, 0, 0), kFrame = RGB(255, 255, 0);
constexpr int kFontSize = -20;
constexpr UINT kSwitchMode = 40011, kSave = 40014, kAdjustTags = 40018;

inline COLORREF Inverted(COLORREF c) { return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c)); }

class KaraokeEditTest : public testing::Test {
 protected:
  KaraokeEditTest() { SelectObject(measure_, font_); }
  ~KaraokeEditTest() override {
    DeleteDC(measure_);
    DeleteObject(font_);
  }
  // Pure colours (written RRGGBB), so a pixel tells what painted it; the Displayer
  // closed, the Editor open and following the song, stamps moving by one character.
  void SetUp() override {
    WriteFileBytes(Path("plugin.ini"),
                   "[Mirabo's Lyrics Displayer]\r\nOpen=0\r\n[Mirabo's Lyrics Editor]\r\nOpen=1\r\nFontSize=-20\r\n"
                   "IdealCursor=0\r\nAlwaysOpen=1\r\nColor=0000FF\r\nCurColor=00FF00\r\nCurColor2=FF0000\r\n"
                   "BKCurColor=800080\r\nBKColor=000000\r\nEditLineColor=FFFF00\r\n");
    int32_t rect[4] = {480, 200, 980, 560};  // clear of the player's windows
    WritePrivateProfileStructA(kEditorSection, "WindowRect", rect, sizeof rect, Path("plugin.ini").c_str());
  }
  void TearDown() override {
    if (player_) player_->QuitPlugin(), player_->UnloadPlugin();
  }

  std::string Path(const std::string& name) const { return folder_.Path().string() + "\\" + name; }
  // Lyrics in UTF-8, stored in the ANSI code page as users' files are, and read back.
  void WriteLyrics(const std::string& name, const char* utf8) {
    WriteFileBytes(Path(name), WString::FromUtf8(utf8).ToAnsi());
  }
  std::string SavedLyrics(const std::string& name) {
    SendMessageA(Editor(), WM_COMMAND, kSave, 0);
    return WString::FromAnsi(ReadFileBytes(Path(name))).ToUtf8();
  }

  // Plays the songs (200 s each, the first at ms) and starts the plug-in, whose Editor
  // opens the first song's lyrics.
  void Start(const std::vector<std::string>& songs, int ms) {
    player_ = std::make_unique<SubstitutePlayer>();
    ASSERT_TRUE(player_->Create(PlayerOptions{}));
    std::vector<std::string> paths;
    for (const std::string& song : songs) paths.push_back(Path(song));
    player_->SetPlaylist(paths);
    player_->SetLength(200);
    player_->Play();
    player_->SetPosition(ms);
    const std::string library = Path("gen_mrlyrics.dll");
    ASSERT_TRUE(CopyFileA(MRLYRICS_PLUGIN_PATH, library.c_str(), FALSE));
    ASSERT_TRUE(player_->LoadPlugin(library));
    ASSERT_TRUE(player_->InitPlugin());
    ASSERT_TRUE(WaitFor([&] { return Editor() != nullptr; }));
  }
  // Mode 1 -> 2 -> 3.
  void KaraokeMode() {
    for (int i = 0; i < 2 && !View(); ++i) SendMessageA(Editor(), WM_COMMAND, kSwitchMode, 0);
    ASSERT_NE(View(), nullptr);
  }

  HWND Editor() const { return ProcessWindow(kEditorSection); }
  HWND View() const {
    return Editor() ? FindWindowExA(Editor(), nullptr, "Mirabo's Lyrics Editor Karaoke", nullptr) : nullptr;
  }
  void Key(WPARAM key) {
    SendMessageA(View(), WM_KEYDOWN, key, 0);
    SendMessageA(View(), WM_KEYUP, key, 0);
  }
  static bool WaitFor(const std::function<bool()>& done) { return SubstitutePlayer::PumpUntil(done, 5000); }

  // The view's font and metrics, made and measured here as the user's settings ask.
  int TextHeight() const {
    RECT rect{};
    DrawTextW(measure_, L"A", 1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return rect.bottom - rect.top;
  }
  int Margin() const { return TextHeight() / 2 + 1; }  // also the row spacing
  int Pitch() const { return TextHeight() + Margin(); }
  int Width(const char* utf8) const {
    SIZE size{};
    return GetTextExtentPoint32W(measure_, W(utf8).W(), static_cast<int>(W(utf8).Length()), &size), size.cx;
  }
  // The y of the caret line's text: the caret line's row sits at the centre.
  int CaretTextTop() const {
    RECT client{};
    GetClientRect(View(), &client);
    return client.bottom / 2 - Pitch() / 2 + Margin() / 2;
  }

  TempDir folder_;
  std::unique_ptr<SubstitutePlayer> player_;  // goes first: it holds the library in the folder

 private:
  LOGFONTW logical_{kFontSize, 0, 0, 0, 400, 0, 0, 0, 1, 0, 2, 1, 2, L"ＭＳ Ｐゴシック"};
  HFONT font_ = CreateFontIndirectW(&logical_);
  HDC measure_ = CreateCompatibleDC(nullptr);
};

}  // namespace karaoketest
