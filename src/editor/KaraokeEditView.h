#pragma once
// The Editor's karaoke view (edit mode 3): the tag-free text of every line, one row
// each, with the caret line held at the vertical centre, a caret between two
// characters, a small mark under every boundary that carries a tag, and the playing
// line wiped from the unsung to the sung colour as the song plays. Keys and clicks
// stamp karaoke tags at the caret by the Editor's stamping rules.
//
// Stamping must keep up with fast key presses, so a stamp repaints only the rows it
// changed, a tick paints only the strip the wipe moved over, and text is measured one
// boundary per tick in the background (a row at once when it is shown).

#include <windows.h>

#include "editor/EditorView.h"
#include "editor/core/KaraokeOffsets.h"
#include "editor/core/KaraokeViewLayout.h"
#include "host/ScopedHandles.h"

class KaraokeEditView : public EditorView, private TextWidthSource {
 public:
  static constexpr const char* kClassName = "Mirabo's Lyrics Editor Karaoke";

  explicit KaraokeEditView(const EditorViewContext& context);
  ~KaraokeEditView() override;

  // Makes the font and the window with the caret at column 0 of caretLine, thins
  // runs of three or more tags at one position, and shows the document.
  bool Open(int caretLine);

  void SettingsChanged() override;
  void Tick() override;
  int CaretLine() override { return caret_.line; }
  int ScrollTop() override { return caret_.line; }
  bool Undo() override { return false; }
  void Reload() override;

  // What the view drew and measured since it was made: the cost of stamping and ticks.
  struct Counts {
    long paints = 0;
    int64_t paintedArea = 0;  // pixels of the paints' update regions
    long measurements = 0;    // text widths asked of GDI
  };
  const Counts& Work() const { return counts_; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // TextWidthSource: in the view's font, on the painting DC while painting.
  int32_t PrefixWidth(const WString& text, int32_t characters) override;

  void MakeFont();
  HFONT Font() const;
  KaraokeLayout Layout() const;
  int32_t ClientHeight() const;
  int32_t PlayingTime();
  int32_t Offset(int line, int32_t column);
  int32_t WipeXAt(int line, int displayLine, int32_t t);
  RECT CaretRect(int32_t column);

  void SetCaretColumn(int32_t column, bool repaint);
  void SetCaretLine(int64_t line);
  void RepaintCaretLine();
  void InvalidateRow(int line);
  void UpdatePlayingMark();

  void OnPaint();
  void CountPaint();
  void PaintRow(HDC dc, const RECT& client, int line, int32_t y, int playingDisplay, int32_t t);
  void PaintMarks(HDC dc, int line, int32_t y);
  void OnKeyDown(WPARAM key);
  void OnKeyUp(WPARAM key);
  void OnClick(int32_t x, int32_t y);
  void OnDoubleClick(int32_t y);
  void Stamp(int32_t position);
  void Seek(int32_t delta);
  void CloseInputMethod();
  void ForgetHeldKeys();

  OwnedFont font_;
  KaraokeMetrics metrics_ = KaraokeMetrics::FromTextHeight(16);
  KaraokeOffsets offsets_;
  KaraokeCaret caret_;
  int heldTag_ = -1;
  bool shift_ = false;
  bool ctrl_ = false;
  HDC measuringDc_ = nullptr;  // the painting DC with the font selected, while painting

  // The playing mark as last painted.
  int32_t lastTime_ = -1;    // -1 after a reload
  int playingLine_ = -1;     // document line of the playing display line
  int32_t wipeX_ = 0;
  bool wipeShown_ = false;   // wipeX_ is what the playing row shows
  Counts counts_;
};
