// The plug-in DLL loaded into the substitute player, checked from outside: the
// descriptor, the version check, the start handshake, plugin.ini after quit, and a
// clean stop. Each test copies the DLL into a folder of its own, so plugin.ini
// beside it is private.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "ProcessCensus.h"
#include "TestText.h"
#include "player/SubstitutePlayer.h"
#include "settings/DefaultSections.h"

namespace {

constexpr char kDummyClass[] = "Mirabo's Dummy Window";
constexpr UINT kFirstCommand = 50003;

class PluginLifecycleTest : public testing::Test {
 protected:
  std::string CopyPlugin(const std::string& name = "gen_mrlyrics.dll") {
    std::string path = (temp_.Path() / name).string();
    EXPECT_TRUE(CopyFileA(MRLYRICS_PLUGIN_PATH, path.c_str(), FALSE)) << MRLYRICS_PLUGIN_PATH;
    return path;
  }
  std::string IniPath() const { return (temp_.Path() / "plugin.ini").string(); }
  SubstitutePlayer& Player(int version = 0x5066) {
    if (!player_) {
      player_ = std::make_unique<SubstitutePlayer>();
      PlayerOptions options;
      options.version = version;
      EXPECT_TRUE(player_->Create(options));
    }
    return *player_;
  }
  HWND Dummy() const { return ProcessWindow(kDummyClass); }

  TempDir temp_;  // outlives the player, which unloads the copy inside
  std::unique_ptr<SubstitutePlayer> player_;
};

TEST_F(PluginLifecycleTest, DescriptionNamesTheLibraryAsItIsCalled) {
  for (const char* name : {"gen_mrlyrics.dll", "gen_renamed.dll"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(Player().LoadPlugin(CopyPlugin(name)));
    WinampGeneralPurposePlugin* plugin = Player().Plugin();
    EXPECT_EQ(plugin->version, 0x10);
    EXPECT_STREQ(plugin->description, "");
    ASSERT_TRUE(Player().InitPlugin());
    EXPECT_EQ(std::string(plugin->description), std::string("Mirabo's Lyrics Plug-In v1.12 [") + name + "]");
    Player().QuitPlugin();
    Player().UnloadPlugin();
  }
}

TEST_F(PluginLifecycleTest, OldPlayerGetsTheMessageAndAnInertPlugin) {
  Player(0x2004);
  size_t threadsBefore = ProcessThreads().size();
  std::atomic<bool> done{false};
  std::string seenText;
  std::thread watcher([&] {
    // The box is modal on the player's thread: read it and press OK from here.
    HWND box = nullptr;
    for (int i = 0; i < 2000 && !done && !(box = ProcessWindow("#32770", "Mirabo's Lyrics Plug-In")); ++i) Sleep(10);
    char text[256] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    seenText = text;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  ASSERT_TRUE(Player().LoadPlugin(CopyPlugin()));
  Player().InitPlugin();
  done = true;
  watcher.join();
  EXPECT_EQ(seenText, WString::FromUtf8("Winamp Version 2.05以降で使用して下さい。").ToAnsi());
  EXPECT_EQ(Dummy(), nullptr);
  EXPECT_EQ(ProcessThreads().size(), threadsBefore);
  EXPECT_TRUE(Player().ConfigPlugin());
  EXPECT_TRUE(Player().QuitPlugin());
  EXPECT_FALSE(std::filesystem::exists(IniPath()));
}

// Version 2.05 is the first the plug-in runs in; init returns with the plug-in thread
// and its hidden window up, and quit takes them, the system-menu entry and every
// handle away again.
TEST_F(PluginLifecycleTest, HundredCyclesWithUnloadLeaveNothingBehind) {
  Player(0x2005);
  std::string path = CopyPlugin();
  HMENU system = GetSystemMenu(Player().MainWindow(), FALSE);
  const int systemItems = GetMenuItemCount(system);
  auto cycle = [&] {
    ASSERT_TRUE(Player().LoadPlugin(path));
    ASSERT_TRUE(Player().InitPlugin());
    HWND dummy = Dummy();
    ASSERT_NE(dummy, nullptr);
    EXPECT_NE(GetWindowThreadProcessId(dummy, nullptr), GetCurrentThreadId());
    EXPECT_FALSE(IsWindowVisible(dummy));
    PostMessageA(dummy, WM_COMMAND, kFirstCommand + 3, 0);
    ASSERT_TRUE(Player().QuitPlugin());
    EXPECT_EQ(Dummy(), nullptr);
    Player().UnloadPlugin();
  };
  cycle();  // the first run leaves what a process keeps anyway (IME window, caches)
  ProcessCensus before = TakeProcessCensus();
  for (int i = 0; i < 100; ++i) {
    cycle();
    if (HasFatalFailure()) return;
  }
  EXPECT_EQ(GetMenuItemCount(system), systemItems);
  // Each quit wrote back what the start read: every section at its defaults, written
  // in the reverse order of creation (the platform may put blank lines between them).
  std::string ini = ReadFileBytes(IniPath());
  for (size_t blank; (blank = ini.find("\r\n\r\n")) != std::string::npos;) ini.erase(blank, 2);
  EXPECT_EQ(ini, std::string(kDefaultEditorSection) + kDefaultKaraokeSection + kDefaultDisplayerSection +
                     kDefaultCommonSection);
  // The last thread of the plug-in may still be on its way out of the loader on a
  // busy machine: give it a moment before calling the module leaked.
  SubstitutePlayer::PumpUntil([&] { return GetModuleHandleA(path.c_str()) == nullptr; }, 5000);
  EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr);
  // Kernel handles by type, GDI objects, TLS slots, windows and threads.
  EXPECT_EQ(CensusGrowth(before, TakeProcessCensus()), "");
}

}  // namespace
