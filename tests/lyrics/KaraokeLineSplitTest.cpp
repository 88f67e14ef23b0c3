#include "lyrics/KaraokeLineSplit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestText.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsFormat.h"

namespace {


TEST(FindLineBreak, PrefersSpacesPunctuationAndChangesOfScriptToTheMiddle) {
  const struct {
    const char* text;
    bool japanese;
    int at;
  } cases[] = {
      // A space one before the middle: b = 10 is tested first (text[9] is the space).
      {"abcdefghi jklmnopqrs", false, 10},
      // Spaces are looked for within an eighth, punctuation within a quarter.
      {"abcdefghijklm nopqrstuvwxyzABCDEFGHIJ", false, 14},
      {"abcdefghijklmnopq,rstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", false, 18},
      {"a b cdefghijklmnopqrstuvwxyzABCDEF", false, 17}, {"abcdefghijklmnopqrst", false, 10},
      // ")" is punctuation only outside Japanese mode; "、" and the ideographic space only inside.
      {"あいうえお)かきくけこさしすせそたちつてと", false, 6}, {"あいうえお)かきくけこさしすせそたちつてと", true, 10},
      {"あいうえお、かきくけこさしすせそたちつてと", true, 6}, {"ab　cdefghij", true, 3}, {"ab　cdefghij", false, 5},
      // Japanese cuts at a change of script: hiragana to katakana (in the middle here
      // anyway), hiragana to kanji but not kanji to hiragana.
      {"あいうえおかきくけこアイウエオカキクケコ", true, 10}, {"あいうえおかきくけこアイウエオカキクケコ", false, 10},
      {"漢字漢字漢字漢字かなかなかなかな", false, 8},
      {"漢字漢字漢かなかなかな漢字漢字漢字", true, 11}, {"漢字漢字漢かなかなかな漢字漢字漢字", false, 8},
      // After the small tsu there is no break; the particle wo always ends a phrase;
      // Latin letters and digits start one.
      {"漢字漢字漢字漢っ字漢字漢字漢字漢字", true, 8}, {"漢字漢字漢字漢を字漢字漢字漢字漢字", true, 8},
      {"漢字漢字漢字漢字漢ABC漢字漢字漢字", true, 9}, {"漢字漢字漢字漢字漢１２漢字漢字漢字漢", true, 9},
  };
  for (const auto& c : cases) EXPECT_EQ(FindLineBreak(W(c.text), c.japanese), c.at) << c.text << " " << c.japanese;
}

TEST(SplitLongLine, JapaneseModeIgnoresAsciiCase) {
  LyricsDocument document;
  // Japanese cuts at the change of script, anything else in the middle.
  for (const auto& [language, japanese] : std::initializer_list<std::pair<const char*, bool>>{
           {"JPN", true}, {"jpn", true}, {"Japan", true}, {"JAPAN", true}, {"", false}, {"ja", false},
           {"jpn ", false}, {"japanese", false}, {"ENU", false}}) {
    ParseLyricsText(document, W("[00:01]あいうえおかきアイウエオカキクケコサシスセ[00:09]"));
    ASSERT_EQ(SplitLongLine(document, 0, W(language)), 1) << language;
    EXPECT_EQ(document.LineText(0).ToUtf8(), japanese ? "あいうえおかき" : "あいうえおかきアイウ") << language;
  }
}

// The document's text after its first line is split, and what the split answered.
TEST(SplitLongLine, CutsTheStampsWithTheText) {
  const struct {
    const char* text;
    int answer;
    const char* after;
  } cases[] = {
      // Stamps at 10 s and 20 s at positions 0 and 10, cut after the space at 4: 14 s there.
      {"[00:10]abc defghi[00:20]\r\nnext", 1, "[00:10]abc [00:14:00]\r\n[00:14:00]defghi[00:20]\r\nnext"},
      // A stamp at the cut belongs to both halves.
      {"[00:01]abcde[00:02][00:03]fghij[00:04]", 1, "[00:01]abcde[00:02]\r\n[00:03]fghij[00:04]"},
      {"[00:01]abcde[00:02]fghij[00:04]", 1, "[00:01]abcde[00:02]\r\n[00:02]fghij[00:04]"},
      // A line sung at once is divided in proportion, and long spans do not overflow.
      {"[00:10]abcdefghij[00:10:00][00:20:00]", 1,
       "[00:10]abcde[00:10:00][00:15:00]\r\n[00:15:00]fghij[00:15:00][00:20:00]"},
      {"[00:00]abcdefghij[33333:20]", 1, "[00:00]abcde[16666:40:00]\r\n[16666:40:00]fghij[33333:20]"},
      {"[00:01]ab[00:02]", 1, "[00:01]a[00:01:50]\r\n[00:01:50]b[00:02]"},
      // Left alone: no end stamp, the first stamp after the cut, no stamps, too short, a header.
      {"[00:01]abcdefghij", 0, "[00:01]abcdefghij"},
      {"abcdefgh[00:01]ij[00:02]", 0, "abcdefgh[00:01]ij[00:02]"},
      {"abcdefghij", 0, "abcdefghij"},
      {"[00:01]a[00:02]", 0, "[00:01]a[00:02]"},
      {"@title=a long header line", 0, "@title=a long header line"},
  };
  LyricsDocument document;
  for (const auto& c : cases) {
    ParseLyricsText(document, W(c.text));
    EXPECT_EQ(SplitLongLine(document, 0, W("")), c.answer) << c.text;
    EXPECT_EQ(LyricsFileText(document).ToUtf8(), c.after) << c.text;
  }
  ParseLyricsText(document, W("[00:01]ab[00:02]"));
  EXPECT_EQ(SplitLongLine(document, 1, W("")) + SplitLongLine(document, -1, W("")), 0);
}

}  // namespace
