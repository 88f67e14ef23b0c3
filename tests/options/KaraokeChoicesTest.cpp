#include "options/core/KaraokeChoices.h"

#include <gtest/gtest.h>

namespace {

TEST(KaraokeChoices, DisplayModesSelectedAndStored) {
  const std::vector<DisplayMode> modes = UsableDisplayModes(
      {{640, 480, 8}, {800, 600, 16}, {1024, 768, 32}, {1024, 768, 24}, {640, 480, 15}, {1280, 1024, 32}});
  ASSERT_EQ(modes, (std::vector<DisplayMode>{{800, 600, 16}, {1024, 768, 32}, {1024, 768, 24}, {1280, 1024, 32}}));

  const struct {
    DisplayMode saved;
    int entry;
    DisplayMode stored;
  } cases[] = {
      {{0, 768, 32}, 0, {0, 0, 0}},          // Width 0 keeps the mode whatever else is saved
      {{1024, 768, 24}, 3, {1024, 768, 24}},
      {{800, 600, 16}, 1, {800, 600, 16}},
      {{1024, 768, 16}, 0, {0, 0, 0}},       // not offered by this display
      {{640, 480, 8}, 0, {0, 0, 0}},         // offered, but not a depth the screen draws in
  };
  for (const auto& c : cases) {
    const int entry = SelectedModeEntry(modes, c.saved.width, c.saved.height, c.saved.bitsPerPixel);
    EXPECT_EQ(entry, c.entry) << c.saved.width << "x" << c.saved.height << "x" << c.saved.bitsPerPixel;
    EXPECT_EQ(ModeOfEntry(modes, entry), c.stored);
  }
  EXPECT_EQ(ModeOfEntry(modes, 5), DisplayMode{});
  EXPECT_EQ(ModeOfEntry(modes, -1), DisplayMode{});
  EXPECT_EQ(SelectedModeEntry({}, 800, 600, 16), 0);  // no DirectDraw: only "keep"
}

TEST(KaraokeChoices, TrueTypeFacesOnceEachAndSorted) {
  const std::vector<FontFamily> faces = TrueTypeFaces({
      {"Tahoma", 400, true},
      {"Tahoma", 700, true},  // the same family under another character set
      {"System", 700, false},
      {"\x82\x6c\x82\x72 \x96\xbe\x92\xa9", 400, true},  // a Shift-JIS name sorts after ASCII
      {"Arial", 400, true},
      {"Tahoma", 300, true},
      {"", 400, true},
  });
  ASSERT_EQ(faces.size(), 3u);
  EXPECT_EQ(faces[0].face, "Arial");
  EXPECT_EQ(faces[1].face, "Tahoma");
  EXPECT_EQ(faces[1].weight, 400);  // the first one enumerated
  EXPECT_EQ(faces[2].face, "\x82\x6c\x82\x72 \x96\xbe\x92\xa9");
  EXPECT_EQ(FaceEntry(faces, "Tahoma"), 1);
  EXPECT_EQ(FaceEntry(faces, "System"), -1);
}

}  // namespace
