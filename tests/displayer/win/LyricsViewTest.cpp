// The lyrics view as the user sees it, read back at known positions of the player's
// clock: the band on the current line, the karaoke wipe, the scroll that keeps the
// current line at the centre, untimed lyrics, and double-clicks.

#include "DisplayerHarness.h"

namespace displayertest {
namespace {

class LyricsViewTest : public DisplayerTest {
 protected:
  void SetUp() override { UsePixelSettings(); }

  // Where line `index` is drawn while nothing has scrolled.
  int TextTop(int index) const { return index * Pitch() + kSpaceBetLines / 2; }
  // The band covers the text rows of the current line, so at the right edge (where no
  // text reaches) its column is exactly those rows; textTop -1: no band at all.
  std::string BandAt(const Pixels& view, int textTop) const {
    std::vector<int> expected, rows;
    for (int y = textTop; textTop >= 0 && y < textTop + TextHeight(); ++y) expected.push_back(y);
    for (int y = 0; y < view.Height(); ++y)
      if (view.At(view.Width() - 3, y) == kBand) rows.push_back(y);
    if (rows == expected) return "";
    return "band rows from " + std::to_string(rows.empty() ? -1 : rows.front()) + " (" +
           std::to_string(rows.size()) + "), expected from " + std::to_string(textTop) + "; ";
  }
  // The current line of line-timed lyrics: the band, and the whole text sung.
  Pixels RenderCurrentLine(const Pixels& like, int textTop, const WString& text) const {
    return Pixels::Render(like.Width(), like.Height(), [&](HDC dc) {
      Pixels::FillRows(dc, like.Width(), textTop, textTop + TextHeight(), kBand);
      Draw(dc, kMargin, textTop, text, kSung);
    });
  }
};

std::string Near(const char* what, int actual, int expected, int tolerance) {
  if (std::abs(actual - expected) <= tolerance) return "";
  return std::string(what) + " " + std::to_string(actual) + ", expected " + std::to_string(expected) + "; ";
}

TEST_F(LyricsViewTest, KaraokeWipeFollowsTheClockAndTheBandMarksTheCurrentLine) {
  // Heavy box-drawing bars fill their cells edge to edge, so every column of a wiped
  // line has ink and the split between the colours shows to the pixel.
  WriteLyrics("karaoke.txt",
              "[00:01:00]━━━━[00:03:00]━━━━[00:05:00]\n"
              "[00:06:00]━━━━[00:08:00]━━━━[00:10:00]\n"
              "[00:11:00]あいうえお\n");
  PlayAndStart({Path("karaoke.wav")}, 2000);
  const int h = TextHeight();
  const int w4 = Width(W("━━━━")), w8 = Width(W("━━━━━━━━"));
  // Line `current` (-1: none) under the band, sung up to x and unsung from there; the
  // other bar line ordinary; the Shift-JIS line ordinary, as its kana.
  auto shows = [&](int current, int x) {
    return [=](const Pixels& view) {
      std::string complaint = BandAt(view, current < 0 ? -1 : TextTop(current));
      for (int line : {0, 1}) {
        const int top = TextTop(line), bottom = top + h;
        const auto sung = view.Columns(kSung, top, bottom), unsung = view.Columns(kUnsung, top, bottom);
        const bool ordinary = view.Columns(kOrdinary, top, bottom).first >= 0;
        if (line == current) {
          complaint += Near("sung from", sung.first, kMargin, 0) + Near("sung to", sung.second + 1, x, 1) +
                       Near("unsung from", unsung.first, x, 1) + Near("unsung to", unsung.second + 1, kMargin + w8, 0) +
                       (ordinary ? "ordinary pixels in the current line; " : "");
        } else if (sung.first >= 0 || unsung.first >= 0 || !ordinary) {
          complaint += "line " + std::to_string(line) + " not ordinary; ";
        }
      }
      const Pixels kana = Pixels::Render(view.Width(), view.Height(), [&](HDC dc) {
        Draw(dc, kMargin, TextTop(2), W("あいうえお"), kOrdinary);
      });
      return complaint + SameRows(view, kana, 2 * Pitch(), 3 * Pitch(), "kana line");
    };
  };

  // Half-way between the first two stamps of line 0, then between the last two.
  EXPECT_EQ(ViewShows(shows(0, kMargin + w4 / 2)), "");
  Player().SetPosition(4000);
  EXPECT_EQ(ViewShows(shows(0, kMargin + w4 + (w8 - w4) / 2)), "");
  // Line 1: everything fits, so nothing scrolls and the band walks down.
  Player().SetPosition(7000);
  EXPECT_EQ(ViewShows(shows(1, kMargin + w4 / 2)), "");
  // The clock goes back inside the line, then into the line before: the wipe and the
  // band follow it.
  Player().SetPosition(6600);
  EXPECT_EQ(ViewShows(shows(1, kMargin + w4 * 600 / 2000)), "");
  Player().SetPosition(2500);
  EXPECT_EQ(ViewShows(shows(0, kMargin + w4 * 1500 / 2000)), "");
  // Stopped: no current line, no band, every line ordinary.
  Player().Stop();
  EXPECT_EQ(ViewShows(shows(-1, 0)), "");
}

TEST_F(LyricsViewTest, LineTimedLyricsScrollUnderOneBandAtTheCentre) {
  std::string text;
  std::vector<WString> lines;
  for (int i = 0; i < 16; ++i) {
    char line[64];
    snprintf(line, sizeof line, "[00:%02d:00]Line %02d %s", i + 1, i, std::string(i % 4 + 1, 'x').c_str());
    lines.push_back(W(line + 10));
    text += std::string(line) + "\n";
  }
  WriteLyrics("timed.txt", text.c_str());
  PlayAndStart({Path("timed.wav")}, 2500);  // line 1
  const int h = TextHeight(), pitch = Pitch();
  // Line `current` at textTop, sung over the band, and the line above it ordinary.
  auto shows = [&](int current, int textTop) {
    return [=](const Pixels& view) {
      const Pixels above = RenderLines(view, {lines[current - 1]}, textTop - 1 - pitch, kOrdinary);
      return BandAt(view, textTop) +
             SameRows(view, RenderCurrentLine(view, textTop, lines[current]), textTop, textTop + h, "current line") +
             SameRows(view, above, textTop - pitch, textTop - pitch + h, "line above");
    };
  };

  // From the top the band walks down until the current line reaches the centre; from
  // then on the text scrolls under it, and the old band never smears.
  EXPECT_EQ(ViewShows(shows(1, TextTop(1))), "");
  const int centre = Pixels::OfClient(View()).Height() / 2 - pitch / 2 + kSpaceBetLines / 2;
  for (int line : {5, 6, 7}) {
    Player().SetPosition((line + 1) * 1000 + 500);
    EXPECT_EQ(ViewShows(shows(line, centre)), "") << line;
  }
  // Back near the top: nothing above to scroll to, the band is on line 2's own row.
  Player().SetPosition(3500);
  EXPECT_EQ(ViewShows(shows(2, TextTop(2))), "");
}

TEST_F(LyricsViewTest, UntimedLyricsAreSungWithoutBandAndMoveWithUpAndDown) {
  std::string text;
  std::vector<WString> lines;
  for (int i = 0; i < 20; ++i) {
    const std::string line = "Untimed " + std::to_string(i) + std::string(i % 3 + 1, 'o');
    lines.push_back(W(line.c_str()));
    text += line + "\n";
  }
  WriteLyrics("untimed.txt", text.c_str());
  PlayAndStart({Path("untimed.wav")}, 0);
  const int centre = Pixels::OfClient(View()).Height() / 2 - Pitch() / 2;
  // Every line in the sung colour (and so no band), line 0's band at firstTop.
  auto shows = [&](int firstTop) {
    return [=](const Pixels& view) { return Same(view, RenderLines(view, lines, firstTop, kSung), "lines"); };
  };
  auto centred = [&](int line) { return shows(centre - line * Pitch()); };

  EXPECT_EQ(ViewShows(shows(0)), "");
  // A quarter into the song of 20 lines: line 5.
  Player().SetPosition(50000);
  EXPECT_EQ(ViewShows(centred(5)), "");
  // Down, a wheel notch towards the user, Up, a notch away: each moves the anchor.
  const struct {
    UINT message;
    WPARAM wParam;
    int line;
  } moves[] = {{WM_KEYDOWN, VK_DOWN, 6},
               {WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 7},
               {WM_KEYDOWN, VK_UP, 6},
               {WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 5}};
  for (const auto& move : moves) {
    PostMessageA(Frame(), move.message, move.wParam, 0);
    EXPECT_EQ(ViewShows(centred(move.line)), "") << move.line;
  }
  // Up and Down belong to the view: the player never sees them.
  for (const KeyMessage& key : Player().KeysReceived()) EXPECT_TRUE(key.key != VK_UP && key.key != VK_DOWN);
}

TEST_F(LyricsViewTest, DoubleClickPlaysFromHalfASecondBeforeTheLine) {
  WriteLyrics("click.txt", "[00:00:30]First\n[00:06:00]Second\n[00:12:00]Third\n");
  Player().SetPlaylist({Path("click.wav")});
  Player().SetLength(200);
  Start();  // stopped
  ASSERT_EQ(ViewShows([&](const Pixels& v) {
              return v.Columns(kOrdinary, TextTop(2), TextTop(3)).first >= 0 ? "" : "no line 2";
            }),
            "");
  auto doubleClick = [&](int line) {
    PostMessageA(View(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, line * Pitch() + Pitch() / 2));
  };
  auto plays = [&] {
    const auto& commands = Player().CommandsReceived();
    return std::count(commands.begin(), commands.end(), kPlayerCommandPlay);
  };

  doubleClick(1);
  ASSERT_TRUE(WaitFor([&] { return Player().Seeks().size() == 1; }));
  EXPECT_EQ(plays(), 1);
  EXPECT_EQ(Player().State(), PlayState::kPlaying);
  // Playing already: no new start; a line less than half a second in seeks to 0.
  doubleClick(0);
  ASSERT_TRUE(WaitFor([&] { return Player().Seeks().size() == 2; }));
  // Below the last line nothing happens: the next click's seek is the only one.
  doubleClick(3);
  doubleClick(2);
  // Clicks are taken in order: had the one below the lines seeked, it would be third.
  ASSERT_TRUE(WaitFor([&] { return Player().Seeks().size() >= 3; }));
  EXPECT_EQ(Player().Seeks(), (std::vector<int>{5500, 0, 11500}));
  EXPECT_EQ(plays(), 1);
}

TEST_F(LyricsViewTest, SyncCorrectsThePlayersPosition) {
  Set("Sync", "-1000");
  WriteLyrics("sync.txt", "[00:01:00]One\n[00:03:00]Two\n");
  PlayAndStart({Path("sync.wav")}, 3500);  // 2.5 s with the correction: still line 0
  EXPECT_EQ(ViewShows([&](const Pixels& v) { return BandAt(v, TextTop(0)); }), "");
  Player().SetPosition(4000);
  EXPECT_EQ(ViewShows([&](const Pixels& v) { return BandAt(v, TextTop(1)); }), "");
}

// The keys this picture needs left at their shipped values: FitLyrics that only
// shrinks, LeftCentering, the info strip and FontHeight -25. Then a FontHeight of 0,
// which the fitting reads back from the font before it scales the line up.
TEST_F(LyricsViewTest, ShippedDefaultsAndAFontHeightOfZero) {
  for (const char* key : {"FitLyrics", "LeftCentering", "InfoWindow", "FontHeight"})
    WritePrivateProfileStringA(kSection, key, nullptr, IniPath().c_str());
  WriteLyrics("defaults.txt", "Short line\n");
  PlayAndStart({Path("defaults.wav")});
  UseFontHeight(-25);
  const WString text = W("Short line");
  EXPECT_EQ(ViewShows([&](const Pixels& v) {
              const int x = kMargin + (v.Width() - Width(text)) / 2;
              return Same(v, Pixels::Render(v.Width(), v.Height(), [&](HDC dc) { Draw(dc, x, 1, text, kSung); }),
                          "centred block");
            }),
            "");
  RECT strip{}, view{};
  ASSERT_TRUE(GetWindowRect(Info(), &strip) && GetWindowRect(View(), &view));
  EXPECT_GE(view.top, strip.bottom);
  Quit();

  Set("FontHeight", "0");
  Set("OnlyOver", "0");
  Start();
  EXPECT_EQ(ViewShows([&](const Pixels& v) {
              const auto ink = v.Columns(kSung, 0, v.Height());
              const int available = v.Width() - 2 * kMargin, width = ink.second - ink.first + 1;
              return ink.first >= 0 && width > available * 8 / 10 && width <= available ? "" : "not fitted";
            }),
            "");
}

}  // namespace
}  // namespace displayertest
