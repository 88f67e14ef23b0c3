// The MP3 correction in the substitute player, against the test MP3 input module
// (it lands a chosen distance off after a seek while reporting the target) playing
// through the manual-clock output, whose blocks say where in the song they are.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "TestText.h"
#include "player/SubstitutePlayer.h"
#include "player/modules/ManualOutput.h"
#include "player/modules/TestInputControl.h"

namespace {

constexpr int kRate = 44100, kBlockBytes = kTestBlockFrames * 4;  // 16-bit stereo
constexpr int kWaitMs = 20000;

struct Tables {
  WinampInModule input;
  WinampOutModule output;
  bool operator==(const Tables& other) const {
    return std::memcmp(&input, &other.input, sizeof input) == 0 && std::memcmp(&output, &other.output, sizeof output) == 0;
  }
};

class Mp3CorrectionInPlayerTest : public testing::Test {
 protected:
  // The plug-in with its settings in a folder of its own, in_mp3.dll beside it or
  // (moduleBeside false) loaded by the player from elsewhere.
  void Start(int fixSeek, int fixTime, bool moduleBeside = true, int version = kInputModuleVersion, int lengthMs = 240000) {
    player_.reset();
    plugin_ = std::make_unique<TempDir>();
    elsewhere_ = std::make_unique<TempDir>();
    const std::string ini = (plugin_->Path() / "plugin.ini").string();
    WritePrivateProfileStringA("Mirabo's Lyrics Common", "FixSeekMP3", std::to_string(fixSeek).c_str(), ini.c_str());
    WritePrivateProfileStringA("Mirabo's Lyrics Common", "FixTimeMP3", std::to_string(fixTime).c_str(), ini.c_str());
    const std::string pluginPath = (plugin_->Path() / "gen_mrlyrics.dll").string();
    const std::string modulePath = ((moduleBeside ? plugin_ : elsewhere_)->Path() / "in_mp3.dll").string();
    ASSERT_TRUE(CopyFileA(MRLYRICS_PLUGIN_PATH, pluginPath.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(MRLYRICS_TEST_IN_MP3_PATH, modulePath.c_str(), FALSE));
    player_ = std::make_unique<SubstitutePlayer>();
    ASSERT_TRUE(player_->Create(PlayerOptions()));
    ASSERT_TRUE(player_->LoadInputModule(modulePath));
    auto control = reinterpret_cast<GetTestInputControlProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(modulePath.c_str()), kTestInputControlExport)));
    ASSERT_TRUE(control);
    control_ = control();
    control_->lengthMs = lengthMs;
    Input()->version = version;
    before_ = Now();
    ASSERT_TRUE(player_->LoadPlugin(pluginPath));
    ASSERT_TRUE(player_->InitPlugin());
    player_->SetPlaylist({"C:\\song.mp3"});
    player_->Play();
  }
  WinampInModule* Input() const { return player_->InputModule(); }
  Tables Now() const { return {*Input(), *Input()->outMod}; }
  // Of the seven: the input module's start, stop, position, seek and stream
  // information, and its output's write and flush.
  int ChangedSlots() const {
    const Tables now = Now();
    const WinampInModule &in = now.input, &was = before_.input;
    return (in.Play != was.Play) + (in.Stop != was.Stop) + (in.GetOutputTime != was.GetOutputTime) +
           (in.SetOutputTime != was.SetOutputTime) + (in.SetInfo != was.SetInfo) +
           (now.output.Write != before_.output.Write) + (now.output.Flush != before_.output.Flush);
  }

  // Plays `ms` of audio, a buffer at a time, each once the decoder has filled it, and
  // returns with the buffer full again: no write is on its way while a test looks.
  bool PlayFor(int ms) {
    auto filled = [] { return manual_output::Full(kBlockBytes); };
    for (int64_t frames = int64_t{ms} * kRate / 1000; frames > 0 && player_->State() == PlayState::kPlaying;) {
      if (!SubstitutePlayer::PumpUntil(filled, kWaitMs)) return false;
      frames -= manual_output::Advance(std::min<int64_t>(frames, 2 * kRate));  // the whole buffer
    }
    return SubstitutePlayer::PumpUntil(filled, kWaitMs);
  }
  bool Seek(int ms) {
    const int taken = control_->seeksTaken;
    SendMessageA(player_->MainWindow(), kPlayerMessage, ms, kIpcJumpToTime);
    // Every seek here goes into audio already heard, so the decoder is sent one.
    return SubstitutePlayer::PumpUntil([&] { return control_->seeksTaken > taken; }, kWaitMs);
  }
  // The position the plug-in is told, and where the output really is.
  int Reported() const { return static_cast<int>(SendMessageA(player_->MainWindow(), kPlayerMessage, 0, kIpcGetOutputTime)); }
  static int TrueMs() { return static_cast<int>(manual_output::HeadFrame() * 1000 / kRate); }

  std::unique_ptr<TempDir> plugin_, elsewhere_;  // outlive the player, which unloads the copies inside
  std::unique_ptr<SubstitutePlayer> player_;
  TestInputControl* control_ = nullptr;
  Tables before_;
};

TEST_F(Mp3CorrectionInPlayerTest, SeekAfterNinetySecondsShowsTheTruePosition) {
  // 90 s heard, a seek to 60,000 ms, then one second played. Corrected, the shown
  // position is where the output really is, which is just past the target; counting
  // whole milliseconds a block (FixTimeMP3 0), as the player does, falls 0.12 ms a
  // block behind the audio (about 290 ms by the 2,400th block). Uncorrected, it is
  // off by the decoder's error (to a block), and every slot is as the player filled it.
  struct Row { int fixSeek, fixTime; bool moduleBeside; int version, errorMs, lagMs, toleranceMs; bool patched; };
  for (const Row& row : {Row{1, 1, true, 0x100, 3000, 0, 2, true}, {1, 1, true, 0x100, -2500, 0, 2, true},
                         {1, 0, true, 0x100, 1500, 290, 25, true}, {0, 1, true, 0x100, 1500, 1500, 30, false},
                         {1, 1, false, 0x100, 1500, 1500, 30, false}, {1, 1, true, 0xFF, 1500, 1500, 30, false}}) {
    SCOPED_TRACE(testing::Message() << row.fixSeek << row.fixTime << row.moduleBeside << " " << row.version << " " << row.errorMs);
    Start(row.fixSeek, row.fixTime, row.moduleBeside, row.version);
    if (HasFatalFailure()) return;
    control_->seekErrorMs = row.errorMs;
    ASSERT_TRUE(PlayFor(90000));
    ASSERT_TRUE(Seek(60000));
    ASSERT_TRUE(PlayFor(1000));
    const int reported = Reported();
    EXPECT_NEAR(reported, 61000, 40);
    EXPECT_NEAR(TrueMs() - reported, row.lagMs, row.toleranceMs);
    // Every slot ours, or the tables exactly as the player filled them.
    EXPECT_EQ(ChangedSlots(), row.patched ? 7 : 0);
    EXPECT_EQ(Now() == before_, !row.patched);
    player_->QuitPlugin();
    EXPECT_TRUE(Now() == before_);
  }
}

TEST_F(Mp3CorrectionInPlayerTest, QuitAndUnloadWhilePlayingPutEverySlotBack) {
  Start(1, 1);
  ASSERT_TRUE(PlayFor(20000));
  // A second start without a stop must not take our write for the player's (it would
  // call itself), and a stream report of zero rate and channels must not divide by zero.
  Input()->Play(const_cast<char*>("C:\\song.mp3"));
  control_->garbledStreamInfo = true;
  ASSERT_TRUE(PlayFor(5000));
  EXPECT_NEAR(Reported(), 5000, 2);
  EXPECT_NEAR(TrueMs(), 5000, 2);
  ASSERT_TRUE(Seek(2000));
  ASSERT_TRUE(PlayFor(1000));
  EXPECT_NEAR(TrueMs() - Reported(), 0, 2);
  player_->QuitPlugin();
  EXPECT_TRUE(Now() == before_);
  player_->UnloadPlugin();
  // The player plays on with its own functions.
  const int64_t taken = manual_output::BytesTaken();
  const int reported = Reported();
  ASSERT_TRUE(PlayFor(3000));
  EXPECT_GT(manual_output::BytesTaken(), taken);
  EXPECT_NEAR(Reported(), reported + 3000, 2);
}

TEST_F(Mp3CorrectionInPlayerTest, ThirtyMinuteSongPlaysToItsEnd) {
  // An interval of 163 ms: the song's last 7 s lie past the table's 11,000 entries.
  Start(1, 1, true, kInputModuleVersion, 1800000);
  ASSERT_TRUE(PlayFor(1798000));
  EXPECT_NEAR(TrueMs() - Reported(), 0, 2);
  EXPECT_NEAR(Reported(), 1798000, 2);
  // The module posts the end once the output has played out; the player then stops.
  ASSERT_TRUE(SubstitutePlayer::PumpUntil(
      [&] { return manual_output::Advance(kRate), player_->State() == PlayState::kStopped; }, kWaitMs));
  EXPECT_EQ(Input()->outMod->Write, before_.output.Write);
  player_->QuitPlugin();
  EXPECT_TRUE(Now() == before_);
}

}  // namespace
