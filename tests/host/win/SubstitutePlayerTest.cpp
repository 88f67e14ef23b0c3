// The substitute player: only the answers other tests lean on without checking them
// themselves (a refused seek, a name pointer that outlives the list, a bounded skin
// copy), its clock and wave reader, and hosting a plug-in through its entries.
#include <gtest/gtest.h>

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
  TestPluginState* State() {
    auto get = reinterpret_cast<TestPluginGetStateProc>(
        reinterpret_cast<void*>(GetProcAddress(player.PluginModule(), kTestPluginStateExport)));
    return get ? get() : nullptr;
  }
  SubstitutePlayer player;
  HWND main = nullptr;
};

TEST_F(SubstitutePlayerTest, AnswersThatOtherTestsRelyOn) {
  // A stopped player refuses to seek: the link's tests see from success that it played first.
  player.SetPlaylist({"C:\\music\\a.mp3", "C:\\\x95\x5c.mp3"});
  player.SetLength(60);
  EXPECT_EQ(Ask(main, 3000, kIpcJumpToTime), -1);
  player.Play();
  player.Pause();
  EXPECT_EQ(Ask(main, 3000, kIpcJumpToTime), 0);  // paused songs seek too
  EXPECT_EQ(Ask(main, 0, kIpcIsPlaying), 3);

  // The plug-in may still hold a name pointer when the list changes.
  auto* name = reinterpret_cast<const char*>(Ask(main, 1, kIpcGetPlaylistFile));
  ASSERT_NE(name, nullptr);
  player.SetPlaylist({"C:\\other.mp3"});
  EXPECT_STREQ(name, "C:\\\x95\x5c.mp3");

  char buffer[260];
  player.SetSkinFolder(std::string(400, 'a'));
  Ask(main, reinterpret_cast<WPARAM>(buffer), kIpcGetSkin);
  EXPECT_EQ(std::strlen(buffer), 259u);
}

TEST_F(SubstitutePlayerTest, CallsTheEntriesOnceEachInOrder) {
  ASSERT_TRUE(player.LoadPlugin(TestPluginPath()));
  TestPluginState* state = State();
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(player.Plugin()->hwndParent, main);
  EXPECT_FALSE(player.ConfigPlugin());  // not before init
  ASSERT_TRUE(player.InitPlugin());
  EXPECT_FALSE(player.InitPlugin());
  EXPECT_EQ(state->versionAtInit, 0x5066);
  EXPECT_TRUE(player.ConfigPlugin());
  EXPECT_TRUE(player.QuitPlugin());
  EXPECT_FALSE(player.QuitPlugin());
  EXPECT_STREQ(state->order, "init,config,quit,");
  EXPECT_FALSE(player.LoadPlugin("kernel32.dll"));  // no export
}

// The plug-in thread asks the player for its position with a send; the player's
// thread answers while a test pumps, and quit (which waits for that thread) ends.
TEST_F(SubstitutePlayerTest, AnswersThePluginThreadAndQuitsWhileItSends) {
  player.SetPlaylist({"C:\\a.mp3"});
  player.Play();
  player.SetPosition(4321);
  ASSERT_TRUE(player.LoadPlugin(TestPluginPath()));
  TestPluginState* state = State();
  ASSERT_TRUE(player.InitPlugin());
  ASSERT_TRUE(SubstitutePlayer::PumpUntil([&] { return state->positionQueries >= 3; }, 5000));
  EXPECT_EQ(state->lastPosition, 4321);
  player.QuitPlugin();
  EXPECT_TRUE(state->threadEnded);
  EXPECT_EQ(FindWindowA(kTestPluginWindowClass, nullptr), nullptr);
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
}

TEST(WaveFileTest, ReadsBackAndCutsOversizedChunks) {
  WAVEFORMATEX format = {WAVE_FORMAT_PCM, 1, 8000, 8000, 1, 8, 0};
  std::vector<char> samples(12000, static_cast<char>(0x80));
  std::string path = TempPath("mrlyrics-player-tone.wav");
  ASSERT_TRUE(WriteWaveFile(path, format, samples));
  // A data chunk claiming more than the file holds is cut to what is there.
  { std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary); f.seekp(40); f.write("\xff\xff\xff\x7f", 4); }
  WaveFile cut;
  ASSERT_TRUE(ReadWaveFile(path, cut));
  EXPECT_EQ(cut.data.size(), samples.size());
  EXPECT_EQ(cut.LengthMs(), 1500);
  { std::ofstream f(path, std::ios::binary); f << "ID3 not a wave file at all"; }
  WaveFile none;
  EXPECT_FALSE(ReadWaveFile(path, none));
  DeleteFileA(path.c_str());
}

}  // namespace
