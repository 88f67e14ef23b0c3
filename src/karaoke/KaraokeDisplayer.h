#pragma once
// The karaoke screen: a topmost popup over the whole screen that takes the display
// in exclusive mode and draws by page flipping. Each frame updates the renderers
// (background, song information, the two lyric rows) for the playing time,
// composes them, copies the frame to the back buffer and flips. It owns its lyrics and song information,
// loaded on its own whenever the song changes.

#include <windows.h>

#include <array>
#include <memory>

#include "host/DirectDrawLibrary.h"
#include "host/PluginWindow.h"
#include "host/WindowBase.h"
#include "karaoke/KaraokeSurface.h"
#include "karaoke/core/DisplayModeChoice.h"
#include "karaoke/core/RowSchedule.h"
#include "lyrics/LyricsTimeline.h"
#include "sources/SongInfo.h"

class BackgroundRenderer;
class InfoRenderer;
class KaraokeSettings;
class LyricsRowRenderer;
class PlayerLink;
class PluginApp;

class KaraokeDisplayer : public WindowBase, public PluginWindow {
 public:
  static constexpr const char* kClassName = "Mirabo's Karaoke Displayer";

  KaraokeDisplayer(PluginApp& app, HWND owner);
  ~KaraokeDisplayer() override;

  // Takes the screen and loads the playing song. On failure everything made so far
  // is let go, the plug-in thread is asked to close the screen (so its menu item is
  // unchecked), and the answer is false; nothing is shown to the user.
  bool Open();

  // PluginWindow
  HWND Handle() const override { return WindowBase::Handle(); }
  void SongChanged() override;
  bool IsRendering() override { return active_ && directDraw_; }
  // One frame; false when it failed and nothing new was shown.
  bool DrawFrame() override;

  const LyricsTimeline& Lyrics() const { return lyrics_; }
  const DisplayMode& Mode() const { return mode_; }
  const BackgroundRenderer* Background() const { return background_.get(); }
  long Frames() const { return frames_; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool TakeDisplay();
  bool MakeRenderers();
  void ReleaseDisplay();
  bool Fail();
  HRESULT Step();
  LRESULT OnKey(UINT message, WPARAM wParam, LPARAM lParam);
  void SeekLine(bool forward);
  void PostClose();

  PluginApp& app_;
  KaraokeSettings& settings_;
  PlayerLink& link_;
  HWND owner_;
  LyricsTimeline lyrics_;
  SongInfo song_;
  RowSchedule schedule_;
  DirectDrawLibrary library_;
  OwnedInterface<IDirectDraw2> directDraw_;
  SurfaceContext context_;
  DisplayMode mode_;
  std::unique_ptr<PrimarySurface> primary_;
  Surface canvas_;  // the frame, composed in system memory
  std::unique_ptr<BackgroundRenderer> background_;
  std::array<std::unique_ptr<LyricsRowRenderer>, 2> rows_;
  std::unique_ptr<InfoRenderer> info_;
  bool redraw_ = true;
  bool active_ = false;
  bool control_ = false;
  long frames_ = 0;
};
