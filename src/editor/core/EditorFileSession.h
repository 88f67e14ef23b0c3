#pragma once
// The Editor's file handling without its windows: opening, saving, the save question
// before unsaved changes are lost, and the crash protection. While there are unsaved
// changes a copy of the text is kept in a backup file beside the plug-in, and the
// Editor settings' FileName (the crash marker) names the file being edited ("NoFileName"
// for a document without one); a clean end of editing removes both, so a marker found
// when the Editor opens means the plug-in stopped without one, and the backup is
// offered. Questions, messages and the view go through EditorFileHost; files through
// an injected FileSystem; time through an injected clock.

#include <cstdint>

#include "base/FileSystem.h"
#include "base/WString.h"
#include "lyrics/LyricsTimeline.h"

class EditorSettings;

// The buttons of the save question, as the message box answers them.
enum SaveAnswer : int { kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

// What the Editor window does for the session.
class EditorFileHost {
 public:
  virtual ~EditorFileHost() = default;
  // Puts the view's text into the document (the text view parses its box).
  virtual void CommitView() = 0;
  // The save question: Yes, No and, unless noCancel, Cancel. Answers a SaveAnswer.
  virtual int AskSaveChanges(bool noCancel) = 0;
  // The recovery question after a crash: true for Yes.
  virtual bool AskRecover() = 0;
  // The target is read-only: true to make it writable.
  virtual bool AskClearReadOnly(const WString& path) = 0;
  // The save dialog for a document without a file name; false when cancelled.
  virtual bool ChooseSavePath(WString& path) = 0;
  virtual void ReportSaveFailed(const WString& path) = 0;
  // The backup could not be read: it and the marker are kept for the next start.
  virtual void ReportRecoveryFailed(const WString& backupPath) = 0;
  // The backup could not be written: the unsaved changes are not protected.
  virtual void ReportBackupFailed(const WString& backupPath) = 0;
};

// Milliseconds from any fixed start (GetTickCount); wrapping around is fine.
class EditorClock {
 public:
  virtual ~EditorClock() = default;
  virtual uint32_t NowMs() = 0;
};

constexpr const char* kBackupFileName = "gen_mrlyrics_backup.txt";
constexpr const char* kNoFileNameMarker = "NoFileName";
// The backup is written this often while there are unsaved changes.
constexpr uint32_t kBackupInterval = 5000;

// The backup file beside the plug-in library at modulePath.
WString BackupPathBeside(const WString& modulePath);

enum class Recovery {
  kNothing,    // no marker: the Editor opens the playing song's lyrics
  kRecovered,  // the backup is in the document, under its old name, unsaved
  kDeclined,   // the user said no: backup and marker are gone
  kFailed,     // the backup could not be read (reported); it and the marker stay
};

class EditorFileSession {
 public:
  EditorFileSession(LyricsTimeline& timeline, EditorSettings& settings, FileSystem& files, EditorClock& clock,
                    EditorFileHost& host, const WString& backupPath);
  EditorFileSession(const EditorFileSession&) = delete;
  EditorFileSession& operator=(const EditorFileSession&) = delete;

  // At the Editor's creation. On anything but kRecovered the window goes on to open
  // the playing song's lyrics.
  Recovery RecoverAtCreation();

  // Opens lyrics (an empty path: a new document); a save question first when there
  // are unsaved changes. 1 when the document was replaced (also by an empty one when
  // the file gives nothing), 0 when the user cancelled or the asked-for save failed.
  int OpenFile(const WString& path);
  // Save: to the document's file, or through the save dialog without one.
  int Save();
  // Save as: to path, which becomes the document's file. 1 saved; 0 not saved
  // (reported), the document keeps its old file name.
  int SaveFile(const WString& path);
  // The save question; No gives the changes up (backup and marker go).
  int AskSave(bool noCancel);
  // 1 when the Editor may close. force (the plug-in stops): no Cancel, the backup is
  // brought up to date first, and a failed save still closes (the next start offers
  // the backup). Without force a failed or cancelled save keeps the Editor open.
  int CanClose(bool force);
  // Every Editor tick: the backup step, about every kBackupInterval.
  void Tick();
  // Brings the backup up to date now; false when there were changes and the backup or
  // the marker could not be written.
  bool BackupNow();

  bool IsModified() const { return timeline_.ModificationCount() != cleanCount_; }
  const WString& BackupPath() const { return backupPath_; }

 private:
  void MarkClean();
  void SetMarker(const WString& value);
  // The changes are saved or given up: the backup and the marker go (when they are ours).
  void DropBackup();
  bool IsBackupFile(const WString& path);

  LyricsTimeline& timeline_;
  EditorSettings& settings_;
  FileSystem& files_;
  EditorClock& clock_;
  EditorFileHost& host_;
  WString backupPath_;
  uint32_t lastStep_ = 0;
  uint32_t cleanCount_ = 0;     // the modification count of the text as opened or saved
  uint32_t backedUpCount_ = 0;  // the modification count of the text in the backup
  bool ownsBackup_ = false;     // the backup and the marker are this session's
  bool backupFailureReported_ = false;
};
