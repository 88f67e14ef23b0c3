#pragma once
// Edit mode 2: the whole text, tags included, in a multi-line text box for free
// typing (Japanese through the input method). The text lives in the box until Commit
// parses it into the document; the view commits once more when it goes, so leaving
// the mode never loses typing.

#include "editor/EditorView.h"

class TextEditView : public EditorView {
 public:
  explicit TextEditView(const EditorViewContext& context);
  ~TextEditView() override;

  // Creates and fills the box, the caret at the start of line, scrolled to top.
  bool Open(int line, int top);

  int CaretLine() override;
  int ScrollTop() override;
  void Commit() override;
  bool Undo() override;
  void Reload() override;
};
