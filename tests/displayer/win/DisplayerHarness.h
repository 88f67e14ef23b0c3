#pragma once
// The plug-in loaded into the substitute player with a plugin.ini of the test's own,
// and what the Displayer shows read back from its windows' pixels and compared with
// pictures the test draws itself in the same font. The player's clock is manual, so
// each picture belongs to one known position.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ProcessCensus.h"
#include "TestText.h"
#include "player/SubstitutePlayer.h"

namespace displayertest {

constexpr char kSection[] = "Mirabo's Lyrics Displayer";  // also the frame's class
constexpr int kBoundMs = 5000;                             // reached only when something is wrong
// Pure colours, one per role, so a pixel tells what painted it.
constexpr COLORREF kBackground = RGB(0, 0, 0), kBand = RGB(128, 0, 128), kOrdinary = RGB(0, 0, 255),
                   kSung = RGB(0, 255, 0), kUnsung = RGB(255, 0, 0), kInfo = RGB(255, 255, 255);
constexpr int kFontHeight = -20, kMargin = 4, kSpaceBetLines = 2;
// Clear of the player's windows (x 100..375, the hidden mini-browser to 650, y to 564).
constexpr RECT kFrameRect{500, 580, 1140, 780};

// A picture as COLORREF values, row by row.
class Pixels {
 public:
  // What paint draws on a picture of this size filled with the background colour.
  static Pixels Render(int width, int height, const std::function<void(HDC)>& paint) {
    Pixels pixels;
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = width > 0 && height > 0 ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (bitmap) {
      HGDIOBJ old = SelectObject(dc, bitmap);
      FillRows(dc, width, 0, height, kBackground);
      paint(dc);
      GdiFlush();
      pixels.width_ = width;
      pixels.height_ = height;
      for (int i = 0; i < width * height; ++i) {
        const uint32_t v = static_cast<const uint32_t*>(bits)[i];
        pixels.colours_.push_back(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
      }
      SelectObject(dc, old);
      DeleteObject(bitmap);
    }
    DeleteDC(dc);
    return pixels;
  }
  // The client area of a window as the screen shows it now. Read from the screen, not
  // through the window's own DC, which belongs to the plug-in thread.
  static Pixels OfClient(HWND window) {
    RECT client{};
    POINT origin{0, 0};
    if (!GetClientRect(window, &client) || !ClientToScreen(window, &origin)) return Pixels();
    HDC screen = GetDC(nullptr);
    Pixels pixels = Render(client.right, client.bottom, [&](HDC dc) {
      BitBlt(dc, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
    });
    ReleaseDC(nullptr, screen);
    return pixels;
  }
  static void FillRows(HDC dc, int width, int top, int bottom, COLORREF colour) {
    const RECT rect{0, top, width, bottom};
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return colours_.empty(); }
  COLORREF At(int x, int y) const { return colours_[static_cast<size_t>(y) * width_ + x]; }
  // The leftmost and rightmost columns holding the colour in rows [top, bottom); -1 for none.
  std::pair<int, int> Columns(COLORREF colour, int top, int bottom) const {
    std::pair<int, int> span{-1, -1};
    for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y)
      for (int x = 0; x < width_; ++x)
        if (At(x, y) == colour) span = {span.first < 0 ? x : std::min(span.first, x), std::max(span.second, x)};
    return span;
  }
  // Pixels in rows [top, bottom) that differ from those of a picture of the same size.
  int Differences(const Pixels& other, int top, int bottom) const {
    int count = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y)
      for (int x = 0; x < width_; ++x) count += At(x, y) != other.At(x, y);
    return count;
  }

 private:
  int width_ = 0, height_ = 0;
  std::vector<COLORREF> colours_;
};

// The checks answer what is wrong with a picture, "" when nothing is.
inline std::string SameRows(const Pixels& picture, const Pixels& expected, int top, int bottom, const std::string& what) {
  const int differences = picture.Differences(expected, top, bottom);
  return differences == 0 ? "" : what + ": " + std::to_string(differences) + " pixels differ; ";
}
inline std::string Same(const Pixels& picture, const Pixels& expected, const std::string& what) {
  return SameRows(picture, expected, 0, picture.Height(), what);
}
inline std::string Blank(const Pixels& picture) {
  return Same(picture, Pixels::Render(picture.Width(), picture.Height(), [](HDC) {}), "blank");
}

class DisplayerTest : public testing::Test {
 protected:
  DisplayerTest() { SelectObject(measure_, font_); }
  ~DisplayerTest() override {
    DeleteDC(measure_);
    DeleteObject(font_);
  }

  // Settings every picture relies on: a known font and layout, pure colours, no info
  // strip, no skin colours, the frame where nothing covers it.
  void UsePixelSettings() {
    const std::pair<const char*, int> numbers[] = {
        {"FontHeight", kFontHeight}, {"FitLyrics", 0},        {"FitWindow", 0},      {"InfoWindow", 0},
        {"Centering", 0},            {"LeftCentering", 0},    {"Margin", kMargin},   {"SpaceBetLines", kSpaceBetLines},
        {"UseSkinSetting", 0},       {"MoveTogePlayer", 0}};
    for (const auto& [key, value] : numbers) Set(key, std::to_string(value));
    const std::pair<const char*, COLORREF> colours[] = {{"Color", kOrdinary},  {"CurColor", kSung},
                                                        {"CurColor2", kUnsung}, {"BKCurColor", kBand},
                                                        {"BKColor", kBackground}, {"InfoColor", kInfo}};
    for (const auto& [key, colour] : colours) {
      char text[8];  // plugin.ini writes colours as RRGGBB
      snprintf(text, sizeof text, "%X", GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour));
      Set(key, text);
    }
    SetFrameRect(kFrameRect);
  }
  void SetFrameRect(const RECT& r) {
    int32_t rect[4] = {r.left, r.top, r.right, r.bottom};
    WritePrivateProfileStructA(kSection, "WindowRect", rect, sizeof rect, IniPath().c_str());
  }
  void Set(const char* key, const std::string& value) {
    WritePrivateProfileStringA(kSection, key, value.c_str(), IniPath().c_str());
  }

  std::string Path(const std::string& name) const { return folder_.Path().string() + "\\" + name; }
  std::string IniPath() const { return Path("plugin.ini"); }
  std::string ReadIni() const { return ReadFileBytes(IniPath()); }
  // Lyrics given in UTF-8, stored in the ANSI code page as users' files are.
  void WriteLyrics(const std::string& name, const char* utf8) {
    WriteFileBytes(Path(name), WString::FromUtf8(utf8).ToAnsi());
  }

  SubstitutePlayer& Player() {
    if (!player_) {
      player_ = std::make_unique<SubstitutePlayer>();
      EXPECT_TRUE(player_->Create(PlayerOptions{}));
    }
    return *player_;
  }
  // Plays the songs (the first at ms, each 200 s long) and starts the plug-in.
  void PlayAndStart(const std::vector<std::string>& songs, int ms = 0) {
    Player().SetPlaylist(songs);
    Player().SetLength(200);
    Player().Play();
    Player().SetPosition(ms);
    Start();
  }
  // Loads a copy of the library (plugin.ini beside it) and waits for the Displayer.
  void Start() {
    const std::string library = Path("gen_mrlyrics.dll");
    ASSERT_TRUE(CopyFileA(MRLYRICS_PLUGIN_PATH, library.c_str(), FALSE));
    ASSERT_TRUE(Player().LoadPlugin(library));
    ASSERT_TRUE(Player().InitPlugin());
    ASSERT_TRUE(WaitFor([&] { return View() != nullptr; }));
  }
  void Quit() {
    Player().QuitPlugin();
    Player().UnloadPlugin();
  }

  HWND Frame() const { return ProcessWindow(kSection); }
  HWND Child(const char* className) const {
    return Frame() ? FindWindowExA(Frame(), nullptr, className, nullptr) : nullptr;
  }
  HWND View() const { return Child("Mirabo's Lyrics Displayer Main"); }
  HWND Info() const { return Child("Mirabo's Lyrics Displayer Info"); }
  RECT FrameRect() const {
    RECT rect{};
    GetWindowRect(Frame(), &rect);
    return rect;
  }

  // Pumps the player's messages (the plug-in thread asks it for the position on every
  // tick) until the condition holds.
  static bool WaitFor(const std::function<bool()>& done) { return SubstitutePlayer::PumpUntil(done, kBoundMs); }
  // Waits until the window's picture passes the check; answers the last complaint.
  std::string Shows(const std::function<HWND()>& window, const std::function<std::string(const Pixels&)>& check) {
    std::string complaint;
    WaitFor([&] {
      const Pixels picture = Pixels::OfClient(window());
      complaint = picture.Empty() ? "no window" : check(picture);
      return complaint.empty();
    });
    return complaint;
  }
  std::string ViewShows(const std::function<std::string(const Pixels&)>& check) {
    return Shows([&] { return View(); }, check);
  }

  // The view's font as the settings ask for it (the default face), measured and drawn
  // as the view does.
  int Width(const WString& text) const {
    SIZE size{};
    GetTextExtentPoint32W(measure_, text.W(), static_cast<int>(text.Length()), &size);
    return size.cx;
  }
  int TextHeight() const {
    RECT rect{};
    DrawTextW(measure_, L"A", 1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return rect.bottom - rect.top;
  }
  int Pitch() const { return TextHeight() + kSpaceBetLines; }
  void Draw(HDC dc, int x, int y, const WString& text, COLORREF colour) const {
    HGDIOBJ old = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    ExtTextOutW(dc, x, y, 0, nullptr, text.W(), static_cast<UINT>(text.Length()), nullptr);
    SelectObject(dc, old);
  }
  // Lines as the view draws those that are not current, line 0's band at firstTop.
  Pixels RenderLines(const Pixels& like, const std::vector<WString>& lines, int firstTop, COLORREF colour) const {
    return Pixels::Render(like.Width(), like.Height(), [&](HDC dc) {
      for (size_t i = 0; i < lines.size(); ++i)
        Draw(dc, kMargin, firstTop + static_cast<int>(i) * Pitch() + kSpaceBetLines / 2, lines[i], colour);
    });
  }

  // Measures and draws with the view's font at another height from now on.
  void UseFontHeight(int height) {
    logical_.lfHeight = height;
    const HFONT old = font_;
    SelectObject(measure_, font_ = CreateFontIndirectW(&logical_));
    DeleteObject(old);
  }

  TempDir folder_;
  std::unique_ptr<SubstitutePlayer> player_;  // goes first: it holds the library in the folder

 private:
  LOGFONTW logical_{kFontHeight, 0, 0, 0, 400, 0, 0, 0, 1, 0, 2, 1, 2, L"ＭＳ Ｐゴシック"};
  HFONT font_ = CreateFontIndirectW(&logical_);
  HDC measure_ = CreateCompatibleDC(nullptr);
};

}  // namespace displayertest
