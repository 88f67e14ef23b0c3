#pragma once
// Dialog 118: corrects the timing of a whole document at once. The user picks the
// line of the old start and of the old end and gives them new times (typed, or taken
// from the playing position while the song plays), and every stamp between them is
// stretched onto the new range; or every stamp is shifted by a number of 10 ms units.
// Modal over the Editor on the plug-in thread; the song goes on meanwhile.

#include <windows.h>

#include "editor/core/TimeTagAdjust.h"
#include "host/WindowBase.h"

class EditorSettings;
class LyricsTimeline;
class PlayerLink;

class TimeTagAdjustDialog : public WindowBase {
 public:
  TimeTagAdjustDialog(LyricsTimeline& timeline, PlayerLink& link, const EditorSettings& settings);

  // Shows the dialog over owner until it closes; true when the document changed. A
  // document without a timed line is not shown at all.
  bool Run(HWND owner);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  void OnInitDialog();
  void OnCommand(int id, int code);
  void OnLineChosen();
  void OnTyped(int id);
  void ReadFields();
  void ShowStart();
  void ShowEnd();
  void SeekBy(int32_t delta);
  void SeekTo(int32_t time);
  void Close(bool changed);

  int Selection(int list) const;
  WString FieldText(int id) const;
  void SetFieldText(int id, const WString& text);

  LyricsTimeline& timeline_;
  PlayerLink& link_;
  const EditorSettings& settings_;
  RescaleTarget target_;
  bool startFocused_ = false;
  bool endFocused_ = false;
  bool changed_ = false;
};
