#pragma once
// The child window of the Displayer frame in which the lyrics scroll: it lays the
// lines out in the user's font (fitted to its width when asked), keeps the current
// line at its centre, marks it with a band and wipes karaoke syllables from the
// unsung to the sung colour. Ticks only scroll pixels and paint strips; everything
// else invalidates and repaints.

#include <windows.h>

#include <memory>
#include <vector>

#include "displayer/core/PlaybackSync.h"
#include "displayer/core/ViewLayout.h"
#include "host/ScopedHandles.h"
#include "host/WindowBase.h"

class DisplayerColors;
class DisplayerSettings;
class LyricsTimeline;
class PlayerLink;

class LyricsView : public WindowBase, private LineWidths {
 public:
  static constexpr const char* kClassName = "Mirabo's Lyrics Displayer Main";

  LyricsView(DisplayerSettings& settings, const DisplayerColors& colors, PlayerLink& link, LyricsTimeline& lyrics);
  ~LyricsView() override;

  // A child of the frame in `rect` (the frame's client coordinates).
  bool Create(const WindowBase& frame, RECT rect);
  // Rebuilds the font and the measurements.
  void Layout();
  // After a new document or new settings: Layout, the frame's width fitted to the
  // lyrics when asked, then a full repaint now. repaintBorder repaints the bevel too.
  void Refresh(bool repaintBorder);
  // A size or move of the frame has finished: Layout and repaint.
  void SizeFinished();

  // One step of following the player (the main loop's tick).
  void PollTick();
  // Up, Down and the wheel move the untimed anchor; true when the key is the view's.
  bool TakeKey(UINT message, WPARAM key);
  void OnWheel(int delta);

  // What the ticks did since the view was created: the cost of following the player.
  struct TickCounts {
    long idle = 0;    // nothing drawn
    long wipe = 0;    // a wipe strip painted
    long scroll = 0;  // a change of line: pixels scrolled, bands repainted
  };
  const TickCounts& Ticks() const { return ticks_; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  enum class Kind { kEmpty, kUntimed, kTimed };

  // The player's position with the Sync correction; -1 when it is not playing.
  int32_t PlayingTime();
  // LineWidths: measured with the view's font.
  int32_t PrefixWidth(const WString& text, int32_t characters) override;

  Kind DocumentKind() const;
  int LineForNow(int32_t t);
  ScrollPosition TargetFor(int line) const;
  // The y of line `index`'s text, and the x where it starts in a client area that wide.
  int32_t LineTextTop(int index) const;
  int32_t LineLeft(int index, int32_t clientWidth) const;
  LineAlignment Alignment() const;
  const WString& TextOf(int line) const;
  int32_t WidthOf(int line) const;

  void Resync();
  void ScrollUntimed(int line);
  void ScrollTimed(int line);
  bool AdvanceWipe(int32_t t);
  bool PrepareWipeLine();
  void PaintStrip(const WipeStrip& strip);

  void OnPaint();
  void PaintLines(HDC dc, const RECT& client);
  void PaintCurrentLine(HDC dc, const RECT& client, int line, int32_t x, int32_t textY);
  LRESULT OnNcHitTest(LPARAM lParam);
  LRESULT OnNcMouse(UINT message, WPARAM wParam, LPARAM lParam);
  void OnDoubleClick(LPARAM lParam);
  bool Shaded() const;

  DisplayerSettings& settings_;
  const DisplayerColors& colors_;
  PlayerLink& link_;
  LyricsTimeline& lyrics_;
  HWND frame_ = nullptr;

  OwnedFont font_;
  std::vector<int32_t> lineWidths_;  // per display line, measured with font_
  int32_t widest_ = -1;
  int32_t textHeight_ = 10;
  int32_t pitch_ = 10;

  int current_ = 0;
  int32_t time_ = -1;  // the playing time the current line and the wipe were worked out for
  ScrollPosition scroll_;
  KaraokeWipe wipe_;
  HDC measuringDc_ = nullptr;  // while a wipe is measured
  // The view's own device context (its class has CS_OWNDC), held while it lives.
  std::unique_ptr<ScopedWindowDC> dc_;
  // The current line drawn once in both colours for the wipe to copy from: sung in
  // the upper rows, unsung in the lower, as wide as the client area, with the font
  // selected. The bitmap is declared first so that it outlives its DC.
  OwnedBitmap wipeBitmap_;
  std::unique_ptr<OwnedMemoryDC> wipeDc_;
  int wipeLine_ = -1;  // the line it holds; -1: to be drawn again
  int32_t wipeLineX_ = 0;
  int32_t wipeWidth_ = 0;
  int32_t wipeTextHeight_ = 0;
  bool rightDownOnBorder_ = false;
  TickCounts ticks_;
};
