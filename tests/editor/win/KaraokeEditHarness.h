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

#include "ProcessCensus.h"
#include "TestText.h"
#include "displayer/win/DisplayerHarness.h"
#include "player/SubstitutePlayer.h"

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
  void SetUp() override {
    Set("Mirabo's Lyrics Displayer", "Open", "0");
    const std::pair<const char*, const char*> numbers[] = {
        {"Open", "1"}, {"FontSize", "-20"}, {"IdealCursor", "0"}, {"Sync", "0"}, {"AlwaysOpen", "1"}};
    for (const auto& [key, value] : numbers) Set(kEditorSection, key, value);
    const std::pair<const char*, COLORREF> colours[] = {
        {"Color", kOrdinary}, {"CurColor", kSung},      {"CurColor2", kUnsung},
        {"BKCurColor", kBand}, {"BKColor", kBackground}, {"EditLineColor", kFrame}};
    for (const auto& [key, c] : colours) {
      char text[8];  // RRGGBB
      snprintf(text, sizeof text, "%X", GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
      Set(kEditorSection, key, text);
    }
    int32_t rect[4] = {480, 200, 980, 560};  // clear of the player's windows
    WritePrivateProfileStructA(kEditorSection, "WindowRect", rect, sizeof rect, Path("plugin.ini").c_str());
  }
  void TearDown() override {
    if (player_) {
      player_->QuitPlugin();
      player_->UnloadPlugin();
    }
  }

  void Set(const char* section, const char* key, const std::string& value) {
    WritePrivateProfileStringA(section, key, value.c_str(), Path("plugin.ini").c_str());
  }
  std::string Path(const std::string& name) const { return folder_.Path().string() + "\\" + name; }
  // Lyrics in UTF-8, stored in the ANSI code page as users' files are, and read back.
  void WriteLyrics(const std::string& name, const char* utf8) {
    WriteFileBytes(Path(name), WString::FromUtf8(utf8).ToAnsi());
  }
  std::string SavedLyrics(const std::string& name) {
    SendMessageA(Editor(), WM_COMMAND, kSave, 0);
    const std::string bytes = ReadFileBytes(Path(name));
    return WString::FromAnsi(bytes).ToUtf8();
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
    const WString text = W(utf8);
    SIZE size{};
    GetTextExtentPoint32W(measure_, text.W(), static_cast<int>(text.Length()), &size);
    return size.cx;
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
  std::unique_ptr<std::remove_pointer_t<HFONT>, decltype(&DeleteObject)> font_{CreateFontIndirectW(&logical_),
                                                                                 &DeleteObject};
  std::unique_ptr<std::remove_pointer_t<HDC>, decltype(&DeleteDC)> measureDc_{CreateCompatibleDC(nullptr), &DeleteDC};
  HDC measure_ = (SelectObject(measureDc_.get(), font_.get()), measureDc_.get());
};

}  // namespace karaoketest
