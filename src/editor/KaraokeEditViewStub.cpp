// Stand-ins for the karaoke view and the time-tag adjustment dialog until they land:
// an empty view, and a dialog that changes nothing.

#include "editor/EditorViews.h"

namespace {

class EmptyKaraokeView : public EditorView {
 public:
  EmptyKaraokeView(const EditorViewContext& context, int caretLine)
      : EditorView("STATIC", context), caretLine_(caretLine) {}
  bool Open() { return CreateChild(WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE); }
  int CaretLine() override { return caretLine_; }
  int ScrollTop() override { return caretLine_; }
  bool Undo() override { return false; }

 private:
  int caretLine_;
};

}  // namespace

std::unique_ptr<EditorView> CreateKaraokeEditView(const EditorViewContext& context, int caretLine) {
  auto view = std::make_unique<EmptyKaraokeView>(context, caretLine);
  if (!view->Open()) return nullptr;
  return view;
}

bool RunTimeTagAdjustDialog(HWND, LyricsTimeline&, PlayerLink&, EditorSettings&) { return false; }
