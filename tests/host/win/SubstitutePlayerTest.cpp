// The substitute player: only the answers other tests lean on without checking them
// themselves (a refused seek, a name pointer that outlives the list, a bounded skin
// copy, each entry called once and in order), and the MP3 length the demo's songs
// get. Answering the plug-in thread while it sends is what every integration and
// Displayer test does.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TestText.h"
#include "player/Mp3Length.h"
#include "player/SubstitutePlayer.h"
#include "player/testplugin/TestPlugin.h"
#include "sources/TagBuilders.h"

namespace {

LRESULT Ask(HWND player, WPARAM wParam, LPARAM operation) {
  return SendMessageA(player, kPlayerMessage, wParam, operation);
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
  // Config before init, a second init and a second quit are refused (left to right).
  const std::vector<bool> answers{player.ConfigPlugin(), player.InitPlugin(),  player.InitPlugin(),
                                  player.ConfigPlugin(), player.QuitPlugin(), player.QuitPlugin()};
  EXPECT_EQ(answers, (std::vector<bool>{false, true, false, true, true, false}));
  EXPECT_EQ(state->versionAtInit, 0x5066);
  EXPECT_STREQ(state->order, "init,config,quit,");
  EXPECT_FALSE(player.LoadPlugin("kernel32.dll"));  // no export
}

// Silent frames: the header, then zeroed side information and main data. With
// padding, every other frame is one byte longer, as a CBR encoder writes them.
std::string Frames(int count, const char* header, size_t bytes, bool padding) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    const bool padded = padding && i % 2 == 1;
    std::string frame = std::string(header, 4) + std::string(bytes + padded - 4, '\0');
    if (padded) frame[2] |= 0x02;
    out += frame;
  }
  return out;
}

int LengthMs(const std::string& bytes) {
  return MpegAudioLengthMs(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

// MPEG-1 Layer III, 128 kbps, 44.1 kHz, stereo: 417 bytes a frame (418 padded), 1152 samples.
const char kMpeg1Header[] = "\xff\xfb\x90\x44";
// What looks like a whole frame inside a tag: counted if the tag were taken for audio.
const std::string kFrameInATag = Frames(1, kMpeg1Header, 417, false);
// An ID3v2.3 tag of 417 bytes: its false frame ends where the first real one begins.
const std::string kId3v2 = std::string("ID3\x03\0\0\0\0\x03\x21", 10) + kFrameInATag;
const std::string kId3v1 = "TAG" + std::string(125, ' ');
// MPEG-2 Layer III, 64 kbps, 24 kHz, mono: 192 bytes and 576 samples a frame.
const char kMpeg2Header[] = "\xff\xf3\x84\xc4";

std::string Mpeg1Song(int frames) {
  return kId3v2 + Frames(frames, kMpeg1Header, 417, true);
}

TEST(Mp3LengthTest, CountsTheFramesBetweenTheTagsAndFindsNoStreamInOtherBytes) {
  const int k100FramesMs = 100 * 1152 * 1000 / 44100;  // 2612
  std::string info = Frames(1, kMpeg1Header, 417, false);
  info.replace(4 + 32, 4, "Info");
  std::string cut = Mpeg1Song(100);
  cut.resize(cut.size() - 10);
  std::string oversized = Mpeg1Song(10);
  oversized[6] = 0x7F;
  const std::pair<std::string, int> cases[] = {
      {Mpeg1Song(100) + tagbuild::Lyrics3("LYR00417" + kFrameInATag) + kId3v1, k100FramesMs},
      // An encoder's Info frame plays nothing; junk between frames, a frame of another
      // stream among it, is stepped over.
      {kId3v2 + info + Frames(60, kMpeg1Header, 417, true) + "junk" + Frames(1, kMpeg2Header, 192, false) +
           Frames(40, kMpeg1Header, 417, true) + "LYRICSBEGIN" + kFrameInATag + "LYRICSEND",
       k100FramesMs},
      // A frame cut short by the end of the audio is not played, though the tag after it would fill it.
      {cut + kId3v1, 99 * 1152 * 1000 / 44100},
      {Frames(50, kMpeg2Header, 192, false), 50 * 576 * 1000 / 24000},
      {"", -1},
      {kId3v2 + "text with a lone \xff\xfb\x90\x44 frame header", -1},
      {"RIFF" + kFrameInATag + "with no frame after it", -1},
      {oversized, -1},  // a tag claiming more than the file holds leaves nothing to play
      {Frames(10, "\xff\xfb\x00\x44", 417, false), -1},  // free-format frames have no size to step by
  };
  for (const auto& [bytes, ms] : cases) EXPECT_EQ(LengthMs(bytes), ms) << &bytes - &cases[0].first;
}

}  // namespace
