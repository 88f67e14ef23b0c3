#include "editor/LineListView.h"

#include <imm.h>

#include <algorithm>

#include "editor/LyricsEditor.h"
#include "host/PlayerLink.h"
#include "host/PluginApp.h"
#include "host/PluginDescription.h"
#include "lyrics/LyricsTimeline.h"
#include "resources/resource.h"

LineListView::LineListView(const EditorViewContext& context)
    : EditorView("LISTBOX", context), model_(context.timeline, StampOptions()) {}

LineListView::~LineListView() { Destroy(); }

bool LineListView::Open(int line, int top) {
  if (!CreateChild(WS_EX_CLIENTEDGE, WS_CHILD | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_USETABSTOPS | LBS_HASSTRINGS))
    return false;
  Reload();
  Send(LB_SETTOPINDEX, static_cast<WPARAM>(std::max(top, 0)));
  Send(LB_SETCURSEL, static_cast<WPARAM>(std::clamp(line, 0, std::max(timeline_.LineCount() - 1, 0))));
  Show(SW_SHOW);
  SetFocus(Handle());
  return true;
}

int LineListView::SelectedRow() const {
  const LRESULT row = Send(LB_GETCURSEL);
  return row == LB_ERR ? -1 : static_cast<int>(row);
}

int LineListView::CaretLine() { return std::max(SelectedRow(), 0); }

int LineListView::ScrollTop() { return static_cast<int>(Send(LB_GETTOPINDEX)); }

void LineListView::Reload() {
  const int row = SelectedRow();
  const LRESULT top = Send(LB_GETTOPINDEX);
  Send(WM_SETREDRAW, FALSE);
  Send(LB_RESETCONTENT);
  for (int i = 0; i < timeline_.LineCount(); ++i) {
    Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(timeline_.TaggedLineText(i).Ansi()));
  }
  Send(WM_SETREDRAW, TRUE);
  model_.Forget();
  Send(LB_SETTOPINDEX, static_cast<WPARAM>(top));
  // A list with rows always has one selected: the keys act on it.
  if (timeline_.LineCount() > 0) Send(LB_SETCURSEL, static_cast<WPARAM>(std::clamp(row, 0, timeline_.LineCount() - 1)));
  InvalidateRect(Handle(), nullptr, TRUE);
  shownLine_ = -1;
}

// The row shows its new text; the list stays where it was scrolled.
void LineListView::RefreshRow(int row) {
  const LRESULT top = Send(LB_GETTOPINDEX);
  Send(LB_SETCURSEL, static_cast<WPARAM>(-1));
  Send(LB_DELETESTRING, static_cast<WPARAM>(row));
  Send(LB_INSERTSTRING, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(timeline_.TaggedLineText(row).Ansi()));
  Send(LB_SETTOPINDEX, static_cast<WPARAM>(top));
}

void LineListView::Apply(const LineListResult& result) {
  if (result.refreshRow >= 0) {
    const int selected = SelectedRow();
    RefreshRow(result.refreshRow);
    Send(LB_SETCURSEL, static_cast<WPARAM>(result.selectRow >= 0 ? result.selectRow : selected));
  } else if (result.selectRow >= 0) {
    Send(LB_SETCURSEL, static_cast<WPARAM>(result.selectRow));
  }
  if (result.seekTo >= 0) link_.Seek(result.seekTo);
}

void LineListView::Seek(int32_t target) {
  if (target >= 0) link_.Seek(target);
}

void LineListView::SeekBy(int32_t delta) { Seek(SeekTarget(link_.GetPosition(), delta)); }

// Z: from a little before the row's tag (or the nearest timed line's), playing.
void LineListView::JumpToRowTag(int row) {
  if (row < 0) return;
  const int32_t target = RowTagJumpTarget(timeline_, row, heldIndex_);
  if (target < 0) return;
  if (link_.IsPlaying() != 1) link_.Play();
  link_.Seek(target);
}

bool LineListView::Undo() {
  const LineListResult result = model_.Undo(false);
  Apply(result);
  return result.changed;
}

void LineListView::OnKeyDown(WPARAM key) {
  model_.SetOptions(Options());
  const int row = SelectedRow();
  switch (key) {
    case VK_SHIFT: shift_ = true; break;
    case VK_CONTROL: ctrl_ = true; break;
    case VK_RETURN:
      if (row >= 0) Apply(model_.Stamp(row, link_.GetPosition(), heldIndex_));
      break;
    case VK_SPACE:
      if (row >= 0) Apply(model_.AddStamp(row, link_.GetPosition()));
      break;
    case VK_DELETE:
      if (row >= 0) Apply(model_.Remove(row, heldIndex_, shift_));
      break;
    case 'B': SeekBy(2500); break;
    case 'V': SeekBy(-2500); break;
    case 'N': SeekBy(5000); break;
    case 'C': SeekBy(-5000); break;
    case 'X': Seek(model_.LastStampCheckTarget()); break;
    case 'Z':
      if (shift_) {
        Apply(model_.Undo(true));
      } else if (ctrl_) {
        Apply(model_.Undo(false));
      } else {
        JumpToRowTag(row);
      }
      break;
    default:
      if (key >= '1' && key <= '9') heldIndex_ = static_cast<int>(key - '1');
      break;
  }
}

void LineListView::OnKeyUp(WPARAM key) {
  if (key == VK_SHIFT) shift_ = false;
  if (key == VK_CONTROL) ctrl_ = false;
  if (key >= '1' && key <= '9') heldIndex_ = -1;
}

// A dialog opened while a key was held swallows its release: with the focus gone, no
// key counts as held any more.
void LineListView::ForgetHeldKeys() {
  heldIndex_ = -1;
  shift_ = ctrl_ = false;
}

void LineListView::CloseInputMethod() {
  HIMC context = ImmGetContext(Handle());
  if (!context) return;
  if (ImmGetOpenStatus(context)) ImmSetOpenStatus(context, FALSE);
  ImmReleaseContext(Handle(), context);
}

// The playing line in the title, when it changes.
void LineListView::Tick() {
  if (!timeline_.IsTimed()) return;
  const int64_t time = static_cast<int64_t>(link_.GetPosition()) + app_.Displayer().sync;
  const int line = timeline_.DisplayLineAtTime(static_cast<int>(std::clamp<int64_t>(time, INT32_MIN, INT32_MAX)));
  if (line == shownLine_) return;
  shownLine_ = line;
  if (timeline_.IsValidDisplayLine(line)) {
    editor_.SetTitle(timeline_.DisplayLineText(line));
  } else {
    HINSTANCE instance = app_.Instance();
    editor_.SetTitle(BuildDescription(LoadResourceString(instance, IDS_PRODUCT_NAME),
                                      LoadResourceString(instance, IDS_VERSION), ModulePath(instance)));
  }
}

LRESULT LineListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN: OnKeyDown(wParam); break;  // then the list's own navigation
    case WM_KEYUP: OnKeyUp(wParam); break;
    case WM_CHAR: return 0;
    case WM_SETFOCUS: CloseInputMethod(); break;
    case WM_KILLFOCUS: ForgetHeldKeys(); break;
    case WM_IME_NOTIFY:
      if (wParam == IMN_SETOPENSTATUS) CloseInputMethod();
      break;
    default: break;
  }
  return WindowBase::WindowProc(message, wParam, lParam);
}
