#include "base/FileSystem.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <string>

#include "TestText.h"

namespace {

size_t EntryCount(const TempDir& dir) {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir.Path()), {}));
}

std::string ReadAll(FileSystem& files, const WString& path) {
  std::unique_ptr<ByteSource> source = files.OpenForReading(path);
  std::string bytes;
  if (!source || !source->ReadBytes(0, static_cast<size_t>(source->Size()), bytes)) return "<unreadable>";
  return bytes;
}

TEST(FileSystem, WritesReadsAndReplacesAFileAndAFailedSaveLeavesItAlone) {
  TempDir dir;
  FileSystem& files = PlatformFileSystem();
  WString path = dir.Wide("lyrics.txt");
  EXPECT_FALSE(files.Exists(path));
  ASSERT_TRUE(files.WriteFileReplacing(path, "first version", 13));
  EXPECT_EQ(ReadAll(files, path), "first version");
  ASSERT_TRUE(files.WriteFileReplacing(path, "2nd", 3));
  EXPECT_EQ(ReadAll(files, path), "2nd");
  EXPECT_EQ(EntryCount(dir), 1u);  // no temporary file left behind

  // A failed save leaves the old file alone.
#ifdef _WIN32
  ASSERT_TRUE(SetFileAttributesA(path.Ansi(), FILE_ATTRIBUTE_READONLY));
#else
  std::filesystem::permissions(dir.Path() / "lyrics.txt", std::filesystem::perms::owner_read);
#endif
  EXPECT_TRUE(files.IsReadOnly(path));
  EXPECT_FALSE(files.WriteFileReplacing(path, "lost", 4));
  EXPECT_EQ(ReadAll(files, path), "2nd");
  EXPECT_EQ(EntryCount(dir), 1u);
  EXPECT_FALSE(files.WriteFileReplacing(dir.Wide("missing/x.txt"), "x", 1));
}

TEST(FileSystem, NamesMatchTheWindowsWay) {
  TempDir dir;
  FileSystem& files = PlatformFileSystem();
  ASSERT_TRUE(files.WriteFileReplacing(dir.Wide("Song.TXT"), "x", 1));
  // A trailing dot is ignored.
  EXPECT_TRUE(files.Exists(dir.Wide("song.txt")) && files.Exists(dir.Wide("SONG.txt.")) && files.IsDirectory(dir.Wide()));
  EXPECT_FALSE(files.IsDirectory(dir.Wide("song.txt")) || files.Exists(dir.Wide("song.lrc")) || files.Exists(WString()));
  EXPECT_EQ(ReadAll(files, dir.Wide("sOnG.txt")), "x");
}

TEST(MemoryByteSource, RefusesRangesOutsideTheBuffer) {
  MemoryByteSource source("abcdef", 6);
  std::string out;
  EXPECT_TRUE(source.ReadBytes(2, 4, out) && out == "cdef");
  EXPECT_FALSE(source.ReadBytes(3, 4, out) || source.ReadBytes(UINT64_MAX, 2, out));
  EXPECT_TRUE(source.ReadBytes(6, 0, out));
}

}  // namespace
