#include "editor/LyricsEditor.h"

#include <commdlg.h>
#include <shellapi.h>

#include <vector>

#include "base/FilePath.h"
#include "editor/EditorViews.h"
#include "editor/LineListView.h"
#include "editor/TextEditView.h"
#include "editor/core/EditorPlacement.h"
#include "editor/core/LyricsFileDialogs.h"
#include "editor/core/StampRules.h"
#include "host/PluginApp.h"
#include "host/PluginDescription.h"
#include "resources/resource.h"
#include "settings/EditorSettings.h"
#include "sources/LyricsLocator.h"

namespace {

// Asks the Editor to tell the user, outside the tick that found it, that the backup
// could not be written.
constexpr UINT kShowBackupFailed = WM_APP + 1;

// Room for any name the file dialogs give back; a path that does not fit is left out
// of the proposal rather than cut to a name that could be another file.
constexpr size_t kDialogBufferChars = 32768;

std::vector<wchar_t> DialogBuffer(const WString& proposal) {
  std::vector<wchar_t> buffer(kDialogBufferChars, L'\0');
  if (proposal.Length() < buffer.size()) std::copy(proposal.W(), proposal.W() + proposal.Length(), buffer.begin());
  return buffer;
}

// The dialogs' filter list in wide text, NULs kept.
std::wstring WideFilter() {
  std::wstring filter;
  for (size_t i = 0; i < kLyricsFileFilterSize; ++i) filter += static_cast<wchar_t>(kLyricsFileFilter[i]);
  return filter;
}

WString WithoutLineEnds(WString text) {
  WString flat;
  for (WChar c : text) flat.Append(c == u'\r' || c == u'\n' ? WChar(u' ') : c);
  return flat;
}

}  // namespace

LyricsEditor::LyricsEditor(PluginApp& app)
    : WindowBase(kClassName),
      app_(app),
      settings_(app.Editor()),
      link_(app.Link()),
      session_(timeline_, settings_, PlatformFileSystem(), *this, *this,
               BackupPathBeside(ModulePath(app.Instance()))) {}

LyricsEditor::~LyricsEditor() {
  // The view first: the text view commits into the document, and it is a child of ours.
  view_.reset();
  Destroy();
  // A class registered by a library that is unloaded would keep a dangling procedure.
  UnregisterWindowClass(kClassName);
}

bool LyricsEditor::Open() {
  WNDCLASSEXA record{};
  record.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  record.hIcon = LoadIconA(app_.Instance(), MAKEINTRESOURCEA(IDI_EDITOR));
  smallIcon_.Reset(static_cast<HICON>(LoadImageA(app_.Instance(), MAKEINTRESOURCEA(IDI_EDITOR), IMAGE_ICON, 16, 16, 0)));
  record.hIconSm = smallIcon_.Get();
  record.hCursor = LoadCursor(nullptr, IDC_ARROW);
  record.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  record.lpszMenuName = MAKEINTRESOURCEA(IDR_EDITOR_MENU);
  RegisterWindowClass(record, kClassName);

  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const SettingsRect placed = PlaceEditorWindow(settings_.windowRect, {work.left, work.top, work.right, work.bottom},
                                                GetSystemMetrics(SM_CYCAPTION));
  const RECT rect{placed.left, placed.top, placed.right, placed.bottom};
  // Shown only once the lyrics are in (below), never as an empty window first.
  if (!CreateUnder(nullptr, "", WS_EX_ACCEPTFILES, WS_OVERLAPPEDWINDOW, rect, 0)) return false;
  accelerators_ = LoadAcceleratorsA(app_.Instance(), MAKEINTRESOURCEA(IDR_EDITOR_ACCELERATORS));
  SwitchMode(kLineListMode);
  if (!view_) return false;

  if (session_.RecoverAtCreation() == Recovery::kRecovered) {
    ReloadView();
    ShowSourceTitle();
  } else {
    OpenPlayingLyrics();
  }
  Show(SW_SHOWNORMAL);
  Update();
  return true;
}

// --- The views ----------------------------------------------------------------------

EditorViewContext LyricsEditor::ViewContext() {
  return EditorViewContext{app_, link_, settings_, *this, timeline_, Handle()};
}

std::unique_ptr<EditorView> LyricsEditor::MakeView(int mode, int line, int top) {
  fillingView_ = true;
  std::unique_ptr<EditorView> view;
  if (mode == kKaraokeMode) {
    view = CreateKaraokeEditView(ViewContext(), line);
  } else if (mode == kTextMode) {
    auto text = std::make_unique<TextEditView>(ViewContext());
    if (text->Open(line, top)) view = std::move(text);
  } else {
    auto list = std::make_unique<LineListView>(ViewContext());
    if (list->Open(line, top)) view = std::move(list);
  }
  fillingView_ = false;
  return view;
}

// The new view starts on the old one's caret line; the text view commits its typing
// as it goes. Karaoke mode needs a document it can edit: else the line list.
void LyricsEditor::SwitchMode(int requested) {
  int line = 0, top = 0;
  if (view_) {
    line = view_->CaretLine();
    top = view_->ScrollTop();
    view_.reset();
  }
  int mode = requested ? requested : mode_ % 3 + 1;
  if (mode == kKaraokeMode && !KaraokeEditingPossible(timeline_)) mode = kLineListMode;
  view_ = MakeView(mode, line, top);
  if (!view_ && mode != kLineListMode) view_ = MakeView(mode = kLineListMode, line, top);
  mode_ = mode;
  if (mode_ != kLineListMode) ShowSourceTitle();
  if (view_) SetFocus(view_->Handle());
}

void LyricsEditor::ReloadView() {
  if (!view_) return;
  fillingView_ = true;
  view_->Reload();
  fillingView_ = false;
}

void LyricsEditor::CommitView() {
  if (view_) view_->Commit();
}

void LyricsEditor::SetTitle(const WString& title) { SetWindowTextW(Handle(), WithoutLineEnds(title).W()); }

void LyricsEditor::ShowSourceTitle() { SetTitle(timeline_.SourcePath()); }

// --- PluginWindow --------------------------------------------------------------------

bool LyricsEditor::MayClose(bool force) { return session_.CanClose(force) != 0; }

void LyricsEditor::SongChanged() {
  if (settings_.alwaysOpen) OpenPlayingLyrics();
}

void LyricsEditor::ApplySettings() {
  if (view_) view_->SettingsChanged();
}

void LyricsEditor::Tick() {
  if (view_) view_->Tick();
  session_.Tick();
}

// Only keys meant for the Editor: Ctrl+S typed into the Displayer saves nothing here.
bool LyricsEditor::PreTranslate(MSG& msg) {
  if (!accelerators_ || !Handle()) return false;
  if (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd)) return false;
  return TranslateAcceleratorA(Handle(), accelerators_, &msg) != 0;
}

// --- Questions and messages ------------------------------------------------------------

int LyricsEditor::Ask(UINT stringId, UINT buttons) {
  const WString text = LoadResourceString(app_.Instance(), stringId);
  const WString caption = LoadResourceString(app_.Instance(), IDS_PRODUCT_NAME);
  return MessageBoxW(Handle(), text.W(), caption.W(), buttons);
}

int LyricsEditor::AskSaveChanges(bool noCancel) {
  SetForegroundWindow(Handle());
  return Ask(IDS_SAVE_CHANGES, noCancel ? MB_YESNO : MB_YESNOCANCEL);
}

bool LyricsEditor::AskRecover() { return Ask(IDS_RECOVER, MB_YESNO) == IDYES; }

bool LyricsEditor::AskClearReadOnly(const WString&) { return Ask(IDS_READ_ONLY, MB_YESNO) == IDYES; }

void LyricsEditor::ReportSaveFailed(const WString&) { Ask(IDS_SAVE_FAILED, MB_OK); }

void LyricsEditor::ReportRecoveryFailed(const WString&) { Ask(IDS_RECOVERY_FAILED, MB_OK | MB_ICONWARNING); }

// Found inside a tick, while the user may be stamping: told once the tick is over.
void LyricsEditor::ReportBackupFailed(const WString&) { Post(kShowBackupFailed); }

// --- Files ------------------------------------------------------------------------------

void LyricsEditor::OpenFile(const WString& path) {
  if (session_.OpenFile(path)) ShowOpened();
}

// A text just opened: karaoke mode only where it can be edited so.
void LyricsEditor::ShowOpened() {
  if (mode_ == kKaraokeMode && !KaraokeEditingPossible(timeline_)) SwitchMode(kLineListMode);
  ShowSourceTitle();
  ReloadView();
}

// The lyrics file of the playing song, where the locator finds it or would make it;
// an MP3 song without one may carry its lyrics in its own Lyrics3 tag, opened with no
// file name (a save asks for one).
void LyricsEditor::OpenPlayingLyrics() {
  WString song;
  link_.GetPlayingFile(song);
  if (!session_.OpenFile(LyricsPathFor(song))) return;
  if (timeline_.SourcePath().IsEmpty() && FilePath(song).Extension().EqualsAsciiNoCase("mp3")) session_.OpenFile(song);
  ShowOpened();
}

WString LyricsEditor::ProposedName() {
  WString song;
  link_.GetPlayingFile(song);
  return LyricsPathFor(song);
}

WString LyricsEditor::LyricsPathFor(const WString& song) const {
  SourceOptions options = app_.Common().ToSourceOptions();  // the locator keeps it
  return LyricsLocator(options).Locate(song);
}

void LyricsEditor::OpenWithDialog() {
  const WString proposal = ProposedName();
  std::vector<wchar_t> buffer = DialogBuffer(proposal);
  const std::wstring filter = WideFilter();
  const WString title = LoadResourceString(app_.Instance(), IDS_OPEN_TITLE);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(FilterForName(proposal));
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrTitle = title.W();
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  if (GetOpenFileNameW(&dialog)) OpenFile(WString::FromW(buffer.data()));
}

bool LyricsEditor::ChooseSavePath(WString& path) {
  WString proposal = timeline_.SourcePath();
  if (proposal.IsEmpty()) proposal = ProposedName();
  std::vector<wchar_t> buffer = DialogBuffer(proposal);
  const std::wstring filter = WideFilter();
  const WString title = LoadResourceString(app_.Instance(), IDS_SAVE_AS_TITLE);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(FilterForName(proposal));
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrTitle = title.W();
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  if (!GetSaveFileNameW(&dialog)) return false;
  const SaveTarget target =
      SaveTargetFor(WString::FromW(buffer.data()), static_cast<int>(dialog.nFilterIndex), PlatformFileSystem());
  if (target.askOverwrite && Ask(IDS_CONFIRM_OVERWRITE, MB_OKCANCEL | MB_ICONQUESTION) == IDCANCEL) return false;
  path = target.path;
  return true;
}

void LyricsEditor::Save() {
  if (session_.Save()) ShowSourceTitle();
}

void LyricsEditor::SaveAs() {
  WString path;
  if (ChooseSavePath(path) && session_.SaveFile(path)) ShowSourceTitle();
}

// The name is asked for at its full length first, so a long one is never cut into
// the name of another file.
void LyricsEditor::OnDropFiles(HDROP drop) {
  const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  std::vector<wchar_t> path(static_cast<size_t>(length) + 1, L'\0');
  const bool whole = length > 0 && DragQueryFileW(drop, 0, path.data(), length + 1) == length;
  DragFinish(drop);
  if (whole) OpenFile(WString::FromW(path.data()));
}

// --- Commands ---------------------------------------------------------------------------

void LyricsEditor::ConfirmAndEdit(UINT stringId, int (LyricsTimeline::*edit)()) {
  if (Ask(stringId, MB_OKCANCEL) == IDCANCEL) return;
  CommitView();
  (timeline_.*edit)();
  ReloadView();
}

void LyricsEditor::SendToDisplayer() {
  CommitView();
  WString text;
  for (int i = 0; i < timeline_.LineCount(); ++i) {
    if (i > 0) text.AppendAscii("\r\n");
    text.Append(timeline_.TaggedLineText(i));
  }
  app_.ShowTextInDisplayer(text);
}

void LyricsEditor::OnCommand(UINT id) {
  switch (id) {
    case ID_EDITOR_NEW: OpenFile(WString()); break;
    case ID_EDITOR_OPEN: OpenWithDialog(); break;
    case ID_EDITOR_OPEN_PLAYING: OpenPlayingLyrics(); break;
    case ID_EDITOR_SAVE: Save(); break;
    case ID_EDITOR_SAVE_AS: SaveAs(); break;
    case ID_EDITOR_CLOSE: Post(WM_CLOSE); break;
    case ID_EDITOR_UNDO:
      if (view_) view_->Undo();
      break;
    case ID_EDITOR_ADJUST_TAGS:
      CommitView();
      RunTimeTagAdjustDialog(Handle(), timeline_, link_, settings_);
      ReloadView();
      break;
    case ID_EDITOR_DELETE_TAGS: ConfirmAndEdit(IDS_CONFIRM_DELETE_TAGS, &LyricsTimeline::RemoveAllTags); break;
    case ID_EDITOR_DELETE_KARAOKE_TAGS:
      ConfirmAndEdit(IDS_CONFIRM_DELETE_KARAOKE_TAGS, &LyricsTimeline::RemoveKaraokeTags);
      break;
    case ID_EDITOR_MAKE_KARAOKE:
      CommitView();
      if (KaraokeEditingPossible(timeline_)) break;
      timeline_.ExpandToPlaybackOrder();
      ReloadView();
      break;
    case ID_EDITOR_LONG_TAGS:
    case ID_EDITOR_SHORT_TAGS:
      CommitView();
      timeline_.ReformatAllTags(id == ID_EDITOR_LONG_TAGS ? LongTagForm : ShortTagForm);
      ReloadView();
      break;
    case ID_EDITOR_SEND_TO_DISPLAYER: SendToDisplayer(); break;
    case ID_EDITOR_SWITCH_MODE: SwitchMode(0); break;
    // The Options sheet and the help file belong to the plug-in thread.
    case ID_OPEN_OPTIONS: app_.Post(TM_OPEN_WINDOW, kOptionsWindow, 0); break;
    case ID_OPEN_HELP: app_.Post(TM_OPEN_WINDOW, kHelpWindow, 0); break;
    default: break;
  }
}

// --- Messages ------------------------------------------------------------------------------

void LyricsEditor::OnSizeOrMove() {
  if (ShowState() == SW_SHOWNORMAL) {
    const RECT rect = WindowRect();
    settings_.windowRect = SettingsRect{rect.left, rect.top, rect.right, rect.bottom};
  }
  if (view_) view_->MoveTo(ClientRect());
}

LRESULT LyricsEditor::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY: view_.reset(); return 0;
    case WM_MOVE:
    case WM_SIZE: OnSizeOrMove(); return 0;
    case WM_SIZING: return TRUE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && view_) SetFocus(view_->Handle());
      return 0;
    case WM_CLOSE: app_.Post(TM_CLOSE_WINDOW, kEditorWindow, 0); return 0;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_COMMAND:
      // The text box's change notice (EN_UPDATE) is the user typing, unless the Editor
      // is filling the box itself.
      if (HIWORD(wParam) == EN_UPDATE) {
        if (!fillingView_) timeline_.MarkModified();
        return 0;
      }
      OnCommand(LOWORD(wParam));
      return 0;
    case kShowBackupFailed: Ask(IDS_BACKUP_FAILED, MB_OK | MB_ICONWARNING); return 0;
    default: return WindowBase::WindowProc(message, wParam, lParam);
  }
}
