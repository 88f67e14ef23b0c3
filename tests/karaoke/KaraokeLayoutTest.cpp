#include "karaoke/core/KaraokeLayout.h"

#include <gtest/gtest.h>

#include <tuple>

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
  const OutlinedFont& lyrics = layout.lyrics;
  EXPECT_EQ(std::make_tuple(lyrics.height, lyrics.edge, lyrics.lineBox, lyrics.band, lyrics.BoxTopInBand()),
            std::make_tuple(-85, 4, 93, 102, 51 - 46));
  // Song information: 64 px, edge 3, box 70, band 76 (76.8 truncated), strip 152.
  const OutlinedFont& info = layout.info;
  EXPECT_EQ(std::make_tuple(info.edge, info.lineBox, layout.infoStrip.bottom, layout.InfoTextTop(0),
                            layout.InfoTextTop(1)),
            std::make_tuple(3, 70, 152, 38 - 35, 114 - 35));
  EXPECT_EQ(layout.margin, 32);
  EXPECT_EQ(layout.rows[0], (KRect{0, 1024 - 128 - 102, 1280, 1024 - 128}));
  EXPECT_EQ(layout.rows[1], (KRect{0, 1024 - 128 - 204, 1280, 1024 - 128 - 102}));
  // Row 0 centred at 844 (66 %), row 1 at 422 (33 %), both kept inside the margins.
  EXPECT_EQ(std::make_tuple(layout.RowX(0, 400), layout.RowX(1, 400), layout.RowX(0, 1200), layout.RowX(1, 1300)),
            std::make_tuple(644, 222, 1248 - 1200, 32));
  // Half the width: 85 × 640 ÷ 1280 = 42 (toward zero), band 102 ÷ 2.
  const KaraokeLayout half = ComputeKaraokeLayout(settings, 640, 480);
  EXPECT_EQ(std::make_tuple(half.lyrics.height, half.lyrics.edge, half.lyrics.band), std::make_tuple(-42, 2, 51));
}

TEST(KaraokeLayout, AnyIniValueGivesSurfacesThatFitTheScreen) {
  MemoryIniFile ini;
  KaraokeSettings settings(ini);
  settings.lyricsHeight = 0;  // would give rows of no height: the screen would never open
  KaraokeLayout layout = ComputeKaraokeLayout(settings, 1280, 1024);
  EXPECT_EQ(std::make_pair(layout.lyrics.height, layout.lyrics.band),
            std::make_pair(-kMinFontPixels, kMinFontPixels + 4));
  for (int32_t extreme : {INT32_MIN, INT32_MAX}) {
    settings.lyricsHeight = settings.musicInfoHeight = settings.margin = settings.lyricsBottom = extreme;
    settings.edge = settings.edgeMin = extreme;
    layout = ComputeKaraokeLayout(settings, 1920, 1080);
    EXPECT_TRUE(layout.lyrics.band <= 540 && layout.rows[1].top >= 0 && layout.infoStrip.bottom <= 1080) << extreme;
    EXPECT_TRUE(layout.margin >= 0 && layout.margin <= 960) << extreme;
  }
}

// Every character 10 pixels wide.
struct TenPixels : TextMeasure {
  int32_t PrefixWidth(const WString& text, int32_t n) override {
    return 10 * std::min<int32_t>(n, int32_t(text.Length()));
  }
};

TEST(KaraokeLyrics, LongLinesAreCutUntilTheyFitAndUntimedLyricsGo) {
  MemoryIniFile ini;
  const KaraokeLayout layout = ComputeKaraokeLayout(KaraokeSettings(ini), 320, 240);  // 304 px between margins, edge 2
  TenPixels measure;
  LyricsTimeline timeline;
  // 34 characters and their edges need 344 px and are cut in the middle; 30 need
  // exactly the 304 px and stay whole.
  const std::string text = "[00:01:00]abcdefghijklmnopqrstuvwxyzabcdefgh\n[00:09:00]" + std::string(30, 'x');
  timeline.ParseText(W(text.c_str()));
  EXPECT_TRUE(PrepareKaraokeLyrics(timeline, layout, measure, W("JPN")));
  ASSERT_EQ(timeline.DisplayLineCount(), 3);
  // Sung at once from 1 s to 9 s, the line is halved in time too.
  EXPECT_EQ(std::make_tuple(timeline.DisplayLineText(0), timeline.DisplayLineTime(1),
                            timeline.DisplayLineText(2).Length()),
            std::make_tuple(W("abcdefghijklmnopq"), 5000, size_t(30)));
  timeline.ParseText(W("no stamps\nat all\n"));
  EXPECT_FALSE(PrepareKaraokeLyrics(timeline, layout, measure, W("JPN")));
  EXPECT_EQ(timeline.DisplayLineCount(), 0);
}

}  // namespace
