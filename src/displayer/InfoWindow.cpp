#include "displayer/InfoWindow.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "displayer/BevelBorder.h"
#include "settings/DisplayerSettings.h"
#include "displayer/LyricsFont.h"
#include "displayer/core/DisplayerColors.h"
#include "host/PlayerLink.h"
#include "sources/SongInfo.h"

InfoWindow::InfoWindow(DisplayerSettings& settings, const DisplayerColors& colors, PlayerLink& link,
                       const SongInfo& song)
    : WindowBase(kClassName), settings_(settings), colors_(colors), link_(link), song_(song) {}

InfoWindow::~InfoWindow() { Destroy(); }

bool InfoWindow::Create(const WindowBase& frame, const RECT& rect) {
  WNDCLASSEXA record{};
  record.style = CS_DBLCLKS;
  record.hCursor = LoadCursor(nullptr, IDC_ARROW);
  RegisterWindowClass(record, kClassName);
  Format();
  RECT strip = rect;
  if (!WindowBase::Create("", 0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, strip, &frame, 0)) return false;
  Layout();
  Place(rect);
  Show(SW_SHOW);
  WindowBase::Update();
  return true;
}

int32_t InfoWindow::Place(const RECT& rect) {
  const int32_t bottom = rect.top + StripHeight();
  SetWindowPos(Handle(), nullptr, rect.left, rect.top, rect.right - rect.left, StripHeight(),
               SWP_NOZORDER | SWP_NOACTIVATE);
  return bottom;
}

void InfoWindow::Format() {
  const WString pattern = WString::FromAnsi(settings_.infoFormat, strnlen(settings_.infoFormat, sizeof settings_.infoFormat));
  // A song without tags still shows which file plays.
  if (!song_.Format(pattern, text_)) song_.Format(WString(u"%7"), text_);
}

void InfoWindow::Layout() {
  ScopedWindowDC dc(Handle());
  if (!dc) return;
  const RECT client = ClientRect();
  const std::vector<const WString*> texts{&text_};
  LyricsFontProbe probe(settings_, dc.Get(), texts);
  const int32_t width = probe.WidestWidth(settings_.fontHeight);
  if (!probe.Font()) return;
  const int32_t height = EffectiveLogicalHeight(dc.Get(), probe.Font(), settings_.fontHeight);
  {
    // The strip keeps the height of the font as the user chose it.
    ScopedSelect select(dc.Get(), probe.Font());
    textHeight_ = TextHeightOfA(dc.Get());
  }
  const int32_t available = AvailableWidth(client.right - client.left, settings_.margin);
  // The information is only ever shrunk to fit, never enlarged.
  if (settings_.fitLyrics && width > available && width > 0) FitFont(height, width, available, true, probe);
  font_ = probe.TakeFont();
}

void InfoWindow::Update(bool repaintBorder) {
  if (!Handle()) return;
  if (repaintBorder) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
  Format();
  Layout();
  Invalidate(nullptr, true);
  WindowBase::Update();
}

void InfoWindow::SizeFinished() {
  Layout();
  Invalidate(nullptr, true);
}

void InfoWindow::OnPaint() {
  ScopedPaint paint(Handle());
  HDC dc = paint.Get();
  if (!dc) return;
  const RECT client = ClientRect();
  SetBkColor(dc, static_cast<COLORREF>(colors_[ColorSlot::kBackground]));
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
  if (!font_) return;
  ScopedSelect select(dc, font_.Get());
  SetTextColor(dc, static_cast<COLORREF>(colors_[ColorSlot::kInfo]));
  SetBkMode(dc, TRANSPARENT);
  SIZE size{};
  GetTextExtentPoint32W(dc, text_.W(), static_cast<int>(text_.Length()), &size);
  const bool centred = settings_.centering == 1 || settings_.leftCentering == 1;
  const int32_t x = centred ? (client.right - size.cx) / 2 : settings_.margin;
  const int32_t y = (client.bottom - size.cy) / 2;
  ExtTextOutW(dc, x, y, 0, nullptr, text_.W(), static_cast<UINT>(text_.Length()), nullptr);
}

// The song starts again, or starts playing.
void InfoWindow::OnDoubleClick() {
  if (link_.IsPlaying() == 1) {
    link_.Seek(0);
  } else {
    link_.Play();
  }
}

LRESULT InfoWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_NCCALCSIZE: return InsetByBevel(wParam, lParam);
    case WM_NCPAINT: PaintBevel(Handle(), colors_); return 0;
    case WM_LBUTTONDBLCLK: OnDoubleClick(); return 0;
    case WM_EXITSIZEMOVE: SizeFinished(); return 0;
    default: return WindowBase::WindowProc(message, wParam, lParam);
  }
}
