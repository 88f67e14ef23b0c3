#pragma once
// Edit mode 1: one list-box row per lyric line, its tags written in. Keys stamp, add,
// remove and undo line tags on the selected row while the song plays, and move the
// player back and forth; the rules are LineListModel's. Typing is not possible here,
// and the input method is kept closed so that letter keys reach the handler.

#include "editor/EditorView.h"
#include "editor/core/LineListModel.h"

class LineListView : public EditorView {
 public:
  explicit LineListView(const EditorViewContext& context);
  ~LineListView() override;

  // Creates and fills the list, scrolled to top with row line selected.
  bool Open(int line, int top);

  void Tick() override;
  int CaretLine() override;
  int ScrollTop() override;
  bool Undo() override;
  void Reload() override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnKeyDown(WPARAM key);
  void OnKeyUp(WPARAM key);
  void ForgetHeldKeys();
  void CloseInputMethod();
  void Apply(const LineListResult& result);
  void RefreshRow(int row);
  void Seek(int32_t target);
  void SeekBy(int32_t delta);
  void JumpToRowTag(int row);
  int SelectedRow() const;

  LineListModel model_;
  int heldIndex_ = -1;  // 0..8 while a digit key 1..9 is held
  bool shift_ = false;
  bool ctrl_ = false;
  int shownLine_ = -1;  // the display line last shown in the title
};
