#include "karaoke/LyricsRowRenderer.h"

#include "karaoke/core/KaraokeLyrics.h"
#include "karaoke/core/SurfaceColours.h"
#include "settings/KaraokeSettings.h"

LyricsRowRenderer::LyricsRowRenderer(const SurfaceContext& context, const KaraokeSettings& settings, int row,
                                     const LyricsTimeline& lyrics, RowSchedule& schedule)
    : layout_(context.layout),
      rowIndex_(row == 0 ? 0 : 1),
      lyrics_(lyrics),
      schedule_(schedule),
      font_(CreateKaraokeFont(layout_.lyrics.height, settings.fontWeight, settings.fontFace)),
      measure_(font_.Get()),
      unsungText_(settings.lyricsColor1A & 0xFFFFFF),
      sungText_(settings.lyricsColor2A & 0xFFFFFF) {
  const int32_t height = 2 * layout_.lyrics.band;
  if (!font_ || FAILED(CreateOffscreenSurface(context, layout_.width, height, DDSCAPS_SYSTEMMEMORY, drawing_)) ||
      FAILED(CreateOffscreenSurface(context, layout_.width, height, 0, surface_))) {
    return;
  }
  const PixelValueOf pixelOf = [&](uint32_t colour) { return GdiPixelValue(context, colour); };
  const uint32_t mask = PixelMask(context.format);
  unsung_ = PairColours(unsungText_, settings.lyricsColor1B, mask, pixelOf);
  sung_ = PairColours(sungText_, settings.lyricsColor2B, mask, pixelOf);
  ChooseFill(settings.lyricsColor1B, {&unsung_, &sung_}, pixelOf);
  keyed_ = true;
  ok_ = SUCCEEDED(SetSourceKey(surface_.Get(), unsung_.fill)) && SUCCEEDED(FillSurface(surface_.Get(), nullptr, unsung_.fill));
}

HRESULT LyricsRowRenderer::Update(bool force) {
  if (!surface_ || !drawing_) return DDERR_SURFACELOST;
  if (surface_->IsLost() == DDERR_SURFACELOST || drawing_->IsLost() == DDERR_SURFACELOST) {
    HRESULT restored = surface_->Restore();
    if (SUCCEEDED(restored)) restored = drawing_->Restore();
    if (FAILED(restored)) return restored;
    row_.Redraw();
  }
  return Carry(row_.Update(lyrics_, schedule_, force));
}

// The rest of a render that is under way, all at once (the screen asks for this only
// when it must show the row now).
HRESULT LyricsRowRenderer::Render() {
  row_.Redraw();
  HRESULT result = DD_OK;
  for (int i = 0; i < 3 && SUCCEEDED(result) && !row_.IsReadyToDraw() && row_.Line() >= 0; ++i)
    result = Carry(row_.Update(lyrics_, schedule_, false));
  return result;
}

HRESULT LyricsRowRenderer::Carry(RowRender step) {
  switch (step) {
    case RowRender::None: return DD_OK;
    case RowRender::Empty: return FillSurface(surface_.Get(), nullptr, unsung_.fill);
    case RowRender::UnsungBand: {
      lineWidth_ = KaraokeLineWidth(lyrics_.DisplayLineText(row_.Line()), layout_, measure_);
      lineX_ = layout_.RowX(rowIndex_, lineWidth_);
      return DrawBand(0, unsungText_, unsung_);
    }
    case RowRender::SungBand: return DrawBand(1, sungText_, sung_);
    case RowRender::Copy: {
      RECT whole{0, 0, layout_.width, 2 * layout_.lyrics.band};
      return surface_->BltFast(0, 0, drawing_.Get(), &whole, DDBLTFAST_WAIT | DDBLTFAST_NOCOLORKEY);
    }
  }
  return DD_OK;
}

HRESULT LyricsRowRenderer::DrawBand(int band, COLORREF textColour, const OutlineColours& colours) {
  const int32_t top = band * layout_.lyrics.band;
  const RECT area{0, top, layout_.width, top + layout_.lyrics.band};
  return DrawOutlinedText(drawing_.Get(), area, font_.Get(), lyrics_.DisplayLineText(row_.Line()), lineX_,
                          top + layout_.lyrics.BoxTopInBand(), layout_.lyrics.edge, textColour, colours);
}

HRESULT LyricsRowRenderer::Draw(IDirectDrawSurface* target) {
  if (!row_.IsReadyToDraw()) return DD_OK;
  const int32_t sung = WipeWidthAt(lyrics_, row_.Line(), schedule_.Time(), measure_);
  const WipeBlits blits = ComposeWipe(layout_, rowIndex_, lineX_, lineWidth_, sung < 0 ? 0 : sung);
  for (const Blit* blit : {&blits.sung, &blits.unsung}) {
    if (blit->IsEmpty()) continue;
    HRESULT result = BlitClipped(target, surface_.Get(), *blit, true);
    if (FAILED(result)) return result;
  }
  return DD_OK;
}
