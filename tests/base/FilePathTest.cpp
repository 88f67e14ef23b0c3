#include "base/FilePath.h"

#include <gtest/gtest.h>

#include "TestText.h"

namespace {

TEST(FilePath, SplitsADrivePath) {
  FilePath path(W("C:\\歌\\表ソ.lyrics.txt"));
  EXPECT_EQ(path.Drive(), W("C:"));
  EXPECT_EQ(path.Folder(), W("C:\\歌\\"));
  EXPECT_EQ(path.FileName(), W("表ソ.lyrics.txt"));
  EXPECT_EQ(path.BaseName(), W("表ソ.lyrics"));
  EXPECT_EQ(path.Extension(), W("txt"));
  EXPECT_EQ(path.PathWithoutExtension(), W("C:\\歌\\表ソ.lyrics"));
}

TEST(FilePath, SplitsRelativeAndBarePaths) {
  FilePath relative(W("music/song.mp3"));
  EXPECT_EQ(relative.Folder(), W("music/"));
  EXPECT_EQ(relative.Extension(), W("mp3"));
  FilePath bare(W("lyrics"));
  EXPECT_TRUE(bare.Folder().IsEmpty());
  EXPECT_FALSE(bare.HasExtension());
  EXPECT_EQ(bare.BaseName(), W("lyrics"));
  FilePath folderOnly(W("C:\\music\\"));
  EXPECT_EQ(folderOnly.Folder(), W("C:\\music\\"));
  EXPECT_TRUE(folderOnly.FileName().IsEmpty());
}

TEST(FilePath, SettersRebuildThePath) {
  FilePath path(W("D:\\a\\song.mp3"));
  path.SetExtension(W("jpg"));
  EXPECT_EQ(path.Path(), W("D:\\a\\song.jpg"));
  path.SetBaseName(W("cover"));
  EXPECT_EQ(path.Path(), W("D:\\a\\cover.jpg"));
  path.SetFileName(W("x.txt"));
  EXPECT_EQ(path.Path(), W("D:\\a\\x.txt"));
  path.SetExtension(WString());
  EXPECT_EQ(path.Path(), W("D:\\a\\x"));
  path.SetFolder(W("E:\\lyrics"));
  EXPECT_EQ(path.Path(), W("E:\\lyrics\\x"));
  FilePath noExtension(W("D:\\a\\song"));
  noExtension.SetExtension(W("bmp"));
  EXPECT_EQ(noExtension.Path(), W("D:\\a\\song.bmp"));
}

TEST(FilePath, OnlyDriveBackslashPathsAreAbsolute) {
  EXPECT_TRUE(FilePath::IsDriveAbsolute(W("D:\\pics")));
  EXPECT_FALSE(FilePath::IsDriveAbsolute(W("D:/pics")));
  EXPECT_FALSE(FilePath::IsDriveAbsolute(W("\\pics")));
  EXPECT_FALSE(FilePath::IsDriveAbsolute(W("D:")));
}

}  // namespace
