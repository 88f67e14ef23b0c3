#include "base/FilePath.h"

#include <gtest/gtest.h>

#include "TestText.h"

namespace {

// Drive, folder, file name, base name and extension.
TEST(FilePath, SplitsDriveRelativeAndBarePaths) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\歌\\表ソ.lyrics.txt", "C:|C:\\歌\\|表ソ.lyrics.txt|表ソ.lyrics|txt"},
      {"music/song.mp3", "|music/|song.mp3|song|mp3"},
      {"lyrics", "||lyrics|lyrics|"},
      {"C:\\music\\", "C:|C:\\music\\|||"},
  };
  for (const auto& [text, parts] : cases) {
    const FilePath path(W(text));
    EXPECT_EQ(path.Drive().ToUtf8() + "|" + path.Folder().ToUtf8() + "|" + path.FileName().ToUtf8() + "|" +
                  path.BaseName().ToUtf8() + "|" + path.Extension().ToUtf8(),
              parts);
    EXPECT_EQ(path.HasExtension(), !path.Extension().IsEmpty()) << text;
  }
  EXPECT_EQ(FilePath(W("C:\\歌\\表ソ.lyrics.txt")).PathWithoutExtension(), W("C:\\歌\\表ソ.lyrics"));
  // Only drive paths with a backslash are absolute.
  EXPECT_TRUE(FilePath::IsDriveAbsolute(W("D:\\pics")));
  for (const char* relative : {"D:/pics", "\\pics", "D:"}) EXPECT_FALSE(FilePath::IsDriveAbsolute(W(relative))) << relative;
}

TEST(FilePath, SettersRebuildThePath) {
  FilePath path(W("D:\\a\\song.mp3"));
  const struct {
    void (FilePath::*set)(const WString&);
    const char *value, *path;
  } steps[] = {{&FilePath::SetExtension, "jpg", "D:\\a\\song.jpg"}, {&FilePath::SetBaseName, "cover", "D:\\a\\cover.jpg"},
               {&FilePath::SetFileName, "x.txt", "D:\\a\\x.txt"},  {&FilePath::SetExtension, "", "D:\\a\\x"},
               {&FilePath::SetFolder, "E:\\lyrics", "E:\\lyrics\\x"}};
  for (const auto& step : steps) {
    (path.*step.set)(W(step.value));
    EXPECT_EQ(path.Path(), W(step.path)) << step.value;
  }
  FilePath noExtension(W("D:\\a\\song"));
  noExtension.SetExtension(W("bmp"));
  EXPECT_EQ(noExtension.Path(), W("D:\\a\\song.bmp"));
}

}  // namespace
