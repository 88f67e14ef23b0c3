#include "karaoke/core/BackgroundList.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>

#include "TestText.h"

namespace {

// Names of files and folder listings held in memory (the list opens no file).
struct MemoryFiles : ForwardingFileSystem {
  std::set<std::u16string> files;
  std::map<std::u16string, std::vector<FolderEntry>> folders;
  bool Exists(const WString& path) override { return files.count(Key(path)) || IsDirectory(path); }
  bool IsDirectory(const WString& path) override { return folders.count(Key(path)) != 0; }
  bool ListFolder(const WString& folder, std::vector<FolderEntry>& entries) override {
    return IsDirectory(folder) && (entries = folders[Key(folder)], true);
  }
  static std::u16string Key(const WString& path) { return std::u16string(path.View()); }
};

struct ScriptedRandom : RandomSource {
  explicit ScriptedRandom(std::vector<uint32_t> numbers) : numbers(std::move(numbers)) {}
  uint32_t Next() override { return numbers[next++ % numbers.size()]; }
  std::vector<uint32_t> numbers;
  size_t next = 0;
};

TEST(BackgroundList, ShuffledPicturesRepeatInACycleAndLoadAheadOfTheirChange) {
  MemoryFiles fs;
  fs.files = {u"C:\\bg\\one.JPG", u"C:\\pics\\a.bmp", u"C:\\pics\\b.jpeg", u"C:\\pics\\c.gif"};
  fs.folders[u"C:\\pics"] = {{W("a.bmp")}, {W("c.gif")}, {W("gone.jpg")}, {W("sub.jpg"), true}, {W("b.jpeg")}};
  fs.folders[u"C:\\pics\\sub.jpg"] = {};
  ScriptedRandom zeros({0}), same({0, 1, 2});  // position i swaps with 0: [one, a, b] becomes [b, one, a]
  BackgroundList list;
  list.Build(fs, W("C:\\bg\\one.JPG"), W("C:\\pics"), 30000, zeros);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(std::make_tuple(list.Path(0), list.Path(1), list.Path(2)),
            std::make_tuple(W("C:\\pics\\b.jpeg"), W("C:\\bg\\one.JPG"), W("C:\\pics\\a.bmp")));
  list.Build(fs, WString(), W("C:\\pics"), 0, zeros);
  EXPECT_EQ(list.Interval(), kDefaultBackgroundInterval);  // 0 would divide by zero

  list.Build(fs, W("C:\\bg\\one.JPG"), W("C:\\pics"), 30000, same);  // i swaps with i: [one, a, b]
  const struct { int32_t t; int picture; int64_t change; } kTimes[] = {
      {-5, 0, 30000}, {29999, 0, 30000}, {30000, 1, 60000}, {89999, 2, 90000}, {95000, 0, 120000}};
  for (const auto& c : kTimes) {
    EXPECT_EQ(list.PictureAt(c.t), c.picture) << c.t;
    EXPECT_EQ(list.NextChangeAfter(c.t), c.change) << c.t;
  }
  // The next picture loads over the last 10 s; the change switches; a seek back
  // across it switches back and loads ahead again.
  BackgroundSchedule schedule;
  const struct { int32_t t; bool render; int shown, load; bool start; int32_t permille; } kFrames[] = {
      {0, true, 0, -1, false, 0},       {19999, false, 0, -1, false, 0}, {20000, false, 0, 1, true, 0},
      {25000, false, 0, 1, false, 500}, {30000, true, 1, -1, false, 0},  {29000, true, 0, 1, true, 0}};
  for (const auto& f : kFrames) {
    const BackgroundStep s = schedule.Update(list, f.t, false);
    EXPECT_EQ(std::make_tuple(s.render, s.shown, s.load, s.startLoad, s.permille),
              std::make_tuple(f.render, f.shown, f.load, f.start, f.permille)) << f.t;
  }
}

TEST(BackgroundFit, ScaledInsideKeepingTheAspectOrCentredAtItsSize) {
  const struct { int32_t w, h; bool enlarge, reduce; KRect target; } kCases[] = {
      {320, 240, true, true, {0, 0, 640, 480}}, {320, 240, false, true, {160, 120, 480, 360}},  // doubled; kept
      {1000, 500, true, true, {0, 80, 640, 400}}, {500, 1000, true, true, {200, 0, 440, 480}},  // wider; taller
      {600, 500, true, true, {32, 0, 608, 480}},  // larger in one direction only
      {1000, 500, true, false, {-180, -10, 820, 490}},  {0, 500, true, true, {}},  // not reduced; nothing
  };
  for (const auto& c : kCases)
    EXPECT_EQ(FitPicture(c.w, c.h, 640, 480, c.enlarge, c.reduce), c.target) << c.w << "x" << c.h;
}

}  // namespace
