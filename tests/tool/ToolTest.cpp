// Runs the built mrlyrics-tool as a user would and checks what it prints and how
// it exits. The fixtures are real lyrics files; Shift-JIS ones are committed as bytes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "TestText.h"
#include "sources/TagBuilders.h"

namespace {

struct ToolResult {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string Fixture(const char* name) {
  return std::string(MRLYRICS_TOOL_FIXTURES) + "/" + name;
}

class ToolTest : public ::testing::Test {
 protected:
  ToolResult Run(std::initializer_list<std::string> args) { return Run(std::vector<std::string>(args)); }

  ToolResult Run(const std::vector<std::string>& args) {
    const std::filesystem::path out = temp_.Path() / "stdout.txt", err = temp_.Path() / "stderr.txt";
    std::string command = Quote(MRLYRICS_TOOL_PATH);
    for (const std::string& arg : args) command += " " + Quote(arg);
    const int raw = std::system((command + " >" + Quote(out.string()) + " 2>" + Quote(err.string())).c_str());
    return ToolResult{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFileBytes(out), ReadFileBytes(err)};
  }

  // The tool succeeded and its output holds the piece; shows everything when not.
  static ::testing::AssertionResult Has(const ToolResult& r, const std::string& piece) {
    if (r.status == 0 && r.out.find(piece) != std::string::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no " << piece << " in (status " << r.status << ")\n" << r.out << r.err;
  }

  std::string TempFile(const char* name) const { return (temp_.Path() / name).string(); }

  TempDir temp_;
};

TEST_F(ToolTest, DumpDecodesShiftJisToUtf8Json) {
  // Both ソ and 表 have 0x5C ("\") as their second byte in Shift-JIS: a byte-wise
  // reading would show stray backslashes here.
  ToolResult r = Run({"dump", Fixture("sjis.txt")});
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "{\"status\":6,\n"
            " \"fields\":{\"title\":\"さくら道\",\"artist\":\"ソプラノ表現\",\"album\":\"\",\"words\":\"\","
            "\"music\":\"\",\"bgfile\":\"\",\"bgfolder\":\"\"},\n"
            " \"lines\":[\n"
            "  {\"text\":\"@title=さくら道\",\"header\":true,\"tags\":[]},\n"
            "  {\"text\":\"@artist=ソプラノ表現\",\"header\":true,\"tags\":[]},\n"
            "  {\"text\":\"さくら\",\"header\":false,\"tags\":[[1000,0,\"[00:01:00]\"],[1500,1,\"[00:01:50]\"],"
            "[2000,2,\"[00:02:00]\"],[3000,3,\"[00:03:00]\"]]},\n"
            "  {\"text\":\"春の道\",\"header\":false,\"tags\":[[4000,0,\"[00:04:00]\"],[5000,2,\"[00:05:00]\"],"
            "[6000,3,\"[00:06:00]\"]]}],\n"
            " \"display\":[\n"
            "  {\"line\":2,\"time\":1000,\"tags\":[[1000,0],[1500,1],[2000,2],[3000,3]]},\n"
            "  {\"line\":3,\"time\":4000,\"tags\":[[4000,0],[5000,2],[6000,3]]}]}\n");
  ToolResult hidden = Run({"dump", Fixture("chorus.txt"), "--hide-untagged"});
  EXPECT_TRUE(Has(hidden, "\"display\":[") && !Has(hidden, "\"time\":-1"));
  ASSERT_EQ(Run({"save", Fixture("sjis.txt"), TempFile("saved.txt")}).status, 0);
  EXPECT_EQ(ReadFileBytes(TempFile("saved.txt")), ReadFileBytes(Fixture("sjis.txt")));  // byte for byte
}

// A Japanese file name arrives as UTF-8 on the command line, and is taken as given:
// the background beside it is found under the same name.
TEST_F(ToolTest, CodePage65001ReadsAndSavesUtf8) {
  const std::string text = "[00:01:00]Grüße [00:02:00]日本\r\n@words=Zoë";
  const std::string file = TempFile("桜.txt"), out = TempFile("utf8-out.txt");
  WriteFileBytes(file, text);
  WriteFileBytes(TempFile("桜.jpg"), "not really a picture");
  ToolResult r = Run({"--codepage", "65001", "dump", file});
  EXPECT_TRUE(Has(r, "{\"text\":\"Grüße 日本\",\"header\":false,\"tags\":[[1000,0,\"[00:01:00]\"],[2000,6,\"[00:02:00]\"]]}"));
  EXPECT_TRUE(Has(r, "\"words\":\"Zoë\",\"music\":\"\",\"bgfile\":\"" + TempFile("桜.jpg") + "\""));
  ASSERT_EQ(Run({"save", file, out, "--codepage", "65001"}).status, 0);
  EXPECT_EQ(ReadFileBytes(out), text);
}

// Which line is current at each time is the timeline's test; here the answers in
// order, a jump back among them, and the untimed lyrics placed by --anchor.
TEST_F(ToolTest, AtAnswersEachTimeInTurn) {
  EXPECT_EQ(Run({"at", Fixture("chorus.txt"), "-5", "25000", "12000", "45000"}).out,
            "{\"t\":-5,\"line\":-1,\"tags\":[],\"prev\":null,\"next\":null}\n"
            "{\"t\":25000,\"line\":3,\"tags\":[[20000,0],[20000,12],[30000,12]],\"prev\":[20000,12],\"next\":[30000,12]}\n"
            "{\"t\":12000,\"line\":1,\"tags\":[[10000,0],[10000,11],[20000,11]],\"prev\":[10000,11],\"next\":[20000,11]}\n"
            "{\"t\":45000,\"line\":7,\"tags\":[],\"prev\":null,\"next\":null}\n");
  const std::string file = TempFile("untimed.txt");
  WriteFileBytes(file, "one\r\ntwo\r\nthree\r\nfour");
  EXPECT_EQ(Run({"at", file, "5000"}).out + Run({"at", file, "50000", "--anchor", "0,0,100000"}).out,
            "{\"t\":5000,\"line\":-1,\"tags\":[],\"prev\":null,\"next\":null}\n"  // no song length
            "{\"t\":50000,\"line\":2,\"tags\":[],\"prev\":null,\"next\":null}\n");
}

TEST_F(ToolTest, EditAppliesEveryOperationInOrder) {
  ToolResult r = Run({"edit", Fixture("chorus.txt"), "shift:-6000", "add:3,1000,5", "removenth:2,-1", "reformat:short"});
  // Shifted 6 s, a stamp added at position 5 of line 3,
  // line 2's last stamp removed, every stamp written short.
  EXPECT_TRUE(Has(r, "{\"text\":\"after the chorus\",\"header\":false,\"tags\":[[1000,5,\"[00:01]\"]]}"));
  EXPECT_TRUE(Has(r, "  {\"line\":2,\"time\":4000,\"tags\":[[4000,0]]},\n"));
  r = Run({"edit", Fixture("sjis.txt"), "set:2,0,1200,1", "removeat:2,3,0", "add:1,0,0", "rescale:0,4000,1000,2000"});
  // The header line refuses the stamp; the rescale maps 1000..2000 onto 0..4000
  // and leaves stamps outside that range alone.
  EXPECT_TRUE(Has(r, "{\"text\":\"@artist=ソプラノ表現\",\"header\":true,\"tags\":[]}"));
  EXPECT_TRUE(Has(r, "{\"text\":\"さくら\",\"header\":false,\"tags\":[[0,0,\"[00:00:00]\"],"
                     "[800,1,\"[00:00:80]\"],[4000,2,\"[00:04:00]\"]]}"));
  ToolResult plain = Run({"edit", Fixture("sjis.txt"), "removekaraoke"});
  EXPECT_TRUE(Has(plain, "{\"text\":\"春の道\",\"header\":false,\"tags\":[[4000,0,\"[00:04:00]\"]]}") &&
              plain.out.rfind("{\"status\":2,", 0) == 0);
  // Each showing of the repeated line becomes a line of its own.
  EXPECT_TRUE(Has(Run({"edit", Fixture("chorus.txt"), "expand"}),
                  "{\"text\":\"Chorus line\",\"header\":false,\"tags\":[[30000,0,\"[00:30:00]\"]]}"));
}

TEST_F(ToolTest, KaraokeSplitsLongLinesIntoLinesSungAtOnce) {
  const std::string file = TempFile("long.txt");
  WriteFileBytes(file, "[00:10:00]one two three four\r\n[00:20:00]end");
  ToolResult r = Run({"karaoke", file, "--lang", "ENU", "--max-chars", "10"});
  // 18 units: cut after the space of "one two " (8 of 18), then "three four"
  // fits; the 10 s of the line are shared in proportion to the characters.
  EXPECT_TRUE(Has(r, "{\"text\":\"one two \",\"header\":false,\"tags\":[[10000,0,\"[00:10:00]\"],"
                     "[10000,8,\"[00:10:00]\"],[14444,8,\"[00:14:44]\"]]}"));
}

TEST_F(ToolTest, CheckReportsMalformedGroupsBackwardStampsAndRepeats) {
  ToolResult messy = Run({"check", Fixture("messy.txt")});
  EXPECT_TRUE(Has(messy, "malformed bracket groups: 3\n  line 2: [0l:00]\n  line 4: [a[00:01:00]\n  line 4: [x]\n"));
  EXPECT_TRUE(Has(messy, "stamps going backwards: 2\n"
                         "  line 2 starts at [00:05:00], before line 1 at [00:10:00]\n"
                         "  line 3: [00:19:00] at position 1 comes after [00:20:00]\n"));
  ToolResult chorus = Run({"check", Fixture("chorus.txt")});
  EXPECT_TRUE(Has(chorus, "  line 3 \"Chorus line\" shown 2 times: 10000 ms, 30000 ms\n"));
  EXPECT_TRUE(Has(chorus, "stamps going backwards: 0\n"));
}

TEST_F(ToolTest, RefusedInputExitsWithStatus2AndOneLine) {
  WriteFileBytes(TempFile("big.txt"), std::string(65537, 'a'));
  WriteFileBytes(TempFile("limit.txt"), std::string(65536, 'a'));
  // An MP3 frame header and padding, but no Lyrics3 tag at the end.
  WriteFileBytes(TempFile("song.mp3"), "\xff\xfb\x90\x64" + std::string(4000, '\0') + "TAG" + std::string(125, ' '));
  const std::string chorus = Fixture("chorus.txt");
  const std::vector<std::vector<std::string>> cases = {
      {"dump", TempFile("missing.txt")}, {"dump", TempFile("big.txt")}, {"at", TempFile("song.mp3"), "0"},
      {"edit", chorus, "shift:1x"}, {"edit", chorus, "rescale:1,2,3"}, {"edit", chorus, "reformat:medium"},
      {"edit", chorus, "expand:1"}, {"edit", chorus, "add:1,2147483648,0"}, {"at", chorus, "12s"}, {"at", chorus},
      {"karaoke", chorus, "--max-chars", "-1"}, {"dump", chorus, "--lang", "ENU"},
      {"dump", chorus, "--codepage", "4294967297"}, {"dump", chorus, "--codepage", "12345"},
      {"frobnicate", chorus}, {"save", chorus, TempFile("no-such-folder/out.txt")},
      {"tags", "a.mp3", "--lyrics-folder", "x"}, {"locate", "a.mp3", "--no-id3v2"}, {"format", "a.mp3"}, {},
  };
  for (const std::vector<std::string>& args : cases) {
    std::string shown;
    for (const std::string& arg : args) shown += arg + " ";
    ToolResult r = Run(args);
    EXPECT_EQ(r.status, 2) << shown;
    EXPECT_EQ(r.out, "") << shown;
    ASSERT_FALSE(r.err.empty()) << shown;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << shown << ": " << r.err;
  }
  EXPECT_EQ(Run({"dump", TempFile("limit.txt")}).status, 0);
  EXPECT_NE(Run({"dump", TempFile("big.txt")}).err.find("64 KiB"), std::string::npos);
}

// An MP3 with only an ID3v1 tag: fields padded with spaces, as some taggers write.
std::string Id3v1Song(const std::string& title, const std::string& artist, unsigned char genre) {
  return tagbuild::Audio() + tagbuild::Id3v1(title, artist, "Album", "2003", "", genre, ' ');
}

TEST_F(ToolTest, TagsReadsTheSongAndFindsItsBackground) {
  WriteFileBytes(TempFile("Song.mp3"), Id3v1Song("Title", "Band", 17));
  WriteFileBytes(TempFile("Band.bmp"), "BM");
  std::filesystem::create_directory(TempFile("Song"));
  EXPECT_EQ(Run({"tags", TempFile("Song.mp3")}).out,
            "{\"title\":\"Title\",\"artist\":\"Band\",\"album\":\"Album\",\"year\":\"2003\",\"comment\":\"\","
            "\"genre\":\"Rock\",\"copyright\":\"\",\"engineer\":\"\",\"source\":\"\",\"software\":\"\","
            "\"bgfile\":\"" + TempFile("Band.bmp") + "\",\"bgfolder\":\"" + TempFile("Song.") + "\"}\n");
  // The plug-in's own ID3v1 reader keeps the padding.
  EXPECT_TRUE(Has(Run({"tags", TempFile("Song.mp3"), "--no-id3v2"}), "\"title\":\"Title" + std::string(25, ' ') + "\""));
}

TEST_F(ToolTest, LocateAndFormat) {
  std::filesystem::create_directories(TempFile("lyrics/deep/er"));
  WriteFileBytes(TempFile("lyrics/deep/er/SONG.txt"), "x");
  EXPECT_EQ(Run({"locate", TempFile("music/Song.mp3"), "--lyrics-folder", TempFile("lyrics")}).out,
            "{\"path\":\"" + TempFile("lyrics") + "\\\\deep\\\\er\\\\SONG.txt\",\"exists\":true}\n");
  EXPECT_EQ(Run({"locate", TempFile("music/Other.mp3"), "--lyrics-folder", TempFile("lyrics")}).out,
            "{\"path\":\"" + TempFile("music/Other.txt") + "\",\"exists\":false}\n");
  WriteFileBytes(TempFile("Song.mp3"), Id3v1Song("Title", "Band", 255));
  EXPECT_EQ(Run({"format", TempFile("Song.mp3"), "%2 / %1 (%7.%9) 100%%"}).out,
            "{\"text\":\"Title / Band (Song.mp3) 100%\",\"ok\":true}\n");
}

}  // namespace
