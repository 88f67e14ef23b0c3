#include "editor/core/EditorFileSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "TestText.h"
#include "settings/EditorSettings.h"
#include "settings/MemoryIniFile.h"

namespace {

struct Files : ForwardingFileSystem {
  bool failWrites = false;
  bool WriteFileReplacing(const WString& path, const void* data, size_t size) override {
    return !failWrites && ForwardingFileSystem::WriteFileReplacing(path, data, size);
  }
};

struct Clock : EditorClock {
  uint32_t now = 0xFFFFF000u;  // GetTickCount wraps after 49 days
  uint32_t NowMs() override { return now; }
};

struct Host : EditorFileHost {
  int answer = kAnswerYes;
  bool recover = true;
  WString chosen;  // empty: the save dialog is cancelled
  std::vector<std::string> log;

  void CommitView() override {}
  int AskSaveChanges(bool noCancel) override {
    log.push_back(noCancel ? "ask yes/no" : "ask");
    return answer;
  }
  bool AskRecover() override { return log.push_back("recover?"), recover; }
  bool AskClearReadOnly(const WString&) override { return log.push_back("read-only?"), true; }
  bool ChooseSavePath(WString& path) override {
    log.push_back("dialog");
    path = chosen;
    return !chosen.IsEmpty();
  }
  void ReportSaveFailed(const WString&) override { log.push_back("save failed"); }
  void ReportRecoveryFailed(const WString&) override { log.push_back("recovery failed"); }
  void ReportBackupFailed(const WString&) override { log.push_back("backup failed"); }
  long Count(const char* entry) const { return std::count(log.begin(), log.end(), entry); }
};

class EditorBackup : public ::testing::Test {
 protected:
  std::string Marker() { return ini.ReadString(EditorSettings::kSection, "FileName", "-", 260); }
  bool BackupExists() { return std::filesystem::exists(dir.Path() / kBackupFileName); }
  void Type(const char* text) {
    timeline.ParseText(W(text));
    timeline.MarkModified();
  }
  void Wait(uint32_t ms) {
    clock.now += ms;
    session.Tick();
  }
  void CrashLeftBehind(const std::string& backupBytes, const char* marker) {
    if (!backupBytes.empty()) WriteFileBytes(dir.Path() / kBackupFileName, backupBytes);
    settings.fileName = W(marker);
    settings.SaveFileName();
  }

  TempDir dir;
  MemoryIniFile ini;
  EditorSettings settings{ini};
  Files files;
  Clock clock;
  Host host;
  LyricsTimeline timeline;
  EditorFileSession session{timeline, settings, files, clock, host, BackupPathBeside(dir.Wide("gen_mrlyrics.dll"))};
};

TEST_F(EditorBackup, ChangesAreBackedUpEveryFiveSecondsUntilSaved) {
  Type("[00:01]new");
  Wait(4999);
  EXPECT_FALSE(BackupExists());
  Wait(1);
  EXPECT_EQ(ReadFileBytes(dir.Path() / kBackupFileName), "[00:01]new");
  EXPECT_EQ(Marker(), "NoFileName");

  const WString saved = dir.Wide("a.txt");
  EXPECT_EQ(session.SaveFile(saved), 1);
  EXPECT_FALSE(BackupExists());
  EXPECT_EQ(Marker(), "");
  Type("changed");
  Wait(5000);
  EXPECT_EQ(Marker(), saved.ToAnsi());
  // Saving onto the backup file itself keeps what was just saved.
  EXPECT_EQ(session.SaveFile(session.BackupPath()), 1);
  EXPECT_EQ(ReadFileBytes(dir.Path() / kBackupFileName), "changed");
  EXPECT_EQ(Marker(), "");
}

TEST_F(EditorBackup, RecoveredTextIsUnsavedAndLongerThanALyricsFile) {
  CrashLeftBehind("[00:01]" + std::string(70000, 'x'), "C:\\lyrics\\a.txt");
  EXPECT_EQ(session.RecoverAtCreation(), Recovery::kRecovered);
  EXPECT_EQ(timeline.SourcePath().ToUtf8(), "C:\\lyrics\\a.txt");
  EXPECT_EQ(timeline.LineText(0).Length(), 70000u);
  EXPECT_TRUE(session.IsModified());
  EXPECT_TRUE(BackupExists());
  EXPECT_EQ(Marker(), "C:\\lyrics\\a.txt");

  host.answer = kAnswerNo;
  EXPECT_EQ(session.CanClose(false), 1);
  EXPECT_FALSE(BackupExists());
  EXPECT_EQ(Marker(), "");
}

TEST_F(EditorBackup, FailedRecoveryKeepsBackupAndMarkerDeclinedDropsThem) {
  CrashLeftBehind("", "C:\\lyrics\\a.txt");
  EXPECT_EQ(session.RecoverAtCreation(), Recovery::kFailed);
  EXPECT_EQ(host.Count("recovery failed"), 1);
  EXPECT_TRUE(timeline.SourcePath().IsEmpty());
  EXPECT_EQ(Marker(), "C:\\lyrics\\a.txt");

  CrashLeftBehind("text", "NoFileName");
  host.recover = false;
  EXPECT_EQ(session.RecoverAtCreation(), Recovery::kDeclined);
  EXPECT_FALSE(BackupExists());
  EXPECT_EQ(Marker(), "");
  EXPECT_EQ(session.RecoverAtCreation(), Recovery::kNothing);
}

TEST_F(EditorBackup, AFailedOrCancelledSaveCountsAsCancel) {
  Type("typed");
  EXPECT_EQ(session.CanClose(false), 0);              // the save dialog was cancelled
  EXPECT_EQ(session.OpenFile(dir.Wide("other.txt")), 0);
  EXPECT_EQ(timeline.LineText(0).ToUtf8(), "typed");
  EXPECT_FALSE(BackupExists());
  // The plug-in stops: the backup is made at once, and the Editor closes all the same.
  EXPECT_EQ(session.CanClose(true), 1);
  EXPECT_TRUE(BackupExists());
  EXPECT_EQ(host.log, (std::vector<std::string>{"ask", "dialog", "ask", "dialog", "ask yes/no", "dialog"}));

  host.chosen = dir.Wide("locked.txt");
  WriteFileBytes(dir.Path() / "locked.txt", "old");
  std::filesystem::permissions(dir.Path() / "locked.txt", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  EXPECT_EQ(session.Save(), 1);
  EXPECT_EQ(host.Count("read-only?"), 1);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "locked.txt"), "typed");
}

TEST_F(EditorBackup, AnUnwritableBackupIsReportedOnceAndRetried) {
  files.failWrites = true;
  Type("typed");
  Wait(5000);
  Wait(5000);
  EXPECT_EQ(host.Count("backup failed"), 1);
  EXPECT_TRUE(settings.fileName.IsEmpty());  // no marker for a backup that is not there
  files.failWrites = false;
  Wait(5000);
  EXPECT_TRUE(BackupExists());
  EXPECT_EQ(Marker(), "NoFileName");
}

}  // namespace
