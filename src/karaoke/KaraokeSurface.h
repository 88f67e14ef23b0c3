#pragma once
// The karaoke screen's drawing family: each renderer owns DirectDraw surfaces,
// redraws them only when their content changes (or after they were lost), and
// blits them onto a target every frame. The target is the primary's back buffer on
// the screen, and any surface of the screen's format in tests.

#include <windows.h>
#include <ddraw.h>

#include <cstdint>

#include "base/WString.h"
#include "host/ScopedHandles.h"
#include "karaoke/core/KaraokeLayout.h"
#include "karaoke/core/KaraokeWipe.h"
#include "karaoke/core/OutlineDilation.h"

using Surface = OwnedInterface<IDirectDrawSurface>;

// What every renderer makes its surfaces from.
struct SurfaceContext {
  IDirectDraw2* directDraw = nullptr;
  DDPIXELFORMAT format{};  // the screen's
  KaraokeLayout layout;
};

// An off-screen surface of the screen's format; `caps` adds to DDSCAPS_OFFSCREENPLAIN.
HRESULT CreateOffscreenSurface(const SurfaceContext& context, int32_t width, int32_t height, DWORD caps,
                               Surface& out);
// The pixel value GDI gives a colour on surfaces of the context's format, read back
// raw from a pixel set through a device context.
uint32_t GdiPixelValue(const SurfaceContext& context, COLORREF colour);
// The bits of a pixel that hold colour (all of them at 32 bits).
uint32_t PixelMask(const DDPIXELFORMAT& format);
HRESULT FillSurface(IDirectDrawSurface* surface, const RECT* area, uint32_t pixel);
// A source-keyed (or plain) blit, cut to both surfaces first: a blit reaching
// outside either is refused, and a refused blit ends the frame.
HRESULT BlitClipped(IDirectDrawSurface* target, IDirectDrawSurface* source, const Blit& blit, bool keyed);
HRESULT SetSourceKey(IDirectDrawSurface* surface, uint32_t pixel);
// The size DirectDraw gave a surface.
bool SurfaceSize(IDirectDrawSurface* surface, int32_t& width, int32_t& height);

// The logical font of a karaoke text kind: character set 1, clip precision 2,
// variable pitch, and no anti-aliasing, so that every text pixel has exactly the
// text colour and the outline finds all of them.
OwnedFont CreateKaraokeFont(int32_t height, int32_t weight, const char* face);

// Line widths for layout and the wipe, measured with the same font on a memory DC
// (the widths a surface's DC gives, without locking a surface every frame).
class GdiTextMeasure : public TextMeasure {
 public:
  explicit GdiTextMeasure(HFONT font);
  ~GdiTextMeasure() override;
  GdiTextMeasure(const GdiTextMeasure&) = delete;
  GdiTextMeasure& operator=(const GdiTextMeasure&) = delete;
  int32_t PrefixWidth(const WString& text, int32_t characters) override;

 private:
  OwnedMemoryDC dc_;
  HGDIOBJ previous_ = nullptr;
};

// Text with a solid outline: `area` of the surface is filled with the fill colour,
// the text drawn at (x + edge, y + edge) in `textColour`, clipped to `area` shrunk
// by the edge, then every fill pixel within `edge` of a text pixel takes the edge
// colour. Pixel values in `colours` must be the surface's.
HRESULT DrawOutlinedText(IDirectDrawSurface* surface, const RECT& area, HFONT font, const WString& text, int32_t x,
                         int32_t y, int32_t edge, COLORREF textColour, const OutlineColours& colours);

class KaraokeSurface {
 public:
  KaraokeSurface() = default;
  KaraokeSurface(const KaraokeSurface&) = delete;
  KaraokeSurface& operator=(const KaraokeSurface&) = delete;
  virtual ~KaraokeSurface() = default;

  // False when construction could not make the surfaces.
  bool Ok() const { return ok_; }
  // Before each frame: a lost surface is restored and drawn again; otherwise the
  // content is drawn again only when forced. DD_OK or the DirectDraw error.
  virtual HRESULT Update(bool force);
  // Blits the content onto the target; DD_OK or the error.
  virtual HRESULT Draw(IDirectDrawSurface* target);
  // Draws the content into the renderer's own surface.
  virtual HRESULT Render() { return DD_OK; }

  IDirectDrawSurface* Get() const { return surface_.Get(); }

 protected:
  Surface surface_;
  bool keyed_ = false;  // blitted with its source colour key
  bool ok_ = false;
};

// The flipping primary surface with its one back buffer.
class PrimarySurface : public KaraokeSurface {
 public:
  explicit PrimarySurface(IDirectDraw2* directDraw);
  HRESULT Update(bool force) override;
  HRESULT Draw(IDirectDrawSurface*) override { return DD_OK; }
  IDirectDrawSurface* Back() const { return back_.Get(); }
  // Shows the back buffer, waiting while the display is still busy.
  HRESULT Flip();

 private:
  Surface back_;  // the reference GetAttachedSurface gave
};
