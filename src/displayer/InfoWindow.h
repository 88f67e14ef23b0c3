#pragma once
// The one-line strip at the top of the Displayer's client area that shows the
// playing song's information in the user's InfoFormat ("%1 / %2": artist / title),
// or the file's base name when the tags give nothing.

#include <windows.h>

#include "base/WString.h"
#include "host/ScopedHandles.h"
#include "host/WindowBase.h"

class DisplayerColors;
class DisplayerSettings;
class PlayerLink;
class SongInfo;

class InfoWindow : public WindowBase {
 public:
  static constexpr const char* kClassName = "Mirabo's Lyrics Displayer Info";

  InfoWindow(DisplayerSettings& settings, const DisplayerColors& colors, PlayerLink& link, const SongInfo& song);
  ~InfoWindow() override;

  // A child of the frame at the top of `rect` (the frame's client coordinates),
  // as high as the text needs.
  bool Create(const WindowBase& frame, const RECT& rect);
  // Moves the strip to the top of `rect` and answers the y where it ends.
  int32_t Place(const RECT& rect);
  // The strip's height: the unfitted font's text height and the border.
  int32_t StripHeight() const { return textHeight_ + 2; }
  // After a song change or new settings: format, lay out, repaint now.
  void Update(bool repaintBorder);
  void SizeFinished();

  const WString& Text() const { return text_; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Format();
  void Layout();
  void OnPaint();
  void OnDoubleClick();

  DisplayerSettings& settings_;
  const DisplayerColors& colors_;
  PlayerLink& link_;
  const SongInfo& song_;
  WString text_;
  OwnedFont font_;
  int32_t textHeight_ = 0;
};
