// Stand-ins for the karaoke view and the time-tag adjustment dialog until they land:
// an empty view, and a dialog that changes nothing.

#include "editor/EditorViews.h"

namespace {

class EmptyKaraokeView : public EditorView {
 public:
  explicit EmptyKaraokeView(const EditorViewContext& context) : EditorView("STATIC", context) {}
  bool Open() { return CreateChild(WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE); }
  bool Undo() override { return false; }
};

}  // namespace

std::unique_ptr<EditorView> CreateKaraokeEditView(const EditorViewContext& context, int /*caretLine*/) {
  auto view = std::make_unique<EmptyKaraokeView>(context);
  if (!view->Open()) return nullptr;
  return view;
}

bool RunTimeTagAdjustDialog(HWND, LyricsTimeline&, PlayerLink&, EditorSettings&) { return false; }
