#include "karaoke/core/KaraokeLayout.h"

#include <gtest/gtest.h>

#include "TestText.h"
#include "karaoke/core/KaraokeLyrics.h"
#include "settings/KaraokeSettings.h"
#include "settings/MemoryIniFile.h"

namespace {

TEST(KaraokeLayout, DefaultsOnAScreen1280Wide) {
  MemoryIniFile ini;
  KaraokeSettings settings(ini);
  const KaraokeLayout layout = ComputeKaraokeLayout(settings, 1280, 1024);
  // Lyrics: 85 px, edge 5 % = 4, box 93, band |(60 × -85 × 2 ÷ 100)| = 102.
  EXPECT_EQ(layout.lyrics.height, -85);
  EXPECT_EQ(layout.lyrics.edge, 4);
  EXPECT_EQ(layout.lyrics.lineBox, 93);
  EXPECT_EQ(layout.lyrics.band, 102);
  EXPECT_EQ(layout.lyrics.BoxTopInBand(), 51 - 46);
  // Song information: 64 px, edge 3, box 70, band 76 (76.8 truncated), strip 152.
  EXPECT_EQ(layout.info.edge, 3);
  EXPECT_EQ(layout.info.lineBox, 70);
  EXPECT_EQ(layout.infoStrip, (KRect{0, 0, 1280, 152}));
  EXPECT_EQ(layout.InfoTextTop(0), 38 - 35);
  EXPECT_EQ(layout.InfoTextTop(1), 114 - 35);
  EXPECT_EQ(layout.margin, 32);
  EXPECT_EQ(layout.rows[0], (KRect{0, 1024 - 128 - 102, 1280, 1024 - 128}));
  EXPECT_EQ(layout.rows[1], (KRect{0, 1024 - 128 - 204, 1280, 1024 - 128 - 102}));
  // Row 0 centred at 844 (66 %), row 1 at 422 (33 %), both kept inside the margins.
  EXPECT_EQ(layout.RowX(0, 400), 644);
  EXPECT_EQ(layout.RowX(1, 400), 222);
  EXPECT_EQ(layout.RowX(0, 1200), 1248 - 1200);
  EXPECT_EQ(layout.RowX(1, 1300), 32);
  // Half the width: 85 × 640 ÷ 1280 = 42 (toward zero), band 102 ÷ 2.
  const KaraokeLayout half = ComputeKaraokeLayout(settings, 640, 480);
  EXPECT_EQ(half.lyrics.height, -42);
  EXPECT_EQ(half.lyrics.edge, 2);
  EXPECT_EQ(half.lyrics.band, 51);
}

TEST(KaraokeLayout, AnyIniValueGivesSurfacesThatFitTheScreen) {
  MemoryIniFile ini;
  KaraokeSettings settings(ini);
  settings.lyricsHeight = 0;  // would give rows of no height: the screen would never open
  KaraokeLayout layout = ComputeKaraokeLayout(settings, 1280, 1024);
  EXPECT_EQ(layout.lyrics.height, -kMinFontPixels);
  EXPECT_EQ(layout.lyrics.band, kMinFontPixels + 2 * 2);
  for (int32_t extreme : {INT32_MIN, INT32_MAX}) {
    settings.lyricsHeight = settings.musicInfoHeight = settings.margin = settings.lyricsBottom = extreme;
    settings.edge = settings.edgeMin = extreme;
    layout = ComputeKaraokeLayout(settings, 1920, 1080);
    EXPECT_LE(layout.lyrics.band, 540);
    EXPECT_GE(layout.rows[1].top, 0);
    EXPECT_GE(layout.margin, 0);
    EXPECT_LE(layout.margin, 960);
    EXPECT_LE(layout.infoStrip.bottom, 1080);
  }
}

// Every character 10 pixels wide.
class TenPixels : public TextMeasure {
 public:
  int32_t PrefixWidth(const WString& text, int32_t n) override {
    return 10 * std::min<int32_t>(n, int32_t(text.Length()));
  }
};

TEST(KaraokeLyrics, LongLinesAreCutUntilTheyFitAndUntimedLyricsGo) {
  MemoryIniFile ini;
  KaraokeSettings settings(ini);
  const KaraokeLayout layout = ComputeKaraokeLayout(settings, 320, 240);  // 304 px between margins, edge 2
  TenPixels measure;
  LyricsTimeline timeline;
  // 34 characters and their edges need 344 px and are cut in the middle; 30 need
  // exactly the 304 px and stay whole.
  const std::string text = "[00:01:00]abcdefghijklmnopqrstuvwxyzabcdefgh\n[00:09:00]" + std::string(30, 'x');
  timeline.ParseText(W(text.c_str()));
  EXPECT_TRUE(PrepareKaraokeLyrics(timeline, layout, measure, W("JPN")));
  ASSERT_EQ(timeline.DisplayLineCount(), 3);
  EXPECT_EQ(timeline.DisplayLineText(0), W("abcdefghijklmnopq"));
  EXPECT_EQ(timeline.DisplayLineTime(1), 5000);  // sung at once from 1 s to 9 s: halved
  EXPECT_EQ(timeline.DisplayLineText(2).Length(), 30u);

  timeline.ParseText(W("no stamps\nat all\n"));
  EXPECT_FALSE(PrepareKaraokeLyrics(timeline, layout, measure, W("JPN")));
  EXPECT_EQ(timeline.DisplayLineCount(), 0);
}

}  // namespace
