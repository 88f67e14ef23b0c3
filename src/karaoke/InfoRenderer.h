#pragma once
// The song information across the top of the karaoke screen: InfoFormat1 and
// InfoFormat2 expanded for the playing song, each outlined and left-aligned in its
// half of the strip; a text wider than the screen is cut at the right edge.

#include "karaoke/KaraokeSurface.h"

class KaraokeSettings;
class SongInfo;

class InfoRenderer : public KaraokeSurface {
 public:
  // The song information belongs to the screen and outlives the renderer.
  InfoRenderer(const SurfaceContext& context, const KaraokeSettings& settings, const SongInfo& song);
  HRESULT Render() override;

 private:
  const KaraokeLayout layout_;
  const KaraokeSettings& settings_;
  const SongInfo& song_;
  OwnedFont font_;
  Surface drawing_;  // one line at a time, in system memory
  OutlineColours colours_;
};
