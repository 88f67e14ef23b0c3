// The karaoke view as the user drives it: keys and clicks at known positions of the
// player's clock stamp where the caret is (read back from the saved file), the seek
// keys move the player, and the view's pixels show the caret line's frame, the caret,
// the stamp marks and the wipe of the playing line.

#include "KaraokeEditHarness.h"

namespace karaoketest {
namespace {

std::string Near(const char* what, int actual, int expected, int tolerance) {
  return std::abs(actual - expected) <= tolerance ? "" : what + (" " + std::to_string(actual)) + "; ";
}

TEST_F(KaraokeEditTest, KeysAndClicksStampAtTheCaretAndSeekKeysMoveThePlayer) {
  Write("song.txt", "abc\ndef");
  StartInKaraokeMode({"song.wav"}, 1000);
  auto at = [&](int ms) { Player().SetPosition(ms); };
  Key(VK_SPACE);                       // line 0 column 0, caret to 1
  at(2000), Key(VK_SPACE);             // column 1
  at(3000), Key(VK_RETURN);            // end of line 0, caret to line 1
  at(4000);                            // a click nearest to boundary 1 of "def"
  SendMessageA(View(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Margin() + Width("d") + 1, CaretTextTop() + 1));
  at(5000), Key(VK_RETURN);            // the last line: the caret stays there
  // The seek keys go from the position each left behind; Z jumps a second before the
  // caret line's first tag, with "2" held before its second.
  for (WPARAM key : {WPARAM('B'), WPARAM(VK_OEM_4), WPARAM('N'), WPARAM('C'), WPARAM('Z')}) Key(key);
  Down('2');
  Key('Z');
  Up('2');
  EXPECT_EQ(Player().Seeks(), (std::vector<int>{7500, 5000, 10000, 5000, 3000, 4000}));
  // A double-click on line 0 seeks a second before it and takes the caret there.
  SendMessageA(View(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(Margin(), CaretTextTop() - Pitch() + 1));
  EXPECT_EQ(Player().LastSeek(), 0);
  // Shift held while the focus went elsewhere counts as released: the stamp replaces
  // the tag at column 0 instead of adding a second one.
  Down(VK_SHIFT);
  SendMessageA(View(), WM_KILLFOCUS, 0, 0);
  at(6500), Key(VK_SPACE);
  Key(VK_BACK);  // the tag at column 1 goes, and with none left there the caret steps back
  at(7000), Key(VK_SPACE);
  EXPECT_EQ(SavedLyrics("song.txt"), "[00:07:00]abc[00:03:00]\r\nd[00:04:00]ef[00:05:00]");
}

TEST_F(KaraokeEditTest, FrameCaretMarksAndWipeAtKnownTimes) {
  // Heavy bars fill their cells edge to edge: the split between the colours shows to
  // the pixel.
  WriteAnsi("song.txt", "[00:01:00]━━━━[00:03:00]━━━━[00:05:00]\nxyz");
  StartInKaraokeMode({"song.wav"}, 2000);
  const int h = TextHeight(), m = Margin(), y = CaretTextTop(), w4 = Width("━━━━"), w8 = Width("━━━━━━━━");
  const int markBottom = y + h + m / 2 - 1;
  auto check = [&](int x) {
    const Pixels view = Pixels::OfClient(View());
    if (view.Empty()) return std::string("no view");
    std::string complaint;
    for (int frameRow : {y - 1, y + h})
      if (view.At(view.Width() / 2, frameRow) != kFrame) complaint += "no frame at " + std::to_string(frameRow) + "; ";
    const auto sung = view.Columns(kSung, y, y + h), unsung = view.Columns(kUnsung, y, y + h);
    complaint += Near("sung to", sung.second + 1, x, 1) + Near("unsung from", unsung.first, x, 1) +
                 Near("unsung to", unsung.second + 1, m + w8, 0);
    if (view.At(view.Width() - 3, y) != kBand) complaint += "no band; ";
    for (int row = y; row < y + h; ++row)
      if (view.At(m, row) != Inverted(kBand) && view.At(m, row) != Inverted(kSung)) complaint += "no caret; ";
    // The marks under boundaries 0, 4 and 8 point left from x = m + offset - 1.
    for (int offset : {0, w4, w8})
      if (view.At(m + offset - 2, markBottom) != kSung) complaint += "no mark at " + std::to_string(offset) + "; ";
    if (view.At(m + w4 + 1, markBottom) != kBackground) complaint += "mark too wide; ";
    return complaint;
  };
  std::string complaint;
  auto shows = [&](int x) { return WaitFor([&] { return (complaint = check(x)).empty(); }), complaint; };
  EXPECT_EQ(shows(m + w4 / 2), "");
  // Ticks paint strips forward, and back in the unsung colour after a seek back.
  Player().SetPosition(4000);
  EXPECT_EQ(shows(m + w4 + (w8 - w4) / 2), "");
  Player().SetPosition(2500);
  EXPECT_EQ(shows(m + w4 * 1500 / 2000), "");
}

}  // namespace
}  // namespace karaoketest
