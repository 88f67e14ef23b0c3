#pragma once
// The Displayer's top-level window: a skinned border and caption around the lyrics
// view and the info strip. It snaps to the work area and the player's windows while
// dragged or sized, follows the player, folds into a one-line bar (window-shade
// mode), takes dropped lyrics files and passes the player's keys on to the player.
// It owns the lyrics and the song information it shows.

#include <windows.h>

#include <memory>

#include "displayer/core/DisplayerColors.h"
#include "displayer/core/FrameSnap.h"
#include "displayer/core/SkinFrame.h"
#include "host/PluginWindow.h"
#include "host/ScopedHandles.h"
#include "host/WindowBase.h"
#include "lyrics/LyricsTimeline.h"
#include "sources/SongInfo.h"

class DisplayerSettings;
class InfoWindow;
class LyricsView;
class PlayerLink;
class PluginApp;

class DisplayerFrame : public WindowBase, public PluginWindow {
 public:
  static constexpr const char* kClassName = "Mirabo's Lyrics Displayer";

  DisplayerFrame(PluginApp& app, HWND owner);
  ~DisplayerFrame() override;

  // Creates the window, its children, and loads the playing song's lyrics.
  bool Open();

  // PluginWindow
  HWND Handle() const override { return WindowBase::Handle(); }
  void SongChanged() override;
  void SkinChanged() override;
  void Tick() override;

  // The Options sheet applied new settings.
  void ApplySettings() override;
  // Lyrics text handed over by the Editor, shown for the playing song.
  void ShowText(const WString& text) override;
  // Reads lyrics from path, or else from secondPath; shows the song information when
  // neither gives any.
  void Load(const WString& path, const WString& secondPath);

  bool HasNoLyrics() const { return noLyrics_; }
  const LyricsTimeline& Lyrics() const { return lyrics_; }
  LyricsView* View() const { return view_.get(); }
  InfoWindow* Info() const { return info_.get(); }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool Shaded() const;
  bool IsNormalState() const;
  void LoadSkin();
  void RecomputeColors();
  void ShowLoaded(bool found);
  WString SongInformationText() const;
  void AnchorUntimedLyrics();
  void ShowOrHide();
  void RefreshChildren(bool repaintBorders);
  void CreateChildren();
  void CreateInfoWindow();
  void LayoutChildren();
  void ChildrenSizeFinished();
  SnapTargets Targets() const;
  Rect WorkArea() const;
  FrameHit HitTest(POINT screen) const;
  void EnterShadeMode();
  void Maximise();
  void RestoreNormal();
  void RememberPlacement();
  void RememberBar();

  LRESULT OnCreate();
  void OnDestroy();
  LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
  void PaintBorder();
  void PaintCloseBox(bool pressed);
  LRESULT OnNcHitTest(LPARAM lParam);
  LRESULT OnNcActivate(WPARAM wParam);
  LRESULT OnNcLeftDown(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcLeftDoubleClick(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcRightDoubleClick(WPARAM wParam, LPARAM lParam);
  void OnMouseMove();
  void OnLeftUp();
  void OnMoving(RECT& rect);
  void OnSizing(WPARAM edge, RECT& rect);
  void OnMinMaxInfo(MINMAXINFO& info) const;
  void OnSize(WPARAM type);
  LRESULT OnKey(UINT message, WPARAM wParam, LPARAM lParam);
  void OnContextMenu(LPARAM lParam);
  void OnDropFiles(HDROP drop);
  void PostClose();

  PluginApp& app_;
  DisplayerSettings& settings_;
  PlayerLink& link_;
  HWND owner_;
  LyricsTimeline lyrics_;
  SongInfo song_;
  DisplayerColors colors_;
  SkinColorValues skinColors_;
  OwnedBitmap skin_;
  Size skinSize_;
  SkinElements elements_;
  OwnedIcon smallIcon_;
  std::unique_ptr<InfoWindow> info_;
  std::unique_ptr<LyricsView> view_;
  bool closePressed_ = false;
  WPARAM lastSizeType_ = SIZE_RESTORED;
  bool noLyrics_ = false;
  bool shownOnce_ = false;
};
