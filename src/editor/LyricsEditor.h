#pragma once
// The Editor (window 2): a top-level window with menu 116 around one of three views
// (line list, free text, karaoke), its commands, and its file handling through an
// EditorFileSession: opening (a chosen, dropped or the playing song's file), saving,
// the save question, and the backup with its crash marker and recovery.

#include <windows.h>

#include <memory>

#include "editor/EditorView.h"
#include "editor/core/EditorFileSession.h"
#include "host/PluginWindow.h"
#include "host/ScopedHandles.h"
#include "host/WindowBase.h"
#include "lyrics/LyricsTimeline.h"

class EditorSettings;
class PlayerLink;
class PluginApp;

class LyricsEditor : public WindowBase, public PluginWindow, private EditorFileHost, private EditorClock {
 public:
  static constexpr const char* kClassName = "Mirabo's Lyrics Editor";
  // The edit modes, in the order command 40011 cycles through them.
  enum Mode : int { kLineListMode = 1, kTextMode = 2, kKaraokeMode = 3 };

  explicit LyricsEditor(PluginApp& app);
  ~LyricsEditor() override;

  // Creates the window and its view, offers the backup after a crash or else opens
  // the playing song's lyrics, and shows the window.
  bool Open();

  // PluginWindow
  HWND Handle() const override { return WindowBase::Handle(); }
  bool MayClose(bool force) override;
  void SongChanged() override;
  void ApplySettings() override;
  void Tick() override;
  bool PreTranslate(MSG& msg) override;

  // The title bar; the line-list view shows the playing line there.
  void SetTitle(const WString& title);
  int Mode() const { return mode_; }
  EditorView* View() const { return view_.get(); }
  LyricsTimeline& Lyrics() { return timeline_; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // EditorFileHost
  void CommitView() override;
  int AskSaveChanges(bool noCancel) override;
  bool AskRecover() override;
  bool AskClearReadOnly(const WString& path) override;
  bool ChooseSavePath(WString& path) override;
  void ReportSaveFailed(const WString& path) override;
  void ReportRecoveryFailed(const WString& backupPath) override;
  void ReportBackupFailed(const WString& backupPath) override;
  // EditorClock
  uint32_t NowMs() override { return GetTickCount(); }

  int Ask(UINT stringId, UINT buttons);
  void OnCommand(UINT id);
  void SwitchMode(int requested);
  std::unique_ptr<EditorView> MakeView(int mode, int line, int top);
  void ReloadView();
  void ShowSourceTitle();
  void OpenFile(const WString& path);
  void ShowOpened();
  void OpenPlayingLyrics();
  void OpenWithDialog();
  void Save();
  void SaveAs();
  WString ProposedName();
  // Where the locator finds the song's lyrics, or would make them.
  WString LyricsPathFor(const WString& song) const;
  void ConfirmAndEdit(UINT stringId, int (LyricsTimeline::*edit)());
  void SendToDisplayer();
  void OnDropFiles(HDROP drop);
  void OnSizeOrMove();
  EditorViewContext ViewContext();

  PluginApp& app_;
  EditorSettings& settings_;
  PlayerLink& link_;
  LyricsTimeline timeline_;
  EditorFileSession session_;
  std::unique_ptr<EditorView> view_;
  HACCEL accelerators_ = nullptr;  // a resource: freed with the module
  OwnedIcon smallIcon_;
  int mode_ = kLineListMode;
  // Set while the Editor fills a view itself: the text box's change notices then are
  // not the user's typing.
  bool fillingView_ = false;
};
