#pragma once
// The picture behind the karaoke screen: the song's pictures in a shuffled cycle,
// each loaded during the frames before its turn (a JPEG a few scanlines per frame),
// scaled to the screen and centred over BGColor.

#include <memory>

#include "base/FileSystem.h"
#include "karaoke/KaraokeSurface.h"
#include "karaoke/core/BackgroundImage.h"
#include "karaoke/core/BackgroundList.h"

class KaraokeSettings;
class SongInfo;

class BackgroundRenderer : public KaraokeSurface {
 public:
  BackgroundRenderer(const SurfaceContext& context, const KaraokeSettings& settings, FileSystem& files,
                     std::unique_ptr<RandomSource> random);

  // A new song: its pictures (or, when it names none, the settings' file and folder).
  void NewSong(const SongInfo& song);
  // The frame's playing time, before Update.
  void SetTime(int32_t t) { time_ = t; }
  HRESULT Update(bool force) override;
  HRESULT Render() override;

  const BackgroundList& List() const { return list_; }
  // Scanlines decoded ahead in the last Update, and in the last Render.
  int32_t AheadRows() const { return aheadRows_; }
  int32_t RenderRows() const { return renderRows_; }

 private:
  const KaraokeLayout layout_;
  const KaraokeSettings& settings_;
  FileSystem& files_;
  std::unique_ptr<RandomSource> random_;
  BackgroundList list_;
  BackgroundSchedule schedule_;
  BackgroundImage image_;
  uint32_t fill_ = 0;
  int shown_ = -1;
  int32_t time_ = 0;
  int32_t aheadRows_ = 0, renderRows_ = 0;
};

// A 32-bit top-down picture stretched onto part of a surface (GDI converts the
// pixels to the surface's format).
HRESULT DrawPicture(IDirectDrawSurface* surface, const PixelImage& image, const KRect& target);
