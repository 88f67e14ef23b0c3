#include "lyrics/LyricsFormat.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "TestText.h"
#include "base/FileSystem.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsTimeline.h"

namespace {

// Hands a fixed text to the document, or nothing.
class FixedReader : public LyricsSourceReader {
 public:
  explicit FixedReader(const char* utf8, bool gives = true) : text_(W(utf8)), gives_(gives) {}
  bool ReadLyricsText(const WString&, WString& text) const override {
    if (gives_) text = text_;
    return gives_;
  }

 private:
  WString text_;
  bool gives_;
};

std::set<std::string> FolderNames(const TempDir& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) names.insert(entry.path().filename().u8string());
  return names;
}

TEST(ParseHeaderLine, SplitsAtTheFirstEqualsSign) {
  struct Case {
    const char* line;
    bool header;
    const char* key;
    const char* value;
  } cases[] = {
      {"@Title = My Song ", true, "title", "My Song"},
      {"@bgfile=", true, "bgfile", ""},
      {"@=x", true, "", "x"},
      {"@title x", true, "title x", ""},
      {"@a=b = C=", true, "a", "b = C="},
      {"@ TI\tTLE =\tv", true, "ti\ttle", "\tv"},  // only spaces are trimmed
      {"@ＴＩＴＬＥ=x", true, "ＴＩＴＬＥ", "x"},     // only A-Z are lowered
      {"@", true, "", ""},
      {"", false, "", ""},
      {" @title=x", false, "", ""},
      {"title=x", false, "", ""},
  };
  for (const Case& c : cases) {
    WString key = W("stale"), value = W("stale");
    const bool header = ParseHeaderLine(W(c.line), key, value);
    EXPECT_EQ(header ? key.ToUtf8() + "|" + value.ToUtf8() : "no header", c.header ? std::string(c.key) + "|" + c.value : "no header") << c.line;
  }
}

TEST(ApplyHeaderFields, FillsTheSevenFieldsLastLineWins) {
  LyricsDocument document;
  ParseLyricsText(document, W("@artist=old\n@bgfile=C:\\old.jpg\n[00:01]x\nmore"));  // each parse starts afresh
  ParseLyricsText(document, W("@TITLE=first\n@title=second\n@album=B\n@Words=W\n@music=M\n"
                              "@title x\n@unknown=z\n[00:01]lyrics"));
  EXPECT_EQ(document.Title().ToUtf8() + "|" + document.Artist().ToUtf8() + "|" + document.Album().ToUtf8() + "|" +
                document.Words().ToUtf8() + "|" + document.Music().ToUtf8() + "|" + document.BgFile().ToUtf8(),
            "second||B|W|M|");
  EXPECT_EQ(document.Status(), StatusTimed);
  EXPECT_EQ(document.LineCount(), 8);
}

TEST(ApplyHeaderFields, BackgroundPathsResolveAgainstTheSourceFolder) {
  TempDir dir;
  const std::string folder = dir.Wide().ToUtf8() + std::string(1, char(std::filesystem::path::preferred_separator));
  struct Case {
    const char* header;
    std::string bgFile, bgFolder;
  } cases[] = {
      {"@bgfile=C:\\pics\\a.jpg", "C:\\pics\\a.jpg", ""},
      {"@bgfile=pics\\a.jpg", folder + "pics\\a.jpg", ""},
      {"@bgfile=\\pics\\a.jpg", folder + "\\pics\\a.jpg", ""},  // only drive paths are absolute
      {"@bgfile=a.j", "", ""},                                   // too short to name a picture
      {"@bgfolder=D:\\pics", "", "D:\\pics"},
      {"@bgfolder=pics", "", folder + "pics"},
      {"@bgfolder=D:\\", "", folder + "D:\\"},  // three characters are always relative
      {"@bgfolder=", "", ""},
  };
  for (const Case& c : cases) {
    LyricsDocument document;
    document.LoadLyricsSource(dir.Wide("song.txt"), FixedReader(c.header));
    EXPECT_EQ(document.BgFile().ToUtf8() + "|" + document.BgFolder().ToUtf8(), c.bgFile + "|" + c.bgFolder) << c.header;
  }
}

TEST(ApplyHeaderFields, DefaultsComeFromFilesBesideTheLyrics) {
  TempDir dir;
  WriteFileBytes(dir.Path() / "song.bmp", "b");
  WriteFileBytes(dir.Path() / "song.jpg", "j");
  std::filesystem::create_directory(dir.Path() / "song");
  auto load = [&](const char* name, const char* text) {
    LyricsDocument document;
    document.LoadLyricsSource(dir.Wide(name), FixedReader(text));
    const std::string folder = dir.Wide().ToUtf8();
    std::string found = document.BgFile().ToUtf8() + "|" + document.BgFolder().ToUtf8();
    for (size_t at; (at = found.find(folder)) != std::string::npos;) found.replace(at, folder.size() + 1, "");
    return found;
  };
  EXPECT_EQ(load("song.txt", "@bgfile=a.j\nx"), "song.jpg|song");  // jpeg, then jpg, then bmp
  WriteFileBytes(dir.Path() / "song.jpeg", "j");
  EXPECT_EQ(load("song.txt", "x"), "song.jpeg|song");
  // A header value wins over the defaults; nothing beside other lyrics.
  EXPECT_EQ(load("song.txt", "@bgfile=C:\\x.jpg\n@bgfolder=C:\\pics"), "C:\\x.jpg|C:\\pics");
  EXPECT_EQ(load("other.txt", "x"), "|");
}

TEST(LoadLyricsSource, FailureLeavesAnEmptyDocumentWithoutSource) {
  LyricsDocument document;
  ASSERT_EQ(document.LoadLyricsSource(W("a.txt"), FixedReader("@title=t\n[00:01]x")), 1);
  EXPECT_EQ(document.SourcePath().ToUtf8(), "a.txt");
  document.MarkModified();

  EXPECT_EQ(document.LoadLyricsSource(W("b.txt"), FixedReader("", false)), 0);
  EXPECT_EQ(document.LineCount() + document.Status() + document.ModificationCount(), 0u);
  EXPECT_TRUE(document.SourcePath().IsEmpty() && document.Title().IsEmpty());

  ASSERT_EQ(document.LoadLyricsSource(W("a.txt"), FixedReader("x")), 1);
  EXPECT_EQ(document.LoadLyricsSource(WString(), FixedReader("y")), 0);
  EXPECT_TRUE(document.LineCount() == 0 && document.SourcePath().IsEmpty());
}

// Whether a failed write keeps the old file is the file system's test.
TEST(SaveToSource, RefusesLyricsFromAnMp3AndPathsItCannotWrite) {
  TempDir dir;
  const std::string audio = "ID3 not lyrics";
  WriteFileBytes(dir.Path() / "song.MP3", audio);
  LyricsDocument document;
  document.LoadLyricsSource(dir.Wide("song.MP3"), FixedReader("[00:01]x"));
  document.MarkModified();
  EXPECT_EQ(document.SaveToSource(), 0);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "song.MP3"), audio);
  EXPECT_EQ(document.ModificationCount(), 1u);
  // A successful save, and its counter, are the Shift-JIS round trip's.
  document.SetSourcePath(WString());
  EXPECT_EQ(document.SaveToSource(), 0);
  EXPECT_EQ(SaveLyrics(document, dir.Wide("missing/out.txt")), 0);
  EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"song.MP3"}));
}

TEST(LyricsDocument, QueriesAnswerEmptyForInvalidIndices) {
  LyricsDocument document;
  EXPECT_EQ(document.Status(), StatusNone);
  ParseLyricsText(document, W("@title=t\n[00:05]b[00:01]a\n\n[00:01]c"));
  EXPECT_EQ(document.LineText(-1).ToUtf8() + document.LineText(4).ToUtf8() + document.TaggedLineText(9).ToUtf8(), "");
  EXPECT_EQ(document.TaggedLineText(1).ToUtf8(), "[00:05]b[00:01]a");
  EXPECT_EQ(document.TaggedLineText(0).ToUtf8(), "@title=t");
  EXPECT_EQ(document.FirstTagPosition(1) + document.FirstTagPosition(2), 0);
  EXPECT_TRUE(document.IsHeaderLine(0) && !document.IsHeaderLine(1) && !document.IsHeaderLine(7));
  EXPECT_TRUE(document.IsLineEmpty(2) && !document.IsLineEmpty(-1));

  TimeTag tag;
  EXPECT_EQ(document.NthTag(1, -1, tag), 1);  // the last
  EXPECT_EQ(tag.time * 10 + tag.position, 10001);
  EXPECT_EQ(document.NthTag(1, 2, tag) + document.NthTag(1, -2, tag) + document.NthTag(2, 0, tag), 0);

  // Equal times: the first met in line order wins, for both extremes; starting
  // from a line without stamps answers none and line -1.
  auto extreme = [&](bool latest, int line) {
    TimeTag found;
    if (!(latest ? document.LatestTag(line, found) : document.EarliestTag(line, found)))
      return "none " + std::to_string(line);
    return std::to_string(line) + " " + std::to_string(found.time) + ":" + std::to_string(found.position);
  };
  EXPECT_EQ(extreme(false, -1) + ", " + extreme(false, 3) + ", " + extreme(true, -1) + ", " + extreme(true, 2) +
                ", " + extreme(true, 17),
            "1 1000:1, 3 1000:0, 1 5000:0, none -1, none -1");
  ParseLyricsText(document, W("untimed"));
  int line = -1;
  EXPECT_EQ(document.EarliestTag(line, tag), 0);
}

TEST(LyricsDocument, TagStatusFollowsTheTags) {
  LyricsDocument document;
  struct Case {
    const char* text;
    int status;
  } cases[] = {
      {"a\nb", StatusUntimed},
      {"@title=[00:01]x", StatusUntimed},
      {"[00:01]a\nb", StatusTimed},
      {"[00:01][00:09]a", StatusTimed},
      {"[00:09]a[00:01]", StatusTimed | StatusKaraoke},
      {"[00:01]\n[00:01]a[00:02]b\n[00:05]", StatusTimed | StatusKaraoke},
  };
  for (const Case& c : cases) {
    ParseLyricsText(document, W(c.text));
    EXPECT_EQ(document.Status(), c.status) << c.text;
  }
}

}  // namespace
