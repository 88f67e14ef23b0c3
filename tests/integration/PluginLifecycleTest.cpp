// The plug-in DLL loaded into the substitute player, checked from outside: the
// descriptor, the version check, the start handshake, plugin.ini after quit, and a
// clean stop. Each test copies the DLL into a folder of its own, so plugin.ini
// beside it is private.

#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/WString.h"
#include "ProcessCensus.h"
#include "player/SubstitutePlayer.h"

namespace {

constexpr char kDummyClass[] = "Mirabo's Dummy Window";
constexpr UINT kFirstCommand = 50003;
constexpr int kBoundMs = 20000;  // reached only when something hangs

HWND FindProcessWindow(const char* className, const char* title = nullptr) {
  for (HWND window : AllProcessWindows()) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, className) != 0) continue;
    if (title) {
      char text[128] = {};
      GetWindowTextA(window, text, sizeof text);
      if (strcmp(text, title) != 0) continue;
    }
    return window;
  }
  return nullptr;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class PluginLifecycleTest : public testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "mrlyrics-lifecycle-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(++serial) + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
  }
  void TearDown() override {
    player_.reset();
    for (const std::string& file : files_) DeleteFileA(file.c_str());
    DeleteFileA(IniPath().c_str());
    RemoveDirectoryA(folder_.c_str());
  }

  std::string CopyPlugin(const std::string& name = "gen_mrlyrics.dll") {
    std::string path = folder_ + name;
    EXPECT_TRUE(CopyFileA(MRLYRICS_PLUGIN_PATH, path.c_str(), FALSE)) << MRLYRICS_PLUGIN_PATH;
    files_.push_back(path);
    return path;
  }
  std::string IniPath() const { return folder_ + "plugin.ini"; }

  SubstitutePlayer& Player(int version = 0x5066) {
    if (!player_) {
      player_ = std::make_unique<SubstitutePlayer>();
      PlayerOptions options;
      options.version = version;
      EXPECT_TRUE(player_->Create(options));
    }
    return *player_;
  }
  // Loads and starts the plug-in: init returns once the plug-in thread runs.
  void Start(const std::string& name = "gen_mrlyrics.dll") {
    ASSERT_TRUE(Player().LoadPlugin(CopyPlugin(name)));
    ASSERT_TRUE(Player().InitPlugin());
  }
  HWND Dummy() const { return FindProcessWindow(kDummyClass); }

  std::string folder_;
  std::vector<std::string> files_;
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
    for (int i = 0; i < kBoundMs / 10 && !done; ++i) {
      HWND box = FindProcessWindow("#32770", "Mirabo's Lyrics Plug-In");
      if (box) {
        char text[256] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        seenText = text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(10);
    }
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
  EXPECT_EQ(GetFileAttributesA(IniPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PluginLifecycleTest, InitReturnsWithThePluginThreadRunningAndQuitLeavesNothing) {
  Player(0x2005);
  std::vector<HWND> windowsBefore = AllProcessWindows();
  size_t threadsBefore = ProcessThreads().size();
  int systemItems = GetMenuItemCount(GetSystemMenu(Player().MainWindow(), FALSE));
  Start();
  HWND dummy = Dummy();
  ASSERT_NE(dummy, nullptr);
  DWORD pluginThread = GetWindowThreadProcessId(dummy, nullptr);
  EXPECT_NE(pluginThread, GetCurrentThreadId());
  EXPECT_EQ(ProcessThreads().size(), threadsBefore + 1);
  EXPECT_FALSE(IsWindowVisible(dummy));

  ASSERT_TRUE(Player().QuitPlugin());
  EXPECT_EQ(Dummy(), nullptr);
  std::vector<DWORD> threads = ProcessThreads();
  EXPECT_EQ(std::find(threads.begin(), threads.end(), pluginThread), threads.end());
  EXPECT_EQ(AllProcessWindows().size(), windowsBefore.size());
  // The system-menu entry went with the plug-in.
  EXPECT_EQ(GetMenuItemCount(GetSystemMenu(Player().MainWindow(), FALSE)), systemItems);
  EXPECT_EQ(GetMenuState(GetSystemMenu(Player().MainWindow(), FALSE), kFirstCommand, MF_BYCOMMAND),
            static_cast<UINT>(-1));
  Player().UnloadPlugin();
}

TEST_F(PluginLifecycleTest, SettingsFileHoldsEverySectionAfterQuit) {
  Start();
  Player().QuitPlugin();
  std::string first = ReadFile(IniPath());
  // Written back in the reverse order of creation: Editor, Karaoke, Displayer, common.
  size_t at = 0;
  for (const char* section : {"[Mirabo's Lyrics Editor]", "[Mirabo's Karaoke Displayer]",
                              "[Mirabo's Lyrics Displayer]", "[Mirabo's Lyrics Common]"}) {
    size_t found = first.find(section);
    ASSERT_NE(found, std::string::npos) << section;
    EXPECT_GE(found, at) << section;
    at = found;
  }
  // A second run reads and writes back the same file, key for key.
  Player().UnloadPlugin();
  ASSERT_TRUE(Player().LoadPlugin(folder_ + "gen_mrlyrics.dll"));
  ASSERT_TRUE(Player().InitPlugin());
  Player().QuitPlugin();
  EXPECT_EQ(ReadFile(IniPath()), first);
}

TEST_F(PluginLifecycleTest, HundredCyclesWithUnloadLeaveNothingBehind) {
  std::string path = CopyPlugin();
  auto cycle = [&] {
    ASSERT_TRUE(Player().LoadPlugin(path));
    ASSERT_TRUE(Player().InitPlugin());
    ASSERT_NE(Dummy(), nullptr);
    PostMessageA(Dummy(), WM_COMMAND, kFirstCommand + 3, 0);
    ASSERT_TRUE(Player().QuitPlugin());
    Player().UnloadPlugin();
  };
  cycle();  // the first run leaves what a process keeps anyway (IME window, caches)
  ProcessCensus before = TakeProcessCensus();
  HMENU system = GetSystemMenu(Player().MainWindow(), FALSE);
  int systemItems = GetMenuItemCount(system);
  for (int i = 0; i < 100; ++i) {
    cycle();
    if (HasFatalFailure()) return;
  }
  EXPECT_EQ(GetMenuItemCount(system), systemItems);
  // The last thread of the plug-in may still be on its way out of the loader on a
  // busy machine: give it a moment before calling the module leaked.
  SubstitutePlayer::PumpUntil([&] { return GetModuleHandleA(path.c_str()) == nullptr; }, 5000);
  EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr);
  // Kernel handles by type, GDI objects, windows and threads.
  EXPECT_EQ(CensusGrowth(before, TakeProcessCensus()), "");
}

}  // namespace
