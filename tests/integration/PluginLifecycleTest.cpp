// The plug-in DLL loaded into the substitute player, checked from outside: the
// descriptor, the version check, the start handshake, plugin.ini after quit, the
// commands of menu 114, the tray menu, and a clean stop. Each test copies the DLL
// into a folder of its own, so plugin.ini beside it is private.

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
constexpr UINT kTrayMessage = WM_USER + 100;
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
  // The check mark of a window's item as the player's system menu shows it (the
  // plug-in's menu hangs there).
  bool Checked(int index) {
    UINT state = GetMenuState(GetSystemMenu(Player().MainWindow(), FALSE), kFirstCommand + index, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
  }

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
  size_t editor = first.find("[Mirabo's Lyrics Editor]");
  size_t karaoke = first.find("[Mirabo's Karaoke Displayer]");
  size_t displayer = first.find("[Mirabo's Lyrics Displayer]");
  size_t common = first.find("[Mirabo's Lyrics Common]");
  ASSERT_NE(editor, std::string::npos);
  ASSERT_NE(karaoke, std::string::npos);
  ASSERT_NE(displayer, std::string::npos);
  ASSERT_NE(common, std::string::npos);
  EXPECT_LT(editor, karaoke);
  EXPECT_LT(karaoke, displayer);
  EXPECT_LT(displayer, common);
  EXPECT_NE(first.find("Wait=20\r\n", displayer), std::string::npos);
  EXPECT_NE(first.find("SysTrayIcon=1\r\n", common), std::string::npos);
  // Colours are six hex digits, RRGGBB.
  std::istringstream lines(first);
  int colours = 0;
  for (std::string line; std::getline(lines, line);) {
    size_t equals = line.find('=');
    if (equals == std::string::npos || line.find("Color") == std::string::npos) continue;
    std::string value = line.substr(equals + 1);
    if (!value.empty() && value.back() == '\r') value.pop_back();
    ++colours;
    // Upper-case hex without leading zeros: black is "0".
    EXPECT_TRUE(!value.empty() && value.size() <= 6) << line;
    EXPECT_EQ(value.find_first_not_of("0123456789ABCDEF"), std::string::npos) << line;
  }
  EXPECT_GT(colours, 0);
  EXPECT_NE(first.find("BGColor=0\r\n", karaoke), std::string::npos);
  EXPECT_NE(first.find("LyricsColor1A=FFFFFF\r\n", karaoke), std::string::npos);

  // A second run reads and writes back the same file, key for key.
  Player().UnloadPlugin();
  ASSERT_TRUE(Player().LoadPlugin(folder_ + "gen_mrlyrics.dll"));
  ASSERT_TRUE(Player().InitPlugin());
  Player().QuitPlugin();
  EXPECT_EQ(ReadFile(IniPath()), first);
}

TEST_F(PluginLifecycleTest, MenuCommandsToggleTheCheckMarks) {
  Start();
  HWND dummy = Dummy();
  ASSERT_NE(dummy, nullptr);
  // The Displayer is reopened at the first start (its Open setting defaults to 1).
  for (int index = 0; index < 4; ++index) {
    SCOPED_TRACE(index);
    bool open = Checked(index);
    EXPECT_EQ(open, index == 0);
    PostMessageA(dummy, WM_COMMAND, kFirstCommand + index, 0);
    EXPECT_TRUE(SubstitutePlayer::PumpUntil([&] { return Checked(index) != open; }, kBoundMs));
    PostMessageA(dummy, WM_COMMAND, kFirstCommand + index, 0);
    EXPECT_TRUE(SubstitutePlayer::PumpUntil([&] { return Checked(index) == open; }, kBoundMs));
  }
}

TEST_F(PluginLifecycleTest, TrayMenuChoosesAWindow) {
  Start();
  HWND dummy = Dummy();
  ASSERT_NE(dummy, nullptr);
  bool displayerOpen = Checked(0);
  PostMessageA(dummy, kTrayMessage, 1, WM_RBUTTONUP);
  HWND popup = nullptr;
  ASSERT_TRUE(SubstitutePlayer::PumpUntil(
      [&] {
        popup = FindProcessWindow("#32768");
        return popup && IsWindowVisible(popup);
      },
      kBoundMs));
  constexpr UINT kGetMenu = 0x01E1;  // MN_GETHMENU
  auto shown = reinterpret_cast<HMENU>(SendMessageA(popup, kGetMenu, 0, 0));
  ASSERT_EQ(GetMenuItemCount(shown), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(GetMenuItemID(shown, i), kFirstCommand + i);
  // Down selects the first item, "Displayer...".
  PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(SubstitutePlayer::PumpUntil([&] { return Checked(0) != displayerOpen; }, kBoundMs));
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
  size_t windows = AllProcessWindows().size();
  size_t threads = ProcessThreads().size();
  HMENU system = GetSystemMenu(Player().MainWindow(), FALSE);
  int systemItems = GetMenuItemCount(system);
  for (int i = 0; i < 100; ++i) {
    cycle();
    if (HasFatalFailure()) return;
  }
  EXPECT_EQ(AllProcessWindows().size(), windows);
  EXPECT_EQ(ProcessThreads().size(), threads);
  EXPECT_EQ(GetMenuItemCount(system), systemItems);
  EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr);
}

}  // namespace
