// The substitute player answers the plug-in's messages as the real player does;
// every integration test depends on it, so its answers are pinned down here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "player/SubstitutePlayer.h"
#include "player/testplugin/TestPlugin.h"

namespace {

LRESULT Ask(HWND player, WPARAM wParam, LPARAM operation) {
  return SendMessageA(player, kPlayerMessage, wParam, operation);
}

std::string WindowText(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

RECT WindowRect(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return r;
}

std::string TempPath(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

// The test plug-in lies at the top of the build tree, where the tests run.
std::string TestPluginPath() {
  char folder[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, folder);
  return std::string(folder) + "\\mrlyrics_test_plugin.dll";
}

class SubstitutePlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(player.Create(PlayerOptions()));
    main = player.MainWindow();
  }
  SubstitutePlayer player;
  HWND main = nullptr;
};

TEST_F(SubstitutePlayerTest, AnswersVersionAndPlayState) {
  EXPECT_EQ(Ask(main, 0, kIpcGetVersion), 0x5066);
  player.SetVersion(0x2004);
  EXPECT_EQ(Ask(main, 0, kIpcGetVersion), 0x2004);

  player.SetPlaylist({"C:\\music\\a.mp3"});
  EXPECT_EQ(Ask(main, 0, kIpcIsPlaying), 0);
  SendMessageA(main, WM_COMMAND, kPlayerCommandPlay, 0);
  EXPECT_EQ(Ask(main, 0, kIpcIsPlaying), 1);
  player.Pause();
  EXPECT_EQ(Ask(main, 0, kIpcIsPlaying), 3);
  player.Pause();
  EXPECT_EQ(Ask(main, 0, kIpcIsPlaying), 1);
  player.Stop();
  EXPECT_EQ(Ask(main, 0, kIpcIsPlaying), 0);
}

TEST_F(SubstitutePlayerTest, AnswersPositionAndLengthByTheManualClock) {
  EXPECT_EQ(Ask(main, 0, kIpcGetOutputTime), -1);  // nothing plays
  EXPECT_EQ(Ask(main, 1, kIpcGetOutputTime), -1);  // no song, no length
  player.SetPlaylist({"C:\\music\\a.mp3"});
  player.SetLength(215);
  player.Play();
  player.SetPosition(12345);
  SubstitutePlayer::PumpFor(50);  // the manual clock does not run
  EXPECT_EQ(Ask(main, 0, kIpcGetOutputTime), 12345);
  EXPECT_EQ(Ask(main, 1, kIpcGetOutputTime), 215);
  player.Stop();
  EXPECT_EQ(Ask(main, 0, kIpcGetOutputTime), -1);
}

TEST_F(SubstitutePlayerTest, ScriptedPositionsComeBeforeTheClock) {
  player.SetPlaylist({"C:\\music\\a.mp3"});
  player.Play();
  player.SetPosition(7000);
  player.QueuePositions({5000, 4950, 5010, -1});
  EXPECT_EQ(Ask(main, 0, kIpcGetOutputTime), 5000);
  EXPECT_EQ(Ask(main, 0, kIpcGetOutputTime), 4950);
  EXPECT_EQ(Ask(main, 1, kIpcGetOutputTime), -1);  // a length query takes nothing from the queue
  EXPECT_EQ(Ask(main, 0, kIpcGetOutputTime), 5010);
  EXPECT_EQ(Ask(main, 0, kIpcGetOutputTime), -1);
  EXPECT_EQ(Ask(main, 0, kIpcGetOutputTime), 7000);
  EXPECT_EQ(player.QueuedPositions(), 0u);
}

TEST_F(SubstitutePlayerTest, SeeksOnlyWithinAPlayingSong) {
  player.SetPlaylist({"C:\\music\\a.mp3"});
  player.SetLength(60);
  EXPECT_EQ(Ask(main, 3000, kIpcJumpToTime), -1);  // stopped
  player.Play();
  player.Pause();
  EXPECT_EQ(Ask(main, 3000, kIpcJumpToTime), 0);   // paused songs seek too
  EXPECT_EQ(player.PositionMs(), 3000);
  EXPECT_EQ(Ask(main, 60000, kIpcJumpToTime), 1);  // past the end
  EXPECT_EQ(player.PositionMs(), 3000);
  EXPECT_EQ(player.LastSeek(), 60000);
  EXPECT_EQ(player.Seeks(), (std::vector<int>{3000, 3000, 60000}));
}

TEST_F(SubstitutePlayerTest, PlaylistNamesArePointersIntoThePlayer) {
  // 0x95 0x5C is one Shift-JIS character whose trail byte is a backslash.
  const std::string japanese = "C:\\\x89\xb9\x8a\x79\\\x95\x5c.mp3";
  player.SetPlaylist({"C:\\music\\a.mp3", japanese});
  player.SelectEntry(1);
  EXPECT_EQ(Ask(main, 0, kIpcGetListPosition), 1);
  auto* name = reinterpret_cast<const char*>(Ask(main, 1, kIpcGetPlaylistFile));
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(std::string(name), japanese);
  EXPECT_EQ(Ask(main, 2, kIpcGetPlaylistFile), 0);
  // The plug-in may still hold the pointer when the list changes.
  player.SetPlaylist({"C:\\other.mp3"});
  EXPECT_EQ(std::string(name), japanese);
}

TEST_F(SubstitutePlayerTest, RetitlesOnEverySongChange) {
  player.SetPlaylist({"C:\\music\\first song.mp3", "C:\\\x95\x5c.wav"});
  player.Play();
  EXPECT_EQ(WindowText(main), "1. first song - Winamp");
  int before = player.Retitles();
  player.Next();
  EXPECT_EQ(WindowText(main), "2. \x95\x5c - Winamp");
  EXPECT_EQ(player.Retitles(), before + 1);
  player.Pause();
  EXPECT_EQ(WindowText(main), "2. \x95\x5c - Winamp [Paused]");
  player.Stop();
  EXPECT_EQ(WindowText(main), "2. \x95\x5c - Winamp [Stopped]");
}

TEST_F(SubstitutePlayerTest, CopiesTheSkinFolderIntoTheCallersBuffer) {
  char buffer[260];
  std::memset(buffer, 'x', sizeof buffer);
  Ask(main, reinterpret_cast<WPARAM>(buffer), kIpcGetSkin);
  EXPECT_STREQ(buffer, "");
  player.SetSkinFolder("C:\\Skins\\Base");
  Ask(main, reinterpret_cast<WPARAM>(buffer), kIpcGetSkin);
  EXPECT_STREQ(buffer, "C:\\Skins\\Base");
  player.SetSkinFolder(std::string(400, 'a'));
  Ask(main, reinterpret_cast<WPARAM>(buffer), kIpcGetSkin);
  EXPECT_EQ(std::strlen(buffer), 259u);
}

std::vector<WPARAM> KeysOf(const std::vector<KeyMessage>& keys, UINT message) {
  std::vector<WPARAM> out;
  for (const KeyMessage& k : keys) {
    if (k.message == message) out.push_back(k.key);
  }
  return out;
}

TEST_F(SubstitutePlayerTest, RecordsCommandsAndKeysSentOrPosted) {
  player.SetPlaylist({"C:\\a.mp3", "C:\\b.mp3"});
  SendMessageA(main, WM_COMMAND, 50003, 0);
  PostMessageA(main, WM_KEYDOWN, 'X', 0);
  PostMessageA(main, WM_CHAR, '!', 0);
  SendMessageA(main, WM_KEYDOWN, 'B', 0);
  ASSERT_TRUE(SubstitutePlayer::PumpUntil([&] { return player.State() == PlayState::kPlaying; }, 2000));
  EXPECT_EQ(player.CurrentEntry(), 1);
  std::vector<WPARAM> commands = {50003, kPlayerCommandNext, kPlayerCommandPlay};
  EXPECT_EQ(player.CommandsReceived(), commands);
  EXPECT_EQ(KeysOf(player.KeysReceived(), WM_KEYDOWN), (std::vector<WPARAM>{'B', 'X'}));
  // The pump translates posted key presses into characters, as the player's loop does.
  std::vector<WPARAM> chars = KeysOf(player.KeysReceived(), WM_CHAR);
  EXPECT_NE(std::find(chars.begin(), chars.end(), static_cast<WPARAM>('!')), chars.end());
}

TEST_F(SubstitutePlayerTest, WindowsHaveThePlayersSizesAndClasses) {
  RECT r = WindowRect(main);
  EXPECT_EQ(r.right - r.left, 275);
  EXPECT_EQ(r.bottom - r.top, 116);
  player.SetDoubleSize(true);
  r = WindowRect(main);
  EXPECT_EQ(r.right - r.left, 550);
  EXPECT_EQ(r.bottom - r.top, 232);

  EXPECT_EQ(FindWindowA(kPlaylistClass, nullptr), player.AuxWindow(kAuxPlaylist));
  EXPECT_EQ(FindWindowA(kEqualizerClass, nullptr), player.AuxWindow(kAuxEqualizer));
  EXPECT_EQ(FindWindowA(kMiniBrowserClass, nullptr), player.AuxWindow(kAuxMiniBrowser));
  EXPECT_TRUE(IsWindowVisible(player.AuxWindow(kAuxEqualizer)));
  EXPECT_FALSE(IsWindowVisible(player.AuxWindow(kAuxMiniBrowser)));
  player.ShowAux(kAuxMiniBrowser, true);
  EXPECT_TRUE(IsWindowVisible(player.AuxWindow(kAuxMiniBrowser)));
  SendMessageA(main, WM_SYSKEYDOWN, 'G', 0);  // Alt+G toggles the equaliser
  EXPECT_FALSE(IsWindowVisible(player.AuxWindow(kAuxEqualizer)));
  player.MoveAux(kAuxPlaylist, 40, 500);
  r = WindowRect(player.AuxWindow(kAuxPlaylist));
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.top, 500);
}

TEST_F(SubstitutePlayerTest, SystemMenuBeginsWithASubmenu) {
  HMENU system = GetSystemMenu(main, FALSE);
  ASSERT_NE(system, nullptr);
  EXPECT_NE(GetSubMenu(system, 0), nullptr);
  // Its items and the plug-in's arrive as commands.
  SendMessageA(main, WM_SYSCOMMAND, 50005, 0);
  EXPECT_EQ(player.CommandsReceived(), std::vector<WPARAM>{50005});
}

TEST_F(SubstitutePlayerTest, ScreenshotHasTheWindowsSize) {
  std::string path = TempPath("mrlyrics-player-shot.bmp");
  ASSERT_TRUE(SubstitutePlayer::Screenshot(main, path));
  std::ifstream in(path, std::ios::binary);
  char header[26] = {};
  in.read(header, sizeof header);
  int32_t width, height;
  std::memcpy(&width, header + 18, 4);
  std::memcpy(&height, header + 22, 4);
  EXPECT_EQ(std::string(header, 2), "BM");
  EXPECT_EQ(width, 275);
  EXPECT_EQ(height, 116);
  DeleteFileA(path.c_str());
  std::vector<HWND> windows = SubstitutePlayer::ProcessWindows();
  EXPECT_NE(std::find(windows.begin(), windows.end(), main), windows.end());
}

class PluginHostingTest : public SubstitutePlayerTest {
 protected:
  TestPluginState* State() {
    auto get = reinterpret_cast<TestPluginGetStateProc>(
        reinterpret_cast<void*>(GetProcAddress(player.PluginModule(), kTestPluginStateExport)));
    return get ? get() : nullptr;
  }
};

TEST_F(PluginHostingTest, CallsTheEntriesInOrderWithTheHandlesFilledIn) {
  ASSERT_TRUE(player.LoadPlugin(TestPluginPath()));
  TestPluginState* state = State();
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(player.Plugin()->version, kGeneralPurposePluginVersion);
  EXPECT_EQ(player.Plugin()->hwndParent, main);
  EXPECT_EQ(player.Plugin()->hDllInstance, player.PluginModule());
  EXPECT_FALSE(player.ConfigPlugin());  // not before init

  ASSERT_TRUE(player.InitPlugin());
  EXPECT_FALSE(player.InitPlugin());  // once
  EXPECT_EQ(state->parentAtInit, main);
  EXPECT_EQ(state->instanceAtInit, player.PluginModule());
  EXPECT_EQ(state->versionAtInit, 0x5066);
  EXPECT_TRUE(player.ConfigPlugin());
  EXPECT_TRUE(player.QuitPlugin());
  EXPECT_FALSE(player.QuitPlugin());
  EXPECT_STREQ(state->order, "init,config,quit,");
  player.UnloadPlugin();
  EXPECT_EQ(player.PluginModule(), nullptr);
}

// The plug-in thread asks the player for its position with a send; the player's
// thread answers while a test pumps, and quit (which waits for that thread) ends.
TEST_F(PluginHostingTest, AnswersThePluginThreadAndQuitsWhileItSends) {
  player.SetPlaylist({"C:\\a.mp3"});
  player.Play();
  player.SetPosition(4321);
  ASSERT_TRUE(player.LoadPlugin(TestPluginPath()));
  TestPluginState* state = State();
  ASSERT_TRUE(player.InitPlugin());
  ASSERT_TRUE(SubstitutePlayer::PumpUntil([&] { return state->positionQueries >= 3; }, 5000));
  EXPECT_EQ(state->lastPosition, 4321);
  EXPECT_TRUE(IsWindow(state->window));
  player.QuitPlugin();
  EXPECT_TRUE(state->threadEnded);
  EXPECT_EQ(FindWindowA(kTestPluginWindowClass, nullptr), nullptr);
}

TEST_F(PluginHostingTest, UnloadQuitsFirstAndBadLibrariesAreRefused) {
  ASSERT_TRUE(player.LoadPlugin(TestPluginPath()));
  ASSERT_TRUE(player.InitPlugin());
  ASSERT_NE(FindWindowA(kTestPluginWindowClass, nullptr), nullptr);
  player.UnloadPlugin();  // quit ran first: the plug-in's thread took its window along
  EXPECT_EQ(FindWindowA(kTestPluginWindowClass, nullptr), nullptr);
  EXPECT_EQ(player.Plugin(), nullptr);
  EXPECT_FALSE(player.LoadPlugin(TempPath("no-such-plugin.dll")));
  EXPECT_FALSE(player.LoadPlugin("kernel32.dll"));  // no export
  EXPECT_EQ(player.PluginModule(), nullptr);
}

TEST(PlayerClockTest, RealTimeRunsOnlyWhilePlaying) {
  int64_t now = 1000;
  PlayerClock clock(true, [&] { return now; });
  clock.Set(500);
  now += 300;
  EXPECT_EQ(clock.Get(), 500);  // not running yet
  clock.Run();
  now += 250;
  EXPECT_EQ(clock.Get(), 750);
  clock.Halt();
  now += 1000;
  EXPECT_EQ(clock.Get(), 750);
  clock.Run();
  clock.Set(10000);  // a seek while running
  now += 40;
  EXPECT_EQ(clock.Get(), 10040);
  clock.SetRealTime(false);
  now += 40;
  EXPECT_EQ(clock.Get(), 10040);
}

TEST(WaveFileTest, WritesAndReadsBackAndRejectsOtherFiles) {
  WAVEFORMATEX format = {WAVE_FORMAT_PCM, 1, 8000, 8000, 1, 8, 0};
  std::vector<char> samples(12000, static_cast<char>(0x80));
  std::string path = TempPath("mrlyrics-player-tone.wav");
  ASSERT_TRUE(WriteWaveFile(path, format, samples));
  WaveFile wave;
  ASSERT_TRUE(ReadWaveFile(path, wave));
  EXPECT_EQ(wave.format.nSamplesPerSec, 8000u);
  EXPECT_EQ(wave.data.size(), samples.size());
  EXPECT_EQ(wave.LengthMs(), 1500);

  // A data chunk claiming more than the file holds is cut to what is there.
  { std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary); f.seekp(40); f.write("\xff\xff\xff\x7f", 4); }
  WaveFile cut;
  ASSERT_TRUE(ReadWaveFile(path, cut));
  EXPECT_EQ(cut.data.size(), samples.size());

  { std::ofstream f(path, std::ios::binary); f << "ID3 not a wave file at all"; }
  WaveFile none;
  EXPECT_FALSE(ReadWaveFile(path, none));
  DeleteFileA(path.c_str());
}

}  // namespace
