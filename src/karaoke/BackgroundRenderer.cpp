#include "karaoke/BackgroundRenderer.h"

#include <algorithm>

#include "settings/KaraokeSettings.h"
#include "sources/SongInfo.h"

namespace {

// Ahead of a change a JPEG decodes in proportion to the time gone by; after a stall
// (a seek, a busy system) the proportion may jump, and these rows cap one frame's
// share: about a sixtieth of a second of decoding for a full-HD picture.
constexpr int32_t kAheadRowsPerFrame = 48;

}  // namespace

BackgroundRenderer::BackgroundRenderer(const SurfaceContext& context, const KaraokeSettings& settings,
                                       FileSystem& files, std::unique_ptr<RandomSource> random)
    : layout_(context.layout), settings_(settings), files_(files), random_(std::move(random)) {
  if (FAILED(CreateOffscreenSurface(context, layout_.width, layout_.height, 0, surface_))) return;
  fill_ = GdiPixelValue(context, settings.bgColor & 0xFFFFFF);
  ok_ = SUCCEEDED(FillSurface(surface_.Get(), nullptr, fill_));
}

void BackgroundRenderer::NewSong(const SongInfo& song) {
  const bool ownPictures = !song.BgFile().IsEmpty() || !song.BgFolder().IsEmpty();
  const WString file = ownPictures ? song.BgFile() : WString::FromAnsi(settings_.bgFile);
  const WString folder = ownPictures ? song.BgFolder() : WString::FromAnsi(settings_.bgFolder);
  list_.Build(files_, file, folder, settings_.interval, *random_);
  schedule_.Reset();
  image_.Clear();
  shown_ = -1;
}

HRESULT BackgroundRenderer::Update(bool force) {
  aheadRows_ = renderRows_ = 0;
  if (!surface_) return DDERR_SURFACELOST;
  if (surface_->IsLost() == DDERR_SURFACELOST) {
    HRESULT restored = surface_->Restore();
    if (FAILED(restored)) return restored;
    force = true;
  }
  const BackgroundStep step = schedule_.Update(list_, time_, force);
  shown_ = step.shown;
  HRESULT result = step.render ? Render() : DD_OK;
  if (step.load >= 0) {
    // Loading ahead never replaces the picture on screen: a load for it is done.
    if (step.startLoad && image_.Path() != list_.Path(step.load)) image_.Start(files_, list_.Path(step.load));
    if (image_.Path() == list_.Path(step.load)) {
      image_.Advance(step.permille, kAheadRowsPerFrame);
      aheadRows_ = image_.LastRows();
    }
  }
  return result;
}

HRESULT BackgroundRenderer::Render() {
  HRESULT result = FillSurface(surface_.Get(), nullptr, fill_);
  if (FAILED(result) || shown_ < 0 || shown_ >= list_.Count()) return result;
  const WString& path = list_.Path(shown_);
  if (image_.Path() != path && !image_.Start(files_, path)) return DD_OK;
  if (!image_.Advance(1000)) return DD_OK;  // a broken picture leaves the colour alone
  renderRows_ = image_.LastRows();
  if (!image_.IsLoaded()) return DD_OK;
  const PixelImage& picture = image_.Image();
  const KRect target = FitPicture(picture.width, picture.height, layout_.width, layout_.height,
                                  settings_.enlarge != 0, settings_.reduce != 0);
  return DrawPicture(surface_.Get(), picture, target);
}

HRESULT DrawPicture(IDirectDrawSurface* surface, const PixelImage& image, const KRect& target) {
  if (image.width <= 0 || image.height <= 0 || target.Width() <= 0 || target.Height() <= 0) return DD_OK;
  HDC dc = nullptr;
  HRESULT result;
  while ((result = surface->GetDC(&dc)) == DDERR_WASSTILLDRAWING) {
  }
  if (FAILED(result)) return result;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, target.left, target.top, target.Width(), target.Height(), 0, 0, image.width, image.height,
                image.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  surface->ReleaseDC(dc);
  return DD_OK;
}
