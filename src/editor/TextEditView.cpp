#include "editor/TextEditView.h"

#include <algorithm>
#include <vector>

#include "lyrics/LyricsTimeline.h"

TextEditView::TextEditView(const EditorViewContext& context) : EditorView("EDIT", context) {}

TextEditView::~TextEditView() {
  if (Handle()) Commit();
  Destroy();
}

bool TextEditView::Open(int line, int top) {
  if (!CreateChild(WS_EX_CLIENTEDGE, WS_CHILD | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                         ES_AUTOHSCROLL | ES_WANTRETURN))
    return false;
  // Lyrics files of any length can be typed or pasted: no 32 K limit.
  Send(EM_SETLIMITTEXT, 0);
  Send(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(2, 2));
  Reload();
  const LRESULT start = Send(EM_LINEINDEX, static_cast<WPARAM>(std::max(line, 0)));
  if (start >= 0) Send(EM_SETSEL, static_cast<WPARAM>(start), start);
  Send(EM_LINESCROLL, 0, std::max(top, 0) - Send(EM_GETFIRSTVISIBLELINE));
  Show(SW_SHOW);
  SetFocus(Handle());
  return true;
}

int TextEditView::CaretLine() {
  DWORD start = 0;
  Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(Send(EM_LINEFROMCHAR, start));
}

int TextEditView::ScrollTop() { return static_cast<int>(Send(EM_GETFIRSTVISIBLELINE)); }

void TextEditView::Reload() {
  const int line = CaretLine();
  const LRESULT top = Send(EM_GETFIRSTVISIBLELINE);
  WString text;
  for (int i = 0; i < timeline_.LineCount(); ++i) {
    if (i > 0) text.AppendAscii("\r\n");
    text.Append(timeline_.TaggedLineText(i));
  }
  SetWindowTextW(Handle(), text.W());
  const LRESULT start = Send(EM_LINEINDEX, static_cast<WPARAM>(line));
  if (start >= 0) Send(EM_SETSEL, static_cast<WPARAM>(start), start);
  Send(EM_LINESCROLL, 0, top - Send(EM_GETFIRSTVISIBLELINE));
}

void TextEditView::Commit() {
  const int length = GetWindowTextLengthW(Handle());
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(Handle(), text.data(), length + 1);
  timeline_.ParseText(WString::FromW(text.data()));
}

bool TextEditView::Undo() {
  Send(EM_UNDO);
  return true;
}
