#include "editor/core/EditorFileSession.h"

#include <string>

#include "base/CodePage.h"
#include "base/FilePath.h"
#include "lyrics/LyricsFormat.h"
#include "settings/EditorSettings.h"
#include "sources/LyricsReaders.h"

namespace {

// The backup holds whatever the user typed, which may be more than a lyrics file
// the readers accept; the cap only keeps a damaged file from exhausting a 32-bit
// process, which holds the bytes and the wide text at once.
constexpr uint64_t kMaxBackupSize = 16u << 20;

// Reads the backup whole, without the lyrics readers' size cap.
class BackupReader : public LyricsSourceReader {
 public:
  explicit BackupReader(FileSystem& files) : files_(files) {}
  bool ReadLyricsText(const WString& path, WString& text) const override {
    std::unique_ptr<ByteSource> file = files_.OpenForReading(path);
    if (!file || file->Size() > kMaxBackupSize) return false;
    std::string bytes(static_cast<size_t>(file->Size()), '\0');
    if (!bytes.empty() && !file->ReadAt(0, &bytes[0], bytes.size())) return false;
    text = AnsiToWide(bytes.data(), bytes.size());
    return true;
  }

 private:
  FileSystem& files_;
};

}  // namespace

WString BackupPathBeside(const WString& modulePath) {
  WString path = FilePath(modulePath).Folder();
  path.AppendAscii(kBackupFileName);
  return path;
}

EditorFileSession::EditorFileSession(LyricsTimeline& timeline, EditorSettings& settings, FileSystem& files,
                                     EditorClock& clock, EditorFileHost& host, const WString& backupPath)
    : timeline_(timeline), settings_(settings), files_(files), clock_(clock), host_(host), backupPath_(backupPath) {
  MarkClean();
}

void EditorFileSession::MarkClean() {
  cleanCount_ = backedUpCount_ = timeline_.ModificationCount();
  lastStep_ = clock_.NowMs();
}

void EditorFileSession::SetMarker(const WString& value) {
  settings_.fileName = value;
  settings_.SaveFileName();
}

Recovery EditorFileSession::RecoverAtCreation() {
  if (settings_.fileName.IsEmpty()) return Recovery::kNothing;
  if (!host_.AskRecover()) {
    ownsBackup_ = true;  // the user gave it up
    DropBackup();
    return Recovery::kDeclined;
  }
  LyricsTimeline recovered;
  recovered.SetShowUntaggedLines(true);
  if (!recovered.LoadLyricsSource(backupPath_, BackupReader(files_))) {
    // Keep both: the file may be readable at the next start, and the marker's name
    // must not be given to a document that is not that file's text.
    host_.ReportRecoveryFailed(backupPath_);
    return Recovery::kFailed;
  }
  timeline_ = recovered;
  timeline_.SetSourcePath(settings_.fileName.EqualsAscii(kNoFileNameMarker) ? WString() : settings_.fileName);
  MarkClean();
  // The recovered text was never saved: it stays unsaved, and the backup (which holds
  // exactly this text) and the marker stay until it is saved or given up.
  timeline_.MarkModified();
  backedUpCount_ = timeline_.ModificationCount();
  ownsBackup_ = true;
  return Recovery::kRecovered;
}

int EditorFileSession::OpenFile(const WString& path) {
  if (IsModified()) {
    const int answer = AskSave(false);
    if (answer == kAnswerCancel) return 0;
    if (answer == kAnswerYes && !Save()) return 0;
  }
  timeline_.SetShowUntaggedLines(true);
  if (timeline_.LoadLyricsSource(path, LyricsFileReader(files_))) {
    // Lyrics from an audio file's tag cannot be saved back into it: Save asks a name.
    if (FilePath(path).Extension().EqualsAsciiNoCase("mp3")) timeline_.SetSourcePath(WString());
  } else {
    timeline_.ParseText(WString());
  }
  MarkClean();
  return 1;
}

int EditorFileSession::Save() {
  WString path = timeline_.SourcePath();
  if (path.IsEmpty() && !host_.ChooseSavePath(path)) return 0;
  return SaveFile(path);
}

int EditorFileSession::SaveFile(const WString& path) {
  if (files_.IsReadOnly(path) && host_.AskClearReadOnly(path)) files_.ClearReadOnly(path);
  host_.CommitView();
  const WString oldPath = timeline_.SourcePath();
  timeline_.SetSourcePath(path);
  if (!timeline_.SaveToSource(files_)) {
    timeline_.SetSourcePath(oldPath);
    host_.ReportSaveFailed(path);
    return 0;
  }
  MarkClean();
  if (IsBackupFile(path)) {
    // Saved onto the backup file itself: that file is the user's now and stays.
    SetMarker(WString());
    ownsBackup_ = false;
  }
  DropBackup();
  return 1;
}

int EditorFileSession::AskSave(bool noCancel) {
  const int answer = host_.AskSaveChanges(noCancel);
  if (answer == kAnswerNo) {
    backedUpCount_ = timeline_.ModificationCount();
    DropBackup();
  }
  return answer;
}

int EditorFileSession::CanClose(bool force) {
  if (force) BackupNow();
  if (!IsModified()) return 1;
  switch (AskSave(force)) {
    case kAnswerYes:
      return (Save() || force) ? 1 : 0;
    case kAnswerNo:
      return 1;
    default:
      return force ? 1 : 0;
  }
}

void EditorFileSession::Tick() {
  if (clock_.NowMs() - lastStep_ < kBackupInterval) return;
  BackupNow();
}

bool EditorFileSession::BackupNow() {
  lastStep_ = clock_.NowMs();
  if (timeline_.ModificationCount() == backedUpCount_) return true;
  host_.CommitView();
  // The same safe save as the user's: a crash while writing leaves the last backup.
  // The marker follows the backup, so a marker never points at a backup not yet made.
  bool ok = SaveLyrics(timeline_, backupPath_, files_) != 0;
  if (ok && (!ownsBackup_ || settings_.fileName.IsEmpty())) {
    const WString& source = timeline_.SourcePath();
    settings_.fileName = source.IsEmpty() ? WString::FromUtf8(kNoFileNameMarker) : source;
    ok = settings_.SaveFileName();
  }
  if (ok) {
    ownsBackup_ = true;
    backedUpCount_ = timeline_.ModificationCount();
    backupFailureReported_ = false;
  } else if (!backupFailureReported_) {
    // Once per run of failures: the step is tried again every few seconds.
    backupFailureReported_ = true;
    host_.ReportBackupFailed(backupPath_);
  }
  return ok;
}

void EditorFileSession::DropBackup() {
  if (!ownsBackup_) return;
  files_.RemoveFile(backupPath_);
  if (!settings_.fileName.IsEmpty()) SetMarker(WString());
  ownsBackup_ = false;
}

bool EditorFileSession::IsBackupFile(const WString& path) {
  FileIdentity saved, backup;
  if (files_.Identify(path, saved) && files_.Identify(backupPath_, backup)) return saved == backup;
  // Neither is there to identify: compare the names the way Windows matches them.
  if (path.Length() != backupPath_.Length()) return false;
  auto fold = [](WChar c) { return c >= u'A' && c <= u'Z' ? WChar(c - u'A' + u'a') : c == u'/' ? u'\\' : c; };
  for (size_t i = 0; i < path.Length(); ++i)
    if (fold(path[i]) != fold(backupPath_[i])) return false;
  return true;
}
