#pragma once
// The Editor's karaoke view in pure colours and a known font, the Editor placed where
// nothing covers it and following the song; its pixels are compared with the metrics
// of the same font made here.

#include "EditorHarness.h"
#include "displayer/win/DisplayerHarness.h"  // Pixels

namespace karaoketest {

using displayertest::Pixels;

constexpr COLORREF kBackground = RGB(0, 0, 0), kBand = RGB(128, 0, 128), kSung = RGB(0, 255, 0),
                   kUnsung = RGB(255, 0, 0), kFrame = RGB(255, 255, 0);
constexpr int kAdjustTags = 40018;

inline COLORREF Inverted(COLORREF c) { return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c)); }

class KaraokeEditTest : public editortest::EditorTest {
 protected:
  // Colours written RRGGBB; stamps move the caret by one character.
  KaraokeEditTest() {
    SelectObject(measure_, font_);
    const std::pair<const char*, const char*> settings[] = {
        {"FontSize", "-20"},    {"IdealCursor", "0"},     {"AlwaysOpen", "1"},       {"Color", "0000FF"},
        {"CurColor", "00FF00"}, {"CurColor2", "FF0000"}, {"BKCurColor", "800080"}, {"BKColor", "000000"},
        {"EditLineColor", "FFFF00"}};
    for (const auto& [key, value] : settings) Set(key, value);
    int32_t rect[4] = {480, 200, 980, 560};  // clear of the player's windows
    WritePrivateProfileStructA(editortest::kSection, "WindowRect", rect, sizeof rect, Path("plugin.ini").c_str());
  }
  ~KaraokeEditTest() override {
    DeleteDC(measure_);
    DeleteObject(font_);
  }

  // The songs play from ms; the Editor goes through the text mode to the karaoke mode.
  void StartInKaraokeMode(const std::vector<std::string>& songs, int ms) {
    Start(songs);
    Player().SetPosition(ms);
    for (int i = 0; i < 2 && ViewClass() != "Mirabo's Lyrics Editor Karaoke"; ++i)
      SendMessageA(Editor(), WM_COMMAND, editortest::kSwitchMode, 0);
    ASSERT_EQ(ViewClass(), "Mirabo's Lyrics Editor Karaoke");
  }
  // Lyrics given in UTF-8, stored in the ANSI code page as users' files are.
  void WriteAnsi(const std::string& name, const char* utf8) { Write(name, WString::FromUtf8(utf8).ToAnsi().c_str()); }
  std::string SavedLyrics(const std::string& name) {
    SendMessageA(Editor(), WM_COMMAND, editortest::kSave, 0);
    return WString::FromAnsi(Read(name)).ToUtf8();
  }

  // The view's font and metrics as the settings ask for them.
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

 private:
  LOGFONTW logical_{-20, 0, 0, 0, 400, 0, 0, 0, 1, 0, 2, 1, 2, L"ＭＳ Ｐゴシック"};
  HFONT font_ = CreateFontIndirectW(&logical_);
  HDC measure_ = CreateCompatibleDC(nullptr);
};

}  // namespace karaoketest
