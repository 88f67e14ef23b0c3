// What the Displayer shows about the song itself: its tags as lines when it has no
// lyrics, and the info strip's text from InfoFormat, or the file's name when every
// placeholder of the format is empty.

#include "DisplayerHarness.h"
#include "sources/TagBuilders.h"

namespace displayertest {
namespace {

// An MP3 file that is only an ID3v2.3 tag of text frames in encoding 0 (the clock is
// the test's: no audio is read).
std::string TaggedMp3(const std::vector<std::pair<const char*, std::string>>& frames) {
  std::string body;
  for (const auto& [id, text] : frames) body += tagbuild::Frame(3, id, tagbuild::Text(0, text));
  return tagbuild::Tag(3, body);
}

class SongInformationTest : public DisplayerTest {
 protected:
  void SetUp() override {
    UsePixelSettings();
    Set("InfoWindow", "1");
  }
  // The strip's text in the info colour at the margin, centred vertically.
  std::string StripShows(const WString& text) {
    return Shows([&] { return Info(); }, [&](const Pixels& strip) {
      const int y = (strip.Height() - TextHeight()) / 2;
      return Same(strip, Pixels::Render(strip.Width(), strip.Height(), [&](HDC dc) {
                    Draw(dc, kMargin, y, text, kInfo);
                  }),
                  "strip");
    });
  }
};

TEST_F(SongInformationTest, TagsAreShownAsLinesAndTheStripFollowsInfoFormat) {
  WriteFileBytes(Path("tagged.mp3"),
                 TaggedMp3({{"TIT2", "[00:45] Song Title"}, {"TPE1", "Some Band"}, {"TALB", "An Album"}}));
  PlayAndStart({Path("tagged.mp3"), Path("plain song.wav")});

  // "%1 / %2": artist and title.
  EXPECT_EQ(StripShows(W("Some Band / [00:45] Song Title")), "");
  // No lyrics: the tags as untimed lines, each "label : value", in the sung colour;
  // a stamp in a tag is text.
  const std::vector<WString> lines{W("Title : [00:45] Song Title"), W("Artist : Some Band"), W("Album : An Album")};
  EXPECT_EQ(ViewShows([&](const Pixels& v) { return Same(v, RenderLines(v, lines, 0, kSung), "information lines"); }),
            "");

  // A song without tags: every placeholder is empty, so the strip names the file,
  // and the view has nothing to show.
  Player().Next();
  EXPECT_EQ(StripShows(W("plain song")), "");
  // The strip changes in the same step, after the song's lyrics were replaced: from
  // then on a blank view is the new song's, not an old picture caught half-painted.
  EXPECT_EQ(ViewShows(Blank), "");
}

}  // namespace
}  // namespace displayertest
