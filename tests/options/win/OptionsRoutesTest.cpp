// Whom each page tells, in-process: the real sheet beside a window that records the
// calls reaching it through the plug-in thread's routes, and a link that records the
// Lyrics button.

#include <gtest/gtest.h>

#include <atomic>

#include "SheetDriver.h"
#include "host/PluginApp.h"
#include "settings/MemoryIniFile.h"

namespace {

using namespace sheetdriver;

class FakeLink : public PlayerLink {
 public:
  bool ShowLyricsButton(bool show) override { return buttonShown = show; }
  int Play() override { return 1; }
  int IsPlaying() override { return 1; }
  int GetPosition() override { return 0; }
  int GetLength() override { return -1000; }
  std::atomic<bool> buttonShown{true};
};

// Stands for the Editor (no window of its own is needed to be told).
struct RecordingWindow : PluginWindow {
  HWND Handle() const override { return nullptr; }
  void ApplySettings() override { ++applied; }
  void SettingsChanged() override { ++changed; }
  std::atomic<int> applied{0}, changed{0};
};

class Factory : public WindowFactory {
 public:
  std::unique_ptr<PluginWindow> Create(WindowIndex index, PluginApp& app, HWND owner) override {
    if (index == kOptionsWindow) return MakeProductionWindowFactory()->Create(index, app, owner);
    auto window = std::make_unique<RecordingWindow>();
    editor = window.get();
    return window;
  }
  RecordingWindow* editor = nullptr;
};

TEST(OptionsRoutes, EachPageTellsOnlyItsWindows) {
  MemoryIniFile ini;
  ini.WriteString("Mirabo's Lyrics Displayer", "Open", "0");
  FakeLink link;
  Factory factory;
  // The shipped resources: the library itself, loaded as data.
  PluginApp app({&link, &ini, &factory, LoadLibraryExA(MRLYRICS_PLUGIN_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE)});
  app.Post(TM_OPEN_WINDOW, kEditorWindow);
  app.Post(TM_OPEN_WINDOW, kOptionsWindow);
  ASSERT_TRUE(WaitFor([] { return Sheet() != nullptr; }));
  RecordingWindow& editor = *factory.editor;

  // 12 points at the screen's 96 dpi; the Editor makes its font again.
  SetDlgItemTextA(Show(kEditorPage), 1006, "12");
  ASSERT_TRUE(Apply());
  EXPECT_EQ(app.Editor().fontSize, -16);
  EXPECT_TRUE(WaitFor([&] { return editor.applied == 1; }));

  // The Lyrics button goes at once; every window hears that shared settings changed.
  Click(Show(kCommonPage), 1016);
  ASSERT_TRUE(Apply());
  EXPECT_TRUE(WaitFor([&] { return editor.changed == 1 && !link.buttonShown; }));

  // The karaoke screen reads its settings when it starts: no window is told.
  SetDlgItemTextA(Show(kKaraokePage), 1006, "70");
  ASSERT_TRUE(Apply());
  SubstitutePlayer::PumpFor(100);
  EXPECT_EQ(app.Karaoke().lyricsHeight, -70);
  EXPECT_EQ(editor.applied + editor.changed, 2);
}

}  // namespace
