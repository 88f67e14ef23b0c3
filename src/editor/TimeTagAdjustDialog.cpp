#include "editor/TimeTagAdjustDialog.h"

#include "editor/EditorViews.h"
#include "editor/core/StampRules.h"
#include "host/PlayerLink.h"
#include "lyrics/LyricsTimeline.h"
#include "resources/resource.h"
#include "settings/EditorSettings.h"

namespace {

constexpr int32_t kSeekStep = 5000;  // "<<" and ">>"
// "Jump" starts the song a little before the new time, so it can be heard coming.
constexpr int32_t kJumpLead = 2500;
constexpr int kDroppedWidth = 230;
// Room for any time the document can hold ("[35791:23:64]") with spaces around.
constexpr int kFieldCharacters = 32;

}  // namespace

TimeTagAdjustDialog::TimeTagAdjustDialog(LyricsTimeline& timeline, PlayerLink& link, const EditorSettings& settings)
    : WindowBase("#32770"), timeline_(timeline), link_(link), settings_(settings) {}

bool TimeTagAdjustDialog::Run(HWND owner) {
  if (!timeline_.IsTimed()) return false;
  changed_ = false;
  DialogBoxParamW(Instance(), MAKEINTRESOURCEW(IDD_TIMETAG_ADJUST), owner, &TimeTagAdjustDialog::DialogProc,
                  reinterpret_cast<LPARAM>(this));
  return changed_;
}

// WM_INITDIALOG carries the object; from then on the window base dispatches.
INT_PTR CALLBACK TimeTagAdjustDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG && lParam) {
    auto* dialog = reinterpret_cast<TimeTagAdjustDialog*>(lParam);
    if (!dialog->Handle()) dialog->AttachDialog(window);
  }
  return StaticDialogProc(window, message, wParam, lParam);
}

LRESULT TimeTagAdjustDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog(), FALSE;  // the focus is set there
    case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam)), TRUE;
    case WM_CLOSE: return Close(false), TRUE;
  }
  return WindowBase::WindowProc(message, wParam, lParam);
}

void TimeTagAdjustDialog::OnInitDialog() {
  // The document may have lost its last tag since Run looked.
  if (!timeline_.IsTimed()) {
    PostMessageW(Handle(), WM_COMMAND, IDCANCEL, 0);
    return;
  }
  SetFocus(GetDlgItem(Handle(), IDC_ADJUST_SHIFT_UNITS));
  for (int list : {IDC_ADJUST_START_LINE, IDC_ADJUST_END_LINE}) {
    SendDlgItemMessageW(Handle(), list, CB_SETDROPPEDWIDTH, kDroppedWidth, 0);
    for (int i = 0; i < timeline_.LineCount(); ++i)
      SendDlgItemMessageW(Handle(), list, CB_INSERTSTRING, static_cast<WPARAM>(i),
                          reinterpret_cast<LPARAM>(timeline_.TaggedLineText(i).W()));
  }
  SendDlgItemMessageW(Handle(), IDC_ADJUST_START_LINE, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SendDlgItemMessageW(Handle(), IDC_ADJUST_END_LINE, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  OnLineChosen();
}

void TimeTagAdjustDialog::OnCommand(int id, int code) {
  switch (id) {
    case IDC_ADJUST_START_LINE:
    case IDC_ADJUST_END_LINE:
      if (code == CBN_SELCHANGE) OnLineChosen();
      return;
    case IDC_ADJUST_NEW_START:
    case IDC_ADJUST_NEW_END: {
      bool& focused = id == IDC_ADJUST_NEW_START ? startFocused_ : endFocused_;
      if (code == EN_SETFOCUS) focused = true;
      if (code == EN_KILLFOCUS) focused = false;
      if (code == EN_UPDATE && focused) OnTyped(id);
      return;
    }
    case IDC_ADJUST_START_NOW:
      ReadFields();
      target_.TakeStartNow(link_.GetPosition(), settings_.sync);
      ShowStart();
      ShowEnd();
      return;
    case IDC_ADJUST_END_NOW:
      ReadFields();
      target_.TakeEndNow(link_.GetPosition(), settings_.sync);
      ShowEnd();
      return;
    case IDC_ADJUST_BACK: return SeekBy(-kSeekStep);
    case IDC_ADJUST_FORWARD: return SeekBy(kSeekStep);
    case IDC_ADJUST_JUMP_START: return SeekTo(SeekTarget(target_.Start().time, -kJumpLead));
    case IDC_ADJUST_JUMP_END: return SeekTo(SeekTarget(target_.End().time, -kJumpLead));
    case IDC_ADJUST_RESCALE_OK:
      ReadFields();
      changed_ = RescaleRange(timeline_, target_, Selection(IDC_ADJUST_START_LINE), Selection(IDC_ADJUST_END_LINE));
      return Close(changed_);
    case IDC_ADJUST_SHIFT_OK: {
      BOOL number = FALSE;
      const int units = static_cast<int>(GetDlgItemInt(Handle(), IDC_ADJUST_SHIFT_UNITS, &number, TRUE));
      changed_ = ShiftByUnits(timeline_, number ? units : 0);
      return Close(changed_);
    }
    case IDCANCEL: return Close(false);
  }
}

// Either list moves both ends: a line without a tag gives way to the earliest (or
// latest) tag of the whole document, and its list follows.
void TimeTagAdjustDialog::OnLineChosen() {
  int startLine = Selection(IDC_ADJUST_START_LINE), endLine = Selection(IDC_ADJUST_END_LINE);
  TimeTag tag;
  if (RangeStart(timeline_, startLine, tag)) target_.SetStart(tag);
  if (RangeEnd(timeline_, endLine, tag)) target_.SetEnd(tag);
  SendDlgItemMessageW(Handle(), IDC_ADJUST_START_LINE, CB_SETCURSEL, static_cast<WPARAM>(startLine), 0);
  SendDlgItemMessageW(Handle(), IDC_ADJUST_END_LINE, CB_SETCURSEL, static_cast<WPARAM>(endLine), 0);
  ShowStart();
  ShowEnd();
}

// Typing moves the times as soon as the text is a time; the box itself is left as
// typed. A new start drags the end along.
void TimeTagAdjustDialog::OnTyped(int id) {
  const int32_t time = ParseTimeField(FieldText(id));
  if (time < 0) return;
  if (id == IDC_ADJUST_NEW_START) {
    target_.MoveStart(time);
    ShowEnd();
  } else {
    target_.MoveEnd(time);
  }
}

// A field that is not a time gets its time back; one that is sets it (without moving
// the other end).
void TimeTagAdjustDialog::ReadFields() {
  const int32_t start = ParseTimeField(FieldText(IDC_ADJUST_NEW_START));
  if (start < 0) ShowStart();
  else target_.SetStart(MakeStamp(start, 0));
  const int32_t end = ParseTimeField(FieldText(IDC_ADJUST_NEW_END));
  if (end < 0) ShowEnd();
  else target_.SetEnd(MakeStamp(end, 0));
}

void TimeTagAdjustDialog::ShowStart() { SetFieldText(IDC_ADJUST_NEW_START, target_.Start().text); }
void TimeTagAdjustDialog::ShowEnd() { SetFieldText(IDC_ADJUST_NEW_END, target_.End().text); }

void TimeTagAdjustDialog::SeekBy(int32_t delta) { SeekTo(SeekTarget(link_.GetPosition(), delta)); }

void TimeTagAdjustDialog::SeekTo(int32_t time) {
  if (time >= 0) link_.Seek(time);
}

void TimeTagAdjustDialog::Close(bool changed) { EndDialog(Handle(), changed ? IDOK : IDCANCEL); }

int TimeTagAdjustDialog::Selection(int list) const {
  return static_cast<int>(SendDlgItemMessageW(Handle(), list, CB_GETCURSEL, 0, 0));
}

WString TimeTagAdjustDialog::FieldText(int id) const {
  wchar_t text[kFieldCharacters + 1] = {};
  GetDlgItemTextW(Handle(), id, text, kFieldCharacters + 1);
  return WString::FromW(text);
}

void TimeTagAdjustDialog::SetFieldText(int id, const WString& text) { SetDlgItemTextW(Handle(), id, text.W()); }

bool RunTimeTagAdjustDialog(HWND owner, LyricsTimeline& timeline, PlayerLink& link, EditorSettings& settings) {
  TimeTagAdjustDialog dialog(timeline, link, settings);
  return dialog.Run(owner);
}
