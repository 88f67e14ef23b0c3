// The skin's own files: the frame bitmap gen_mrlyrics.bmp and the colours of
// gen_mrlyrics.txt from the player's skin folder. Both are untrusted: a bitmap whose
// headers do not fit the file leaves the built-in one. The colours are the skin
// folder's whatever became of its bitmap.

#include "DisplayerHarness.h"
#include "TestBitmaps.h"

namespace displayertest {
namespace {

constexpr COLORREF kSkinFrame = RGB(10, 200, 30);
constexpr COLORREF kSkinBackground = RGB(0x12, 0x34, 0x56);

class SkinTest : public DisplayerTest {
 protected:
  void SetUp() override {
    UsePixelSettings();
    Set("UseSkinSetting", "1");
    skin_ = Path("skin");
    CreateDirectoryA(skin_.c_str(), nullptr);
    WriteFileBytes(skin_ + "\\gen_mrlyrics.txt", "[Skin]\r\nBKColor=123456\r\nColor=not a colour\r\n");
    Player().SetSkinFolder(skin_ + "\\");
  }
  void WriteBitmap(const std::vector<uint8_t>& bytes) {
    WriteFileBytes(skin_ + "\\gen_mrlyrics.bmp", std::string(bytes.begin(), bytes.end()));
  }
  // A pixel of the caption's left end, as the screen shows it.
  COLORREF CaptionPixel() const {
    const RECT frame = FrameRect();
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, frame.left + 2, frame.top + 2);
    ReleaseDC(nullptr, screen);
    return colour;
  }
  // The view's bottom-right corner, where no line reaches.
  static COLORREF Corner(const Pixels& view) { return view.At(view.Width() - 2, view.Height() - 2); }

  std::string skin_;
};

// The player changes to this skin while the frame is open: the frame redraws itself.
TEST_F(SkinTest, UsableBitmapDrawsTheFrameAndItsColoursWin) {
  WriteBitmap(SolidBmp(276, 67, kSkinFrame));
  Player().SetSkinFolder("");
  PlayAndStart({Path("song.wav")});
  EXPECT_EQ(ViewShows([](const Pixels& v) { return Corner(v) == kBackground ? "" : "not the settings' background"; }),
            "");
  Player().SetSkinFolder(skin_ + "\\");
  SendMessageA(Player().MainWindow(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
  EXPECT_TRUE(WaitFor([&] { return CaptionPixel() == kSkinFrame; })) << std::hex << CaptionPixel();
  // BKColor from the skin; the unreadable Color leaves the settings' own.
  EXPECT_EQ(ViewShows([](const Pixels& v) { return Corner(v) == kSkinBackground ? "" : "settings background"; }), "");
  Quit();
}

TEST_F(SkinTest, BitmapThatDoesNotFitItsFileLeavesTheBuiltInSkinButNotTheSkinsColours) {
  // One row more in the header than the file holds.
  WriteBitmap(WithField(SolidBmp(276, 67, kSkinFrame), 22, 68));
  PlayAndStart({Path("song.wav")});
  EXPECT_EQ(ViewShows([](const Pixels& v) { return Corner(v) == kSkinBackground ? "" : "settings background"; }), "");
  // The built-in caption: drawn, and not in the refused bitmap's colour.
  COLORREF caption = CLR_INVALID;
  EXPECT_TRUE(WaitFor([&] { return (caption = CaptionPixel()) != CLR_INVALID && caption != kSkinBackground; }));
  EXPECT_NE(caption, kSkinFrame);
  Quit();
}

}  // namespace
}  // namespace displayertest
