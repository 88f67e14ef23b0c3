#include "sources/LyricsLocator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "TestText.h"

namespace {

namespace fs = std::filesystem;

// The platform's file system, with folder listings counted and chosen folders made
// unlistable (running as root, permissions cannot make a folder unreadable).
class WatchedFileSystem : public ForwardingFileSystem {
 public:
  bool ListFolder(const WString& folder, std::vector<FolderEntry>& entries) override {
    ++listings[folder.ToUtf8()];
    if (!unreadableName.empty() && folder.ToUtf8().find(unreadableName) != std::string::npos) return false;
    if (!ForwardingFileSystem::ListFolder(folder, entries)) return false;
    // Name order, so that the tests do not depend on the file system's order.
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name.View() < b.name.View(); });
    return true;
  }

  std::map<std::string, int> listings;
  std::string unreadableName;
};

class LyricsLocatorTest : public ::testing::Test {
 protected:
  void Touch(const char* name) {
    fs::path path = temp_.Path() / fs::u8path(name);
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
  }
  // A file or folder in the temporary folder, spelled as the locator answers it.
  WString In(const char* name) const { return temp_.Wide(name); }
  // The lyrics folder setting: "lyrics" in the temporary folder, no separator.
  WString LyricsSetting() const { return In("lyrics"); }
  WString InLyrics(const char* path) const {
    WString full = LyricsSetting();
    full.Append(u'\\');
    for (WChar c : W(path)) full.Append(c == u'/' ? u'\\' : c);
    return full;
  }
  WString Locate(const char* song) {
    LyricsLocator locator(options_, files_);
    return locator.Locate(In(song));
  }

  TempDir temp_;
  SourceOptions options_;
  WatchedFileSystem files_;
};

TEST_F(LyricsLocatorTest, BesideTheSongTxtWinsOverLrcAndTheDefaultIsTxt) {
  Touch("music/Song.lrc");
  Touch("music/Song.txt");
  EXPECT_EQ(Locate("music/Song.mp3"), In("music/Song.txt"));

  fs::remove(temp_.Path() / "music/Song.txt");
  EXPECT_EQ(Locate("music/Song.mp3"), In("music/Song.lrc"));

  // Nothing there: the path where new lyrics would be saved.
  EXPECT_EQ(Locate("music/Other.mp3"), In("music/Other.txt"));
  options_.lyricsFolder = In("no such folder");  // a missing lyrics folder changes nothing
  EXPECT_EQ(Locate("music/Song.mp3"), In("music/Song.lrc"));
  options_.lyricsFolder = WString();
  files_.listings.clear();
  // The name matches in any case; without an extension the whole file name is the base name.
  Touch("music/OTHER.LRC");
  EXPECT_EQ(Locate("music/Other.mp3"), In("music/Other.lrc"));
  Touch("music/Track");
  EXPECT_EQ(Locate("music/Track"), In("music/Track.txt"));
  Touch("music/Track.lrc");
  EXPECT_EQ(Locate("music/Track"), In("music/Track.lrc"));

  LyricsLocator locator(options_, files_);
  EXPECT_TRUE(locator.Locate(WString()).IsEmpty() && locator.Result().IsEmpty());
  EXPECT_TRUE(files_.listings.empty());  // no lyrics folder, no listing
}

TEST_F(LyricsLocatorTest, LyricsFolderTreeIsSearchedFirstAndTheSettingGetsItsSeparator) {
  Touch("music/Song.txt");
  Touch("lyrics/Song.lrc");
  Touch("lyrics/a/b/song.TXT");
  options_.lyricsFolder = LyricsSetting();
  EXPECT_EQ(Locate("music/Song.mp3"), InLyrics("a/b/song.TXT"));
  EXPECT_EQ(options_.lyricsFolder, WString(LyricsSetting()).Append(u'\\'));

  // Without a ".txt" in the tree, the ".lrc" at the top of the lyrics folder.
  fs::remove(temp_.Path() / "lyrics/a/b/song.TXT");
  EXPECT_EQ(Locate("music/Song.mp3"), InLyrics("Song.lrc"));

  // A ".lrc" deeper down is not looked for: the song's own folder is next.
  fs::rename(temp_.Path() / "lyrics/Song.lrc", temp_.Path() / "lyrics/a/Song.lrc");
  EXPECT_EQ(Locate("music/Song.mp3"), In("music/Song.txt"));
}

TEST_F(LyricsLocatorTest, TreeMatchIgnoresCaseBeyondAscii) {
  // Full-width letters, as Japanese users type them; the Windows lower-case
  // mapping folds them like ASCII.
  Touch(u8"lyrics/ＳＯＮＧ.Txt");
  Touch(u8"lyrics/x/song.txt.bak");
  Touch(u8"lyrics/x/ｓｏｎｇ.lrc");
  options_.lyricsFolder = LyricsSetting();
  EXPECT_EQ(Locate(u8"music/ｓｏｎｇ.mp3"), InLyrics(u8"ＳＯＮＧ.Txt"));

  // Q, É, × (no case), Ł (odd pairs), Œ (even pairs), Ÿ, Ж, Σ, Ｚ, ア (no case).
  const std::pair<WChar, WChar> pairs[] = {{u'Q', u'q'},   {0x00C9, 0x00E9}, {0x00D7, 0x00D7}, {0x0141, 0x0142},
                                           {0x0152, 0x0153}, {0x0178, 0x00FF}, {0x0416, 0x0436}, {0x03A3, 0x03C3},
                                           {0xFF3A, 0xFF5A}, {0x30A2, 0x30A2}};
  for (const auto& [upper, lower] : pairs) EXPECT_EQ(LowerCaseChar(upper), lower) << int(upper);
}

TEST_F(LyricsLocatorTest, EveryFolderIsListedOnce) {
  Touch("lyrics/a/one.txt");
  Touch("lyrics/a/b/two.txt");
  Touch("lyrics/c/three.txt");
  fs::create_directories(temp_.Path() / "lyrics/d");
  options_.lyricsFolder = LyricsSetting();
  EXPECT_EQ(Locate("music/Missing.mp3"), In("music/Missing.txt"));
  EXPECT_EQ(files_.listings.size(), 5u);
  for (const auto& [folder, count] : files_.listings) EXPECT_EQ(count, 1) << folder;
}

#ifndef _WIN32
TEST_F(LyricsLocatorTest, LinksBackIntoTheTreeEndTheSearch) {
  Touch("lyrics/a/one.txt");
  Touch("lyrics/z/Song.txt");
  fs::create_directory_symlink(temp_.Path() / "lyrics", temp_.Path() / "lyrics/a/up");
  fs::create_directory_symlink(temp_.Path() / "lyrics/a", temp_.Path() / "lyrics/z/side");
  options_.lyricsFolder = LyricsSetting();
  EXPECT_EQ(Locate("music/Song.mp3"), InLyrics("z/Song.txt"));
  for (const auto& [folder, count] : files_.listings) EXPECT_EQ(count, 1) << folder;
  EXPECT_LE(files_.listings.size(), 3u);

  // Without the match the whole tree is walked, each folder once, and it ends.
  files_.listings.clear();
  EXPECT_EQ(Locate("music/Gone.mp3"), In("music/Gone.txt"));
  EXPECT_EQ(files_.listings.size(), 3u);

  // A link to a folder outside the tree is followed.
  Touch("elsewhere/Far.txt");
  fs::create_directory_symlink(temp_.Path() / "elsewhere", temp_.Path() / "lyrics/far");
  EXPECT_EQ(Locate("music/Far.mp3"), InLyrics("far/Far.txt"));
}
#endif

TEST_F(LyricsLocatorTest, AnUnreadableSubfolderFailsTheWholeTreeSearch) {
  // Listed in name order: "a-locked" is met before "b-open", whose match is lost.
  Touch("lyrics/a-locked/x.txt");
  Touch("lyrics/b-open/Song.txt");
  Touch("lyrics/Song.lrc");
  Touch("music/Song.txt");
  options_.lyricsFolder = LyricsSetting();
  files_.unreadableName = "a-locked";
  EXPECT_EQ(Locate("music/Song.mp3"), InLyrics("Song.lrc"));
  fs::remove(temp_.Path() / "lyrics/Song.lrc");
  EXPECT_EQ(Locate("music/Song.mp3"), In("music/Song.txt"));

  // A match met before the unreadable folder ends the search first.
  files_.unreadableName = "b-open";
  fs::rename(temp_.Path() / "lyrics/b-open/Song.txt", temp_.Path() / "lyrics/a-locked/Song.txt");
  EXPECT_EQ(Locate("music/Song.mp3"), InLyrics("a-locked/Song.txt"));

  // An unreadable lyrics folder itself behaves like a missing one.
  files_.unreadableName = "lyrics";
  EXPECT_EQ(Locate("music/Song.mp3"), In("music/Song.txt"));
}

}  // namespace
