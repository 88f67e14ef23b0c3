// Where the Editor opens and where its save dialog's answer is saved.
#include <gtest/gtest.h>

#include "TestText.h"
#include "editor/core/EditorPlacement.h"
#include "editor/core/LyricsFileDialogs.h"

namespace {

TEST(EditorPlacement, ATitleBarOffTheWorkAreaMovesToItsCorner) {
  const SettingsRect work{0, 40, 1280, 1024};  // a taskbar along the top
  const struct {
    SettingsRect saved, placed;
  } cases[] = {{{100, 30, 520, 270}, {100, 30, 520, 270}},    // half the title bar shows
               {{2000, 100, 2420, 340}, {0, 40, 420, 280}},   // a monitor that is gone
               {{0, 0, 600, 20}, {0, 40, 600, 60}},           // the title bar under the taskbar
               {{500, 500, 100, 100}, {0, 40, 420, 280}},     // inverted: the default size
               {{INT32_MIN, 0, INT32_MAX, 100}, {0, 40, 420, 280}}};
  for (const auto& c : cases) EXPECT_EQ(PlaceEditorWindow(c.saved, work, 20), c.placed) << c.saved.left;
}

TEST(SaveDialog, TheTextFilterAddsTxtToATypedName) {
  TempDir dir;
  WriteFileBytes(dir.Path() / "song.txt", "");
  EXPECT_EQ(FilterForName(W("a.TXT")) * 10 + FilterForName(W("a.lrc")), kFilterText * 10 + kFilterAll);
  const std::string filter(kLyricsFileFilter, kLyricsFileFilterSize);
  EXPECT_EQ(filter, std::string("Text File(*.txt)\0*.txt\0All Files(*.*)\0*.*\0\0", 43));
  const struct {
    const char* typed;
    int filter;
    const char* saved;
    bool ask;
  } cases[] = {{"song", kFilterText, "song.txt", true}, {"new", kFilterText, "new.txt", false},
               {"song", kFilterAll, "song", false},     {"a.TXT", kFilterText, "a.TXT", false}};
  for (const auto& c : cases) {
    const SaveTarget target = SaveTargetFor(dir.Wide(c.typed), c.filter, PlatformFileSystem());
    EXPECT_EQ(target.path, dir.Wide(c.saved)) << c.typed;
    EXPECT_EQ(target.askOverwrite, c.ask) << c.typed;
  }
}

}  // namespace
