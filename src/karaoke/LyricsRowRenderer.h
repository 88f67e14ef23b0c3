#pragma once
// One of the two rows of lyrics. The row's line is outlined twice into a system-
// memory surface (unsung colours in the upper band, sung colours in the lower), one
// step per frame, then copied to the surface that is blitted; each frame shows the
// sung part from the lower band and the rest from the upper one.

#include "karaoke/KaraokeSurface.h"
#include "karaoke/core/RowSchedule.h"
#include "lyrics/LyricsTimeline.h"

class KaraokeSettings;

class LyricsRowRenderer : public KaraokeSurface {
 public:
  // Row 0 is the lower row, row 1 the upper. The timeline and the shared schedule
  // belong to the screen and outlive the row.
  LyricsRowRenderer(const SurfaceContext& context, const KaraokeSettings& settings, int row,
                    const LyricsTimeline& lyrics, RowSchedule& schedule);

  HRESULT Update(bool force) override;
  HRESULT Draw(IDirectDrawSurface* target) override;
  HRESULT Render() override;

  const KaraokeRow& Row() const { return row_; }
  const OutlineColours& Unsung() const { return unsung_; }
  const OutlineColours& Sung() const { return sung_; }

 private:
  HRESULT Carry(RowRender step);
  HRESULT DrawBand(int band, COLORREF textColour, const OutlineColours& colours);

  const KaraokeLayout layout_;
  const int rowIndex_;
  const LyricsTimeline& lyrics_;
  RowSchedule& schedule_;
  OwnedFont font_;
  GdiTextMeasure measure_;
  Surface drawing_;  // system memory: the pixel work runs on it
  COLORREF unsungText_, sungText_;
  OutlineColours unsung_, sung_;
  KaraokeRow row_;
  int32_t lineX_ = 0, lineWidth_ = 0;
};
