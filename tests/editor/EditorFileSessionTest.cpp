// The Editor's file: backup, recovery, saving, closing; where the window and a saved name go.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestText.h"
#include "editor/core/EditorFileSession.h"
#include "editor/core/EditorPlacement.h"
#include "editor/core/LyricsFileDialogs.h"
#include "settings/EditorSettings.h"
#include "settings/MemoryIniFile.h"

namespace {

struct Files : ForwardingFileSystem {
  bool WriteFileReplacing(const WString& path, const void* data, size_t size) override {
    return !failWrites && ForwardingFileSystem::WriteFileReplacing(path, data, size);
  }
  bool failWrites = false;
};

// The Editor window and the clock: answers as told, and logs every question and message.
class EditorBackup : public ::testing::Test, public EditorClock, public EditorFileHost {
 protected:
  uint32_t NowMs() override { return now; }
  bool Log(const char* entry, bool result) { return log.push_back(entry), result; }
  void CommitView() override {}
  int AskSaveChanges(bool noCancel) override { return Log(noCancel ? "ask yes/no" : "ask", true) ? answer : 0; }
  bool AskRecover() override { return Log("recover?", recover); }
  bool AskClearReadOnly(const WString&) override { return Log("read-only?", true); }
  bool ChooseSavePath(WString& path) override { return Log("dialog", !(path = chosen).IsEmpty()); }
  void ReportSaveFailed(const WString&) override { Log("save failed", true); }
  void ReportRecoveryFailed(const WString&) override { Log("recovery failed", true); }
  void ReportBackupFailed(const WString&) override { Log("backup failed", true); }

  std::string Marker() { return ini.ReadString(EditorSettings::kSection, "FileName", "", 260); }
  std::string Backup() { return ReadFileBytes(dir.Path() / kBackupFileName); }
  void Type(const char* text) { timeline.ParseText(W(text)), timeline.MarkModified(); }
  void Wait(uint32_t ms) { now += ms, session.Tick(); }
  void Crashed(const std::string& backup, const char* marker) {
    if (!backup.empty()) WriteFileBytes(dir.Path() / kBackupFileName, backup);
    settings.fileName = W(marker), settings.SaveFileName();
  }

  uint32_t now = 0xFFFFF000u;  // GetTickCount wraps after 49 days
  int answer = kAnswerYes;
  bool recover = true;
  WString chosen;  // empty: the save dialog is cancelled
  std::vector<std::string> log;
  TempDir dir;
  MemoryIniFile ini;
  EditorSettings settings{ini};
  Files files;
  LyricsTimeline timeline;
  EditorFileSession session{timeline, settings, files, *this, *this, BackupPathBeside(dir.Wide("gen_mrlyrics.dll"))};
};

TEST_F(EditorBackup, ChangesAreBackedUpEveryFiveSecondsUntilSaved) {
  files.failWrites = true;
  Type("[00:01]new");
  Wait(5000), Wait(5000);
  EXPECT_EQ(log, std::vector<std::string>{"backup failed"});  // once, and no marker without a backup
  EXPECT_EQ(Backup() + Marker(), "");
  files.failWrites = false;
  Wait(4999);
  EXPECT_EQ(Backup(), "");
  Wait(1);
  EXPECT_EQ(Backup() + Marker(), "[00:01]newNoFileName");
  const WString saved = dir.Wide("a.txt");
  EXPECT_EQ(session.SaveFile(saved), 1);
  EXPECT_EQ(Backup() + Marker(), "");
  Type("changed");
  Wait(5000);
  EXPECT_EQ(Marker(), saved.ToAnsi());
  // Saving onto the backup file itself keeps what was just saved.
  EXPECT_EQ(session.SaveFile(session.BackupPath()), 1);
  EXPECT_EQ(Backup() + Marker(), "changed");
}

TEST_F(EditorBackup, RecoveredTextIsUnsavedFailedRecoveryKeepsEverything) {
  Crashed("", "C:\\lyrics\\a.txt");
  EXPECT_EQ(session.RecoverAtCreation(), Recovery::kFailed);
  EXPECT_EQ(timeline.SourcePath().ToUtf8() + Marker(), "C:\\lyrics\\a.txt");  // the name is not adopted

  Crashed("[00:01]" + std::string(70000, 'x'), "C:\\lyrics\\a.txt");  // more than a lyrics file may hold
  EXPECT_EQ(session.RecoverAtCreation(), Recovery::kRecovered);
  EXPECT_EQ(timeline.SourcePath().ToUtf8() + Marker(), "C:\\lyrics\\a.txtC:\\lyrics\\a.txt");
  EXPECT_EQ(timeline.LineText(0).Length(), 70000u);
  answer = kAnswerNo;
  EXPECT_EQ(session.CanClose(false), 1);  // asks: the text was never saved
  EXPECT_EQ(Backup() + Marker(), "");

  Crashed("text", "NoFileName");
  recover = false;
  EXPECT_EQ(session.RecoverAtCreation(), Recovery::kDeclined);
  EXPECT_EQ(Backup() + Marker(), "");
  EXPECT_EQ(session.RecoverAtCreation(), Recovery::kNothing);
  EXPECT_EQ(log, (std::vector<std::string>{"recover?", "recovery failed", "recover?", "ask", "recover?"}));
}

TEST_F(EditorBackup, AFailedOrCancelledSaveCountsAsCancel) {
  Type("typed");
  EXPECT_EQ(session.CanClose(false), 0);  // the save dialog was cancelled
  EXPECT_EQ(session.OpenFile(dir.Wide("other.txt")), 0);
  EXPECT_EQ(timeline.LineText(0).ToUtf8() + Backup(), "typed");
  // The plug-in stops: the backup is made at once, and the Editor closes all the same.
  EXPECT_EQ(session.CanClose(true), 1);
  EXPECT_EQ(Backup(), "typed");
  EXPECT_EQ(log, (std::vector<std::string>{"ask", "dialog", "ask", "dialog", "ask yes/no", "dialog"}));

  chosen = dir.Wide("locked.txt");
  WriteFileBytes(dir.Path() / "locked.txt", "old");
  std::filesystem::permissions(dir.Path() / "locked.txt", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  EXPECT_EQ(session.Save(), 1);
  EXPECT_EQ(log.back() + ReadFileBytes(dir.Path() / "locked.txt"), "read-only?typed");
}

TEST(EditorPlacement, ATitleBarOffTheWorkAreaMovesToItsCorner) {
  const SettingsRect work{0, 40, 1280, 1024};  // a taskbar along the top
  const struct { SettingsRect saved, placed; } cases[] = {
      {{100, 30, 520, 270}, {100, 30, 520, 270}},   // half the title bar shows
      {{2000, 100, 2420, 340}, {0, 40, 420, 280}},  // a monitor that is gone
      {{0, 0, 600, 20}, {0, 40, 600, 60}},          // the title bar under the taskbar
      {{500, 500, 100, 100}, {0, 40, 420, 280}}, {{INT32_MIN, 0, INT32_MAX, 100}, {0, 40, 420, 280}}};  // default size
  for (const auto& c : cases) EXPECT_EQ(PlaceEditorWindow(c.saved, work, 20), c.placed) << c.saved.left;
}

TEST(SaveDialog, TheTextFilterAddsTxtToATypedName) {
  TempDir dir;
  WriteFileBytes(dir.Path() / "song.txt", "");
  EXPECT_EQ(FilterForName(W("a.TXT")) * 10 + FilterForName(W("a.lrc")), kFilterText * 10 + kFilterAll);
  const struct { const char* typed; int filter; const char* saved; bool ask; } cases[] = {
      {"song", kFilterText, "song.txt", true}, {"new", kFilterText, "new.txt", false},
      {"song", kFilterAll, "song", false}, {"a.TXT", kFilterText, "a.TXT", false}};
  for (const auto& c : cases) {
    const SaveTarget target = SaveTargetFor(dir.Wide(c.typed), c.filter, PlatformFileSystem());
    EXPECT_EQ(std::make_pair(target.path, target.askOverwrite), std::make_pair(dir.Wide(c.saved), c.ask)) << c.typed;
  }
}

}  // namespace
