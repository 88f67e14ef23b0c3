#include "karaoke/core/BackgroundList.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "TestText.h"

namespace {

// Files and folders held in memory, by their wide paths.
class MemoryFiles : public FileSystem {
 public:
  std::map<std::u16string, std::string> files;
  std::map<std::u16string, std::vector<FolderEntry>> folders;

  bool Exists(const WString& path) override { return files.count(Key(path)) || folders.count(Key(path)); }
  bool IsDirectory(const WString& path) override { return folders.count(Key(path)) != 0; }
  std::unique_ptr<ByteSource> OpenForReading(const WString& path) override {
    auto found = files.find(Key(path));
    return found == files.end() ? nullptr : std::make_unique<MemoryByteSource>(found->second);
  }
  bool WriteFileReplacing(const WString&, const void*, size_t) override { return false; }
  bool IsReadOnly(const WString&) override { return false; }
  bool ListFolder(const WString& folder, std::vector<FolderEntry>& entries) override {
    auto found = folders.find(Key(folder));
    if (found == folders.end()) return false;
    entries = found->second;
    return true;
  }

 private:
  static std::u16string Key(const WString& path) { return std::u16string(path.View()); }
};

class ScriptedRandom : public RandomSource {
 public:
  explicit ScriptedRandom(std::vector<uint32_t> numbers) : numbers_(std::move(numbers)) {}
  uint32_t Next() override { return numbers_[next_++ % numbers_.size()]; }

 private:
  std::vector<uint32_t> numbers_;
  size_t next_ = 0;
};

TEST(BackgroundList, TakesTheFileAndTheFolderPicturesInShuffledOrder) {
  MemoryFiles fs;
  fs.files[u"C:\\bg\\one.JPG"] = "x";
  fs.files[u"C:\\pics\\a.bmp"] = fs.files[u"C:\\pics\\b.jpeg"] = fs.files[u"C:\\pics\\c.gif"] = "x";
  fs.folders[u"C:\\pics"] = {{W("a.bmp")}, {W("c.gif")}, {W("gone.jpg")}, {W("sub.jpg"), true}, {W("b.jpeg")}};
  fs.folders[u"C:\\pics\\sub.jpg"] = {};
  // Position i swaps with position 0: [one, a, b] becomes [b, one, a].
  ScriptedRandom zeros({0});
  BackgroundList list;
  list.Build(fs, W("C:\\bg\\one.JPG"), W("C:\\pics"), 30000, zeros);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Path(0), W("C:\\pics\\b.jpeg"));
  EXPECT_EQ(list.Path(1), W("C:\\bg\\one.JPG"));
  EXPECT_EQ(list.Path(2), W("C:\\pics\\a.bmp"));

  for (int i = 0; i < 150; ++i) fs.folders[u"C:\\many\\"].push_back({W(("p" + std::to_string(i) + ".bmp").c_str())});
  for (int i = 0; i < 150; ++i) fs.files[u"C:\\many\\p" + std::u16string(W(std::to_string(i).c_str()).View()) + u".bmp"];
  list.Build(fs, WString(), W("C:\\many\\"), 0, zeros);
  EXPECT_EQ(list.Count(), kMaxBackgrounds);
  EXPECT_EQ(list.Interval(), kDefaultBackgroundInterval);  // 0 would divide by zero
}

TEST(BackgroundList, PicturesRepeatInACycleAndChangeAheadOfTheirTime) {
  MemoryFiles fs;
  fs.files[u"C:\\a.bmp"] = fs.files[u"C:\\b.bmp"] = fs.files[u"C:\\c.bmp"] = "x";
  fs.folders[u"C:\\"] = {{W("a.bmp")}, {W("b.bmp")}, {W("c.bmp")}};
  ScriptedRandom same({0, 1, 2});  // i swaps with i: the folder's order
  BackgroundList list;
  list.Build(fs, WString(), W("C:\\"), 30000, same);
  const struct {
    int32_t t;
    int picture;
    int64_t nextChange;
  } kTimes[] = {{-5, 0, 30000}, {29999, 0, 30000}, {30000, 1, 60000}, {89999, 2, 90000}, {95000, 0, 120000}};
  for (const auto& c : kTimes) {
    EXPECT_EQ(list.PictureAt(c.t), c.picture) << c.t;
    EXPECT_EQ(list.NextChangeAfter(c.t), c.nextChange) << c.t;
  }

  // The next picture loads during the last 10 s, in proportion; the change switches;
  // a seek back across it switches back and loads ahead again.
  BackgroundSchedule schedule;
  const struct {
    int32_t t;
    bool render;
    int shown, load;
    bool start;
    int32_t permille;
  } kFrames[] = {
      {0, true, 0, -1, false, 0},     {19999, false, 0, -1, false, 0}, {20000, false, 0, 1, true, 0},
      {25000, false, 0, 1, false, 500}, {30000, true, 1, -1, false, 0}, {29000, true, 0, 1, true, 0},
  };
  for (const auto& f : kFrames) {
    const BackgroundStep step = schedule.Update(list, f.t, false);
    EXPECT_EQ(step.render, f.render) << f.t;
    EXPECT_EQ(step.shown, f.shown) << f.t;
    EXPECT_EQ(step.load, f.load) << f.t;
    EXPECT_EQ(step.startLoad, f.start) << f.t;
    EXPECT_EQ(step.permille, f.permille) << f.t;
  }
}

TEST(BackgroundFit, ScaledInsideKeepingTheAspectOrCentredAtItsSize) {
  const struct {
    int32_t w, h;
    bool enlarge, reduce;
    KRect target;
  } kCases[] = {
      {320, 240, true, true, {0, 0, 640, 480}},        // doubled
      {320, 240, false, true, {160, 120, 480, 360}},   // kept, centred
      {1000, 500, true, true, {0, 80, 640, 400}},      // wider aspect: full width
      {500, 1000, true, true, {200, 0, 440, 480}},     // taller aspect: full height
      {600, 500, true, true, {32, 0, 608, 480}},       // larger in one direction only
      {1000, 500, true, false, {-180, -10, 820, 490}}, // not reduced
      {0, 500, true, true, {}},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(FitPicture(c.w, c.h, 640, 480, c.enlarge, c.reduce), c.target) << c.w << "x" << c.h;
}

}  // namespace
