#include "lyrics/KaraokeLineSplit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestText.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsFormat.h"

namespace {

std::vector<std::string> Tags(const LyricsDocument& document, int i) {
  std::vector<std::string> out;
  for (const TimeTag& tag : document.Line(i).tags)
    out.push_back(std::to_string(tag.time) + ":" + std::to_string(tag.position) + tag.text.ToUtf8());
  return out;
}

using Strings = std::vector<std::string>;

TEST(FindLineBreak, PrefersSpacesThenPunctuationThenTheMiddle) {
  // A space one before the middle: b = 10 is tested first (text[9] is the space).
  EXPECT_EQ(FindLineBreak(W("abcdefghi jklmnopqrs"), false), 10);
  // Spaces are looked for within an eighth, punctuation within a quarter.
  EXPECT_EQ(FindLineBreak(W("abcdefghijklm nopqrstuvwxyzABCDEFGHIJ"), false), 14);
  EXPECT_EQ(FindLineBreak(W("abcdefghijklmnopq,rstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"), false), 18);
  EXPECT_EQ(FindLineBreak(W("a b cdefghijklmnopqrstuvwxyzABCDEF"), false), 17);
  EXPECT_EQ(FindLineBreak(W("abcdefghijklmnopqrst"), false), 10);
  // ")" is punctuation only outside Japanese mode; "、" only inside.
  EXPECT_EQ(FindLineBreak(W("あいうえお)かきくけこさしすせそたちつてと"), false), 6);
  EXPECT_EQ(FindLineBreak(W("あいうえお)かきくけこさしすせそたちつてと"), true), 10);
  EXPECT_EQ(FindLineBreak(W("あいうえお、かきくけこさしすせそたちつてと"), true), 6);
  EXPECT_EQ(FindLineBreak(W("ab　cdefghij"), true), 3);  // ideographic space
  EXPECT_EQ(FindLineBreak(W("ab　cdefghij"), false), 5);
}

TEST(FindLineBreak, JapaneseCutsAtAChangeOfScript) {
  // Hiragana, then katakana from the middle.
  EXPECT_EQ(FindLineBreak(W("あいうえおかきくけこアイウエオカキクケコ"), true), 10);
  EXPECT_EQ(FindLineBreak(W("あいうえおかきくけこアイウエオカキクケコ"), false), 10);
  EXPECT_EQ(FindLineBreak(W("漢字漢字漢字漢字かなかなかなかな"), false), 8);
  // Hiragana then kanji is a break (kanji then hiragana is not).
  EXPECT_EQ(FindLineBreak(W("漢字漢字漢かなかなかな漢字漢字漢字"), true), 11);
  EXPECT_EQ(FindLineBreak(W("漢字漢字漢かなかなかな漢字漢字漢字"), false), 8);
  // After the small tsu there is no break; the particle wo always ends a phrase.
  EXPECT_EQ(FindLineBreak(W("漢字漢字漢字漢っ字漢字漢字漢字漢字"), true), 8);
  EXPECT_EQ(FindLineBreak(W("漢字漢字漢字漢を字漢字漢字漢字漢字"), true), 8);
  // Latin letters and digits start a phrase.
  EXPECT_EQ(FindLineBreak(W("漢字漢字漢字漢字漢ABC漢字漢字漢字"), true), 9);
  EXPECT_EQ(FindLineBreak(W("漢字漢字漢字漢字漢１２漢字漢字漢字漢"), true), 9);
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

TEST(SplitLongLine, InterpolatesAStampAtTheCut) {
  LyricsDocument document;
  // Stamps at 10 s and 20 s at positions 0 and 10, cut at 4: 14 s at the cut.
  ParseLyricsText(document, W("[00:10]abc defghi[00:20]\nnext"));
  ASSERT_EQ(SplitLongLine(document, 0, W("ENU")), 1);
  ASSERT_EQ(document.LineCount(), 3);
  EXPECT_EQ(document.LineText(0).ToUtf8() + "|" + document.LineText(1).ToUtf8() + "|" + document.LineText(2).ToUtf8(),
            "abc |defghi|next");
  EXPECT_EQ(Tags(document, 0), (Strings{"10000:0[00:10]", "14000:4[00:14:00]"}));
  EXPECT_EQ(Tags(document, 1), (Strings{"14000:0[00:14:00]", "20000:6[00:20]"}));
}

TEST(SplitLongLine, AStampAtTheCutBelongsToBothHalves) {
  LyricsDocument document;
  for (const auto& [text, second] : {std::pair<const char*, const char*>{"[00:01]abcde[00:02][00:03]fghij[00:04]", "3000:0[00:03]"},
                                     {"[00:01]abcde[00:02]fghij[00:04]", "2000:0[00:02]"}}) {
    ParseLyricsText(document, W(text));
    ASSERT_EQ(SplitLongLine(document, 0, W("")), 1);
    EXPECT_EQ(Tags(document, 0), (Strings{"1000:0[00:01]", "2000:5[00:02]"}));
    EXPECT_EQ(Tags(document, 1), (Strings{second, "4000:5[00:04]"}));
  }
}

TEST(SplitLongLine, LineSungAtOnceIsDividedInProportion) {
  LyricsDocument document;
  document.MutableLines() = {{W("abcdefghij"), {TimeTag(10000, 0, W("[00:10]")), TimeTag(10000, 10),
                                                TimeTag(20000, 10)}}};
  document.ComputeTagStatus();
  ASSERT_EQ(SplitLongLine(document, 0, W("")), 1);
  EXPECT_EQ(Tags(document, 0), (Strings{"10000:0[00:10]", "10000:5[00:10:00]", "15000:5[00:15:00]"}));
  EXPECT_EQ(Tags(document, 1), (Strings{"15000:0[00:15:00]", "15000:5[00:15:00]", "20000:5"}));
}

TEST(SplitLongLine, LeavesLinesItCannotDivide) {
  LyricsDocument document;
  for (const char* text : {"[00:01]abcdefghij",       // no end stamp
                           "abcdefgh[00:01]ij[00:02]",  // first stamp after the cut
                           "abcdefghij",               // no stamps
                           "[00:01]a[00:02]",          // too short
                           "@title=a long header line"}) {
    ParseLyricsText(document, W(text));
    EXPECT_EQ(SplitLongLine(document, 0, W("jpn")), 0) << text;
    EXPECT_EQ(document.LineCount(), 1) << text;
  }
  ParseLyricsText(document, W("[00:01]ab[00:02]"));
  EXPECT_EQ(SplitLongLine(document, 1, W("")), 0);
  EXPECT_EQ(SplitLongLine(document, -1, W("")), 0);
  EXPECT_EQ(SplitLongLine(document, 0, W("")), 1);
}

TEST(SplitLongLine, InterpolationOfLongSpansDoesNotOverflow) {
  LyricsDocument document;
  document.MutableLines() = {{W("abcdefghij"), {TimeTag(0, 0, W("[00:00]")), TimeTag(2000000000, 10)}}};
  document.ComputeTagStatus();
  ASSERT_EQ(SplitLongLine(document, 0, W("")), 1);
  EXPECT_EQ(document.Line(0).tags.back().time, 1000000000);
}

}  // namespace
