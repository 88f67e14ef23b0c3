#include "karaoke/KaraokeSurface.h"

#include <algorithm>
#include <cstring>

namespace {

// DirectDraw answers "still drawing" to a device context or a flip while a blit
// runs; those calls are repeated until it is done.
template <class Call>
HRESULT RetryWhileDrawing(Call call) {
  HRESULT result;
  while ((result = call()) == DDERR_WASSTILLDRAWING) {
  }
  return result;
}

DDSURFACEDESC Describe(DWORD flags) {
  DDSURFACEDESC description{};
  description.dwSize = sizeof description;
  description.dwFlags = flags;
  return description;
}

// A locked surface, unlocked at the end of the scope.
class SurfaceLock {
 public:
  explicit SurfaceLock(IDirectDrawSurface* surface) : surface_(surface), description_(Describe(0)) {
    result_ = surface_->Lock(nullptr, &description_, DDLOCK_WAIT | DDLOCK_SURFACEMEMORYPTR, nullptr);
  }
  ~SurfaceLock() {
    if (SUCCEEDED(result_)) surface_->Unlock(nullptr);
  }
  SurfaceLock(const SurfaceLock&) = delete;
  SurfaceLock& operator=(const SurfaceLock&) = delete;
  HRESULT Result() const { return result_; }
  PixelBytes Bytes() const {
    PixelBytes bytes;
    bytes.bits = static_cast<uint8_t*>(description_.lpSurface);
    bytes.width = static_cast<int32_t>(description_.dwWidth);
    bytes.height = static_cast<int32_t>(description_.dwHeight);
    bytes.pitch = static_cast<int32_t>(description_.lPitch);
    bytes.bytesPerPixel = static_cast<int>(description_.ddpfPixelFormat.dwRGBBitCount / 8);
    bytes.size = bytes.pitch > 0 ? size_t(bytes.pitch) * size_t(bytes.height) : 0;
    return bytes;
  }

 private:
  IDirectDrawSurface* surface_;
  DDSURFACEDESC description_;
  HRESULT result_;
};

// A surface's device context, given back at the end of the scope.
class SurfaceDC {
 public:
  explicit SurfaceDC(IDirectDrawSurface* surface) : surface_(surface) {
    result_ = RetryWhileDrawing([&] { return surface_->GetDC(&dc_); });
  }
  ~SurfaceDC() {
    if (SUCCEEDED(result_)) surface_->ReleaseDC(dc_);
  }
  SurfaceDC(const SurfaceDC&) = delete;
  SurfaceDC& operator=(const SurfaceDC&) = delete;
  HRESULT Result() const { return result_; }
  HDC Get() const { return dc_; }

 private:
  IDirectDrawSurface* surface_;
  HDC dc_ = nullptr;
  HRESULT result_;
};

}  // namespace

HRESULT CreateOffscreenSurface(const SurfaceContext& context, int32_t width, int32_t height, DWORD caps,
                               Surface& out) {
  out.Reset();
  if (!context.directDraw || width <= 0 || height <= 0) return DDERR_INVALIDPARAMS;
  DDSURFACEDESC description = Describe(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT);
  description.dwWidth = static_cast<DWORD>(width);
  description.dwHeight = static_cast<DWORD>(height);
  description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | caps;
  description.ddpfPixelFormat = context.format;
  return context.directDraw->CreateSurface(&description, out.Address(), nullptr);
}

uint32_t PixelMask(const DDPIXELFORMAT& format) {
  const DWORD bits = format.dwRGBBitCount;
  return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
}

uint32_t GdiPixelValue(const SurfaceContext& context, COLORREF colour) {
  Surface scratch;
  if (FAILED(CreateOffscreenSurface(context, 4, 1, DDSCAPS_SYSTEMMEMORY, scratch))) return 0;
  {
    SurfaceDC dc(scratch.Get());
    if (FAILED(dc.Result())) return 0;
    SetPixelV(dc.Get(), 0, 0, colour);
  }
  SurfaceLock lock(scratch.Get());
  if (FAILED(lock.Result())) return 0;
  const PixelBytes bytes = lock.Bytes();
  uint32_t value = 0;
  if (bytes.bits && bytes.bytesPerPixel >= 1 && bytes.bytesPerPixel <= 4)
    std::memcpy(&value, bytes.bits, size_t(bytes.bytesPerPixel));
  return value & PixelMask(context.format);
}

HRESULT FillSurface(IDirectDrawSurface* surface, const RECT* area, uint32_t pixel) {
  DDBLTFX effects{};
  effects.dwSize = sizeof effects;
  effects.dwFillColor = pixel;
  return surface->Blt(const_cast<RECT*>(area), nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
}

bool SurfaceSize(IDirectDrawSurface* surface, int32_t& width, int32_t& height) {
  DDSURFACEDESC description = Describe(0);
  if (!surface || FAILED(surface->GetSurfaceDesc(&description))) return false;
  width = static_cast<int32_t>(description.dwWidth);
  height = static_cast<int32_t>(description.dwHeight);
  return true;
}

HRESULT BlitClipped(IDirectDrawSurface* target, IDirectDrawSurface* source, const Blit& blit, bool keyed) {
  int32_t sw = 0, sh = 0, tw = 0, th = 0;
  if (!SurfaceSize(source, sw, sh) || !SurfaceSize(target, tw, th)) return DDERR_INVALIDPARAMS;
  const Blit clipped = ClipBlit(blit, sw, sh, tw, th);
  if (clipped.IsEmpty()) return DD_OK;
  RECT from{clipped.source.left, clipped.source.top, clipped.source.right, clipped.source.bottom};
  const DWORD flags = DDBLTFAST_WAIT | (keyed ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_NOCOLORKEY);
  return target->BltFast(static_cast<DWORD>(clipped.x), static_cast<DWORD>(clipped.y), source, &from, flags);
}

HRESULT SetSourceKey(IDirectDrawSurface* surface, uint32_t pixel) {
  DDCOLORKEY key{pixel, pixel};
  return surface->SetColorKey(DDCKEY_SRCBLT, &key);
}

OwnedFont CreateKaraokeFont(int32_t height, int32_t weight, const char* face) {
  return OwnedFont(CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_STROKE_PRECIS, NONANTIALIASED_QUALITY, VARIABLE_PITCH | FF_DONTCARE, face));
}

GdiTextMeasure::GdiTextMeasure(HFONT font) : dc_(nullptr) {
  if (dc_ && font) previous_ = SelectObject(dc_.Get(), font);
}

GdiTextMeasure::~GdiTextMeasure() {
  if (previous_) SelectObject(dc_.Get(), previous_);
}

int32_t GdiTextMeasure::PrefixWidth(const WString& text, int32_t characters) {
  characters = std::clamp<int32_t>(characters, 0, static_cast<int32_t>(text.Length()));
  SIZE size{};
  if (characters == 0 || !dc_ || !GetTextExtentPoint32W(dc_.Get(), text.W(), characters, &size)) return 0;
  return size.cx;
}

HRESULT DrawOutlinedText(IDirectDrawSurface* surface, const RECT& area, HFONT font, const WString& text, int32_t x,
                         int32_t y, int32_t edge, COLORREF textColour, const OutlineColours& colours) {
  HRESULT result = FillSurface(surface, &area, colours.fill);
  if (FAILED(result)) return result;
  if (text.IsEmpty()) return DD_OK;
  {
    SurfaceDC dc(surface);
    if (FAILED(dc.Result())) return dc.Result();
    ScopedSelect selected(dc.Get(), font);
    SetTextColor(dc.Get(), textColour);
    SetBkMode(dc.Get(), TRANSPARENT);
    SetTextAlign(dc.Get(), TA_LEFT | TA_TOP | TA_NOUPDATECP);
    RECT clip{area.left + edge, area.top + edge, area.right - edge, area.bottom - edge};
    ExtTextOutW(dc.Get(), x + edge, y + edge, ETO_CLIPPED, &clip, text.W(), static_cast<UINT>(text.Length()), nullptr);
  }
  if (edge <= 0) return DD_OK;
  SurfaceLock lock(surface);
  if (FAILED(lock.Result())) return lock.Result();
  DilateOutline(lock.Bytes(), KRect{area.left, area.top, area.right, area.bottom}, edge, colours);
  return DD_OK;
}

HRESULT KaraokeSurface::Update(bool force) {
  if (!surface_) return DDERR_SURFACELOST;
  if (surface_->IsLost() == DDERR_SURFACELOST) {
    HRESULT restored = surface_->Restore();
    if (FAILED(restored)) return restored;
    return Render();
  }
  return force ? Render() : DD_OK;
}

HRESULT KaraokeSurface::Draw(IDirectDrawSurface* target) {
  int32_t width = 0, height = 0;
  if (!SurfaceSize(surface_.Get(), width, height)) return DDERR_SURFACELOST;
  Blit whole;
  whole.source = {0, 0, width, height};
  return BlitClipped(target, surface_.Get(), whole, keyed_);
}

PrimarySurface::PrimarySurface(IDirectDraw2* directDraw) {
  DDSURFACEDESC description = Describe(DDSD_CAPS | DDSD_BACKBUFFERCOUNT);
  description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  description.dwBackBufferCount = 1;
  if (!directDraw || FAILED(directDraw->CreateSurface(&description, surface_.Address(), nullptr))) return;
  DDSCAPS caps{DDSCAPS_BACKBUFFER};
  ok_ = SUCCEEDED(surface_->GetAttachedSurface(&caps, back_.Address()));
}

HRESULT PrimarySurface::Update(bool) {
  if (!surface_ || !back_) return DDERR_SURFACELOST;
  if (surface_->IsLost() == DDERR_SURFACELOST || back_->IsLost() == DDERR_SURFACELOST) return surface_->Restore();
  return DD_OK;
}

HRESULT PrimarySurface::Flip() {
  return RetryWhileDrawing([&] { return surface_->Flip(nullptr, DDFLIP_WAIT); });
}
