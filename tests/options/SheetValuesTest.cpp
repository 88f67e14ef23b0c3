#include "options/core/SheetValues.h"

#include <gtest/gtest.h>

#include "TestText.h"

namespace {

TEST(SheetValues, NumbersAsTheBoxesReadThem) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {{"19", 19},        {"  -250", -250},   {"+7px", 7},         {"abc", 0},  {"", 0},
               {"- 5", 0},        {"123456789", 12345678},  // only eight characters count
               {"-99999999", -9999999}, {"１２", 0}};  // full-width digits are no number
  for (const auto& c : cases) EXPECT_EQ(ParseSheetNumber(W(c.text)), c.value) << c.text;
}

TEST(SheetValues, FontSizesInPointsAtTheScreensDpi) {
  const struct {
    int32_t fontSize, dpi, points, storedAgain;
  } cases[] = {
      {-25, 96, 19, -25}, {-25, 120, 15, -25}, {-16, 96, 12, -16}, {-20, 120, 12, -20},
      {0, 96, 0, 0},      // 0 points: the font's default height
      {-13, 96, 10, -13},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FontSizeToPoints(c.fontSize, c.dpi), c.points) << c.fontSize << " at " << c.dpi;
    EXPECT_EQ(PointsToFontSize(c.points, c.dpi), c.storedAgain) << c.points << " at " << c.dpi;
  }
  // Whatever was typed, the font height stays one a font can have.
  EXPECT_EQ(PointsToFontSize(99999999, 96), -1332);
  EXPECT_EQ(PointsToFontSize(-5, 96), 0);
  EXPECT_EQ(FontSizeToPoints(INT32_MIN, 0), INT32_MAX);
}

TEST(SheetValues, TypedValuesStayWithinWhatTheWindowsAccept) {
  EXPECT_EQ(LyricsHeightShown(-85), 85);
  EXPECT_EQ(LyricsHeightShown(INT32_MIN), INT32_MAX);
  const struct {
    int32_t (*store)(int32_t);
    int32_t typed, stored;
  } cases[] = {
      {LyricsHeightStored, 90, -90},  {LyricsHeightStored, 0, -8},    {LyricsHeightStored, -50, -8},
      {LyricsHeightStored, 5000, -999}, {SpaceBetLinesStored, -3, 0}, {SpaceBetLinesStored, 4, 4},
      {SpaceBetLinesStored, 99999999, 999}, {SyncStored, -250, -250}, {SyncStored, -99999999, -9999},
  };
  for (const auto& c : cases) EXPECT_EQ(c.store(c.typed), c.stored) << c.typed;
}

TEST(SheetValues, AnsiCopiesNeverSplitACharacter) {
  char buffer[6];
  CopyAnsiText(W("ab"), buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "ab");
  CopyAnsiText(W("abcdefgh"), buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "abcde");
  CopyAnsiText(W("a歌詞"), buffer, sizeof buffer);  // 1 + 2 + 2 bytes fit five
  EXPECT_EQ(WString::FromAnsi(buffer), W("a歌詞"));
  CopyAnsiText(W("ab歌詞"), buffer, sizeof buffer);  // the second pair would need a sixth byte
  EXPECT_EQ(WString::FromAnsi(buffer), W("ab歌"));
}

}  // namespace
