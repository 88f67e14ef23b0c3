#include "karaoke/InfoRenderer.h"

#include "karaoke/core/SurfaceColours.h"
#include "settings/KaraokeSettings.h"
#include "sources/SongInfo.h"

InfoRenderer::InfoRenderer(const SurfaceContext& context, const KaraokeSettings& settings, const SongInfo& song)
    : layout_(context.layout),
      settings_(settings),
      song_(song),
      font_(CreateKaraokeFont(layout_.info.height, settings.fontWeight, settings.fontFace)) {
  const int32_t half = layout_.infoStrip.Height() / 2;
  if (!font_ || half <= 0 ||
      FAILED(CreateOffscreenSurface(context, layout_.width, half, DDSCAPS_SYSTEMMEMORY, drawing_)) ||
      FAILED(CreateOffscreenSurface(context, layout_.width, 2 * half, 0, surface_))) {
    return;
  }
  const PixelValueOf pixelOf = [&](uint32_t colour) { return GdiPixelValue(context, colour); };
  colours_ = PairColours(settings.musicInfoColorA & 0xFFFFFF, settings.musicInfoColorB, PixelMask(context.format), pixelOf);
  ChooseFill(settings.musicInfoColorB, {&colours_}, pixelOf);
  keyed_ = true;
  ok_ = SUCCEEDED(SetSourceKey(surface_.Get(), colours_.fill)) && SUCCEEDED(FillSurface(surface_.Get(), nullptr, colours_.fill));
}

HRESULT InfoRenderer::Render() {
  const int32_t half = layout_.infoStrip.Height() / 2;
  const RECT area{0, 0, layout_.width, half};
  const char* formats[2] = {settings_.infoFormat1, settings_.infoFormat2};
  for (int line = 0; line < 2; ++line) {
    WString text;
    song_.Format(WString::FromAnsi(formats[line]), text);
    // Centred in its half of the strip: the same place in the one-line surface.
    const int32_t y = layout_.InfoTextTop(line) - line * half;
    HRESULT result = DrawOutlinedText(drawing_.Get(), area, font_.Get(), text, layout_.margin, y, layout_.info.edge,
                                      settings_.musicInfoColorA & 0xFFFFFF, colours_);
    if (SUCCEEDED(result)) result = surface_->BltFast(0, static_cast<DWORD>(line * half), drawing_.Get(),
                                                      const_cast<RECT*>(&area), DDBLTFAST_WAIT | DDBLTFAST_NOCOLORKEY);
    if (FAILED(result)) return result;
  }
  return DD_OK;
}
