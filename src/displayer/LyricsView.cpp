#include "displayer/LyricsView.h"

#include <algorithm>

#include "displayer/BevelBorder.h"
#include "settings/DisplayerSettings.h"
#include "displayer/LyricsFont.h"
#include "displayer/core/DisplayerColors.h"
#include "lyrics/LyricsTimeline.h"
#include "host/PlayerLink.h"

namespace {

// A double-click starts the line a little early, so its first syllable is heard whole.
constexpr int32_t kSeekLead = 500;
constexpr int32_t kInitialPitch = 10;

COLORREF Colour(const DisplayerColors& colors, ColorSlot slot) { return static_cast<COLORREF>(colors[slot]); }

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  COLORREF previous = SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  SetBkColor(dc, previous);
}

void DrawLine(HDC dc, int32_t x, int32_t y, UINT options, const RECT* clip, const WString& text) {
  ExtTextOutW(dc, x, y, options, clip, text.W(), static_cast<UINT>(text.Length()), nullptr);
}

}  // namespace

LyricsView::LyricsView(DisplayerSettings& settings, const DisplayerColors& colors, PlayerLink& link,
                       LyricsTimeline& lyrics)
    : WindowBase(kClassName), settings_(settings), colors_(colors), link_(link), lyrics_(lyrics) {}

LyricsView::~LyricsView() {
  wipeDc_.reset();
  dc_.reset();
  Destroy();
}

bool LyricsView::Create(const WindowBase& frame, RECT rect) {
  frame_ = frame.Handle();
  WNDCLASSEXA record{};
  // Its own device context: the wipe paints a strip on most ticks, and fetching a
  // common one every time costs more than the painting.
  record.style = CS_DBLCLKS | CS_OWNDC;
  record.hCursor = LoadCursor(nullptr, IDC_ARROW);
  RegisterWindowClass(record, kClassName);  // already registered by an earlier view is fine
  if (rect.bottom < rect.top) rect.bottom = rect.top + 10;
  textHeight_ = pitch_ = kInitialPitch;
  if (!WindowBase::Create("", 0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect, &frame, 0)) return false;
  dc_ = std::make_unique<ScopedWindowDC>(Handle());
  Layout();
  Resync();
  Show(SW_SHOW);
  Update();
  return true;
}

// --- Measuring --------------------------------------------------------------

void LyricsView::Layout() {
  ScopedWindowDC dc(Handle());
  if (!dc) return;
  const RECT client = ClientRect();
  const int32_t clientWidth = client.right - client.left;
  const int count = lyrics_.DisplayLineCount();
  std::vector<const WString*> texts;
  texts.reserve(count);
  for (int line = 0; line < count; ++line) texts.push_back(&lyrics_.DisplayLineText(line));

  // The bar of window-shade mode is filled by its one line.
  int32_t height = Shaded() ? -std::max<int32_t>(client.bottom - client.top, 1) : settings_.fontHeight;
  LyricsFontProbe probe(settings_, dc.Get(), texts);
  int32_t widest = probe.WidestWidth(height);
  if (!probe.Font()) return;  // keeps the old font
  height = EffectiveLogicalHeight(dc.Get(), probe.Font(), height);
  const int32_t available = AvailableWidth(clientWidth, settings_.margin);
  if (settings_.fitLyrics && widest > 0) FitFont(height, widest, available, settings_.onlyOver != 0, probe);
  // The wipe's copy of the line holds the old font; the next paint draws it anew.
  wipeDc_.reset();
  wipeBitmap_.Reset();
  wipeLine_ = -1;
  font_ = probe.TakeFont();

  ScopedSelect select(dc.Get(), font_.Get());
  lineWidths_.assign(count, 0);
  widest_ = -1;
  for (int line = 0; line < count; ++line) {
    lineWidths_[line] = TextWidth(dc.Get(), *texts[line]);
    widest_ = std::max(widest_, lineWidths_[line]);
  }
  textHeight_ = TextHeightOfA(dc.Get());
  pitch_ = static_cast<int32_t>(
      std::clamp<int64_t>(int64_t(textHeight_) + std::max<int32_t>(settings_.spaceBetLines, 0), 1, INT32_MAX));
  wipe_.Reset();
}

int32_t LyricsView::WidthOf(int line) const {
  if (line >= 0 && line < static_cast<int>(lineWidths_.size())) return lineWidths_[line];
  return 0;
}

int32_t LyricsView::PrefixWidth(const WString& text, int32_t characters) {
  if (measuringDc_) return TextWidth(measuringDc_, text, static_cast<size_t>(std::max(characters, 0)));
  ScopedWindowDC dc(Handle());
  if (!dc) return 0;
  ScopedSelect select(dc.Get(), font_.Get());
  return TextWidth(dc.Get(), text, static_cast<size_t>(std::max(characters, 0)));
}

LineAlignment LyricsView::Alignment() const {
  return LineAlignment{settings_.centering != 0, settings_.leftCentering != 0, settings_.margin};
}

int32_t LyricsView::LineLeft(int line, int32_t clientWidth) const {
  return LineX(Alignment(), clientWidth, WidthOf(line), widest_);
}

int32_t LyricsView::LineTextTop(int index) const {
  return ::LineTextTop(scroll_, index, pitch_, settings_.spaceBetLines);
}

const WString& LyricsView::TextOf(int line) const { return lyrics_.DisplayLineText(line); }

bool LyricsView::Shaded() const { return settings_.windowShadeMode != 0; }

// --- Following the player ---------------------------------------------------

int32_t LyricsView::PlayingTime() {
  const int position = link_.GetPosition();
  return position < 0 ? -1 : CorrectedPlayingTime(position, settings_.sync);
}

LyricsView::Kind LyricsView::DocumentKind() const {
  if (lyrics_.DisplayLineCount() == 0) return Kind::kEmpty;
  return lyrics_.IsTimed() ? Kind::kTimed : Kind::kUntimed;
}

int LyricsView::LineForNow(int32_t t) { return LineForTime(lyrics_, t, settings_.moveBeforehand != 0); }

ScrollPosition LyricsView::TargetFor(int line) const {
  const RECT client = ClientRect();
  return ScrollTarget(line, pitch_, client.top, client.bottom - client.top, lyrics_.DisplayLineCount());
}

// What a full repaint shows: the line of the present time at its place.
void LyricsView::Resync() {
  time_ = PlayingTime();
  current_ = DocumentKind() == Kind::kEmpty ? -1 : LineForNow(time_);
  scroll_ = TargetFor(current_);
  wipe_.Reset();
}

void LyricsView::PollTick() {
  if (!Handle()) return;
  const Kind kind = DocumentKind();
  const int32_t t = kind == Kind::kEmpty ? -1 : PlayingTime();
  time_ = t;
  const int line = kind == Kind::kEmpty ? current_ : LineForNow(t);
  if (line != current_) {
    if (kind == Kind::kUntimed) {
      ScrollUntimed(line);
    } else {
      ScrollTimed(line);
    }
    ++ticks_.scroll;
  } else if (kind == Kind::kTimed && AdvanceWipe(t)) {
    ++ticks_.wipe;
  } else {
    ++ticks_.idle;
  }
}

void LyricsView::ScrollUntimed(int line) {
  const ScrollPosition target = TargetFor(line);
  const int32_t dy = ScrollDelta(scroll_, target, pitch_);
  current_ = line;
  scroll_ = target;
  if (dy != 0) ScrollWindowEx(Handle(), 0, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
  Update();
}

// Everything but the old and the new band moves; the two bands are painted afresh,
// so the band never smears while the text scrolls.
void LyricsView::ScrollTimed(int line) {
  const RECT client = ClientRect();
  const ScrollPosition target = TargetFor(line);
  const BandScroll plan =
      PlanBandScroll(scroll_, current_, target, line, pitch_, RowSpan{client.top, client.bottom});
  current_ = line;
  scroll_ = target;
  wipe_.Reset();
  if (plan.dy != 0) {
    for (int i = 0; i < plan.stripCount; ++i) {
      RECT strip{client.left, plan.strips[i].top, client.right, plan.strips[i].bottom};
      ScrollWindowEx(Handle(), 0, plan.dy, &strip, &strip, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
    }
  }
  for (const RowSpan& band : {plan.upperBand, plan.lowerBand}) {
    RECT rect{client.left, band.top, client.right, band.bottom};
    Invalidate(&rect, false);
  }
  Update();
}

bool LyricsView::AdvanceWipe(int32_t t) {
  // Without its copy of the line the wipe stays where it is; the next full paint
  // puts the line right.
  if (!lyrics_.IsValidDisplayLine(current_) || !PrepareWipeLine()) return false;
  measuringDc_ = wipeDc_->Get();
  const WipeStrip strip = wipe_.Advance(lyrics_, current_, t, wipeLineX_, *this);
  measuringDc_ = nullptr;
  if (strip.IsEmpty()) return false;
  PaintStrip(strip);
  return true;
}

// The wipe runs fifty times a second: it copies strips of the current line, drawn
// once in both colours when the line is painted, instead of selecting the font,
// setting three colours and drawing the whole line clipped on every tick. The copy
// is drawn as the wipe drew on the window: opaque cells of the band's colour, text
// at the line's x.
bool LyricsView::PrepareWipeLine() {
  if (wipeDc_ && wipeLine_ == current_) return true;
  if (!dc_ || !*dc_ || !font_) return false;
  const RECT client = ClientRect();
  const int32_t width = client.right - client.left;
  if (width <= 0 || textHeight_ <= 0 || textHeight_ > INT32_MAX / 2) return false;
  if (!wipeDc_ || width != wipeWidth_ || textHeight_ != wipeTextHeight_) {
    wipeDc_.reset();
    wipeBitmap_.Reset(CreateCompatibleBitmap(dc_->Get(), width, 2 * textHeight_));
    if (!wipeBitmap_) return false;
    auto memory = std::make_unique<OwnedMemoryDC>(dc_->Get());
    if (!*memory) return false;
    SelectObject(memory->Get(), wipeBitmap_.Get());
    SelectObject(memory->Get(), font_.Get());
    SetBkMode(memory->Get(), OPAQUE);
    wipeDc_ = std::move(memory);
    wipeWidth_ = width;
    wipeTextHeight_ = textHeight_;
  }
  HDC dc = wipeDc_->Get();
  const int32_t x = LineLeft(current_, width);
  SetBkColor(dc, Colour(colors_, ColorSlot::kCurrentBackground));
  for (const ColorSlot slot : {ColorSlot::kSung, ColorSlot::kUnsung}) {
    const int32_t top = slot == ColorSlot::kSung ? 0 : textHeight_;
    const RECT rows{0, top, width, top + textHeight_};
    SetTextColor(dc, Colour(colors_, slot));
    DrawLine(dc, x, top, ETO_OPAQUE | ETO_CLIPPED, &rows, TextOf(current_));
  }
  wipeLine_ = current_;
  wipeLineX_ = x;
  return true;
}

void LyricsView::PaintStrip(const WipeStrip& strip) {
  const int32_t from = std::max<int32_t>(strip.from, 0);
  const int32_t to = std::min<int32_t>(strip.to, wipeWidth_);
  if (from >= to) return;
  BitBlt(dc_->Get(), from, LineTextTop(current_), to - from, textHeight_, wipeDc_->Get(), from,
         strip.sung ? 0 : textHeight_, SRCCOPY);
}

bool LyricsView::TakeKey(UINT message, WPARAM key) {
  if (key != VK_UP && key != VK_DOWN) return false;
  if (message == WM_KEYDOWN) {
    // The anchor only matters to untimed lyrics; timed ones follow their stamps.
    lyrics_.SetUntimedAnchor(key == VK_UP ? current_ - 1 : current_ + 1, PlayingTime(), link_.GetLength());
  }
  return true;
}

void LyricsView::OnWheel(int delta) {
  if (delta > 0) TakeKey(WM_KEYDOWN, VK_UP);
  if (delta < 0) TakeKey(WM_KEYDOWN, VK_DOWN);
}

void LyricsView::OnDoubleClick(LPARAM lParam) {
  if (DocumentKind() != Kind::kTimed) return;
  const int32_t y = static_cast<short>(HIWORD(lParam));
  const int line = LineAtRow(scroll_, y, pitch_);
  if (!lyrics_.IsValidDisplayLine(line)) return;
  const int32_t time = lyrics_.DisplayLineTime(line);
  if (time < 0) return;
  if (link_.IsPlaying() != 1) link_.Play();
  link_.Seek(time - kSeekLead);
}

// --- Painting ---------------------------------------------------------------

void LyricsView::Refresh(bool repaintBorder) {
  if (!Handle()) return;
  if (repaintBorder) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
  Layout();
  if (settings_.fitWindow && frame_ && !IsIconic(frame_) && !IsZoomed(frame_) && widest_ > 0) {
    RECT frame{};
    GetWindowRect(frame_, &frame);
    const RECT client = ClientRect();
    const int32_t width = FitWindowWidth(frame.right - frame.left, widest_, settings_.margin, client.right);
    if (width != frame.right - frame.left) {
      SetWindowPos(frame_, nullptr, 0, 0, width, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  Resync();
  Invalidate(nullptr, false);
  Update();
}

void LyricsView::SizeFinished() {
  Layout();
  Resync();
  Invalidate(nullptr, false);
}

void LyricsView::OnPaint() {
  ScopedPaint paint(Handle());
  if (!paint.Get()) return;
  const RECT client = ClientRect();
  PaintLines(paint.Get(), client);
}

void LyricsView::PaintLines(HDC dc, const RECT& client) {
  FillSolid(dc, client, Colour(colors_, ColorSlot::kBackground));
  const Kind kind = DocumentKind();
  if (kind == Kind::kEmpty || !font_) return;
  ScopedSelect select(dc, font_.Get());
  SetBkMode(dc, TRANSPARENT);
  const COLORREF ordinary = Colour(colors_, kind == Kind::kUntimed ? ColorSlot::kSung : ColorSlot::kText);
  SetTextColor(dc, ordinary);
  const int count = lyrics_.DisplayLineCount();
  for (int line = std::max(scroll_.firstLine, 0); line < count; ++line) {
    const int32_t textY = LineTextTop(line);
    if (textY >= client.bottom) break;
    if (RowsFrom(textY, pitch_).bottom <= client.top) continue;
    const int32_t x = LineLeft(line, client.right - client.left);
    if (kind == Kind::kTimed && line == current_) {
      PaintCurrentLine(dc, client, line, x, textY);
      SetTextColor(dc, ordinary);
    } else {
      DrawLine(dc, x, textY, 0, nullptr, TextOf(line));
    }
  }
}

// The band, then the sung part up to the split and the unsung part after it.
void LyricsView::PaintCurrentLine(HDC dc, const RECT& client, int line, int32_t x, int32_t textY) {
  const RowSpan text = RowsFrom(textY, textHeight_), rows = RowsFrom(textY, pitch_);
  const RECT band{client.left, text.top, client.right, text.bottom};
  FillSolid(dc, band, Colour(colors_, ColorSlot::kCurrentBackground));
  measuringDc_ = dc;
  // The time the line was chosen for: the paint asks the player nothing.
  const int32_t offset = wipe_.Offset(lyrics_, line, time_, *this);
  measuringDc_ = nullptr;
  const int32_t split = SplitX(x, offset < 0 ? WidthOf(line) : offset);
  wipe_.SetSplitX(split);
  const RECT sung{client.left, rows.top, std::max<int32_t>(std::min<int32_t>(split, client.right), client.left),
                  rows.bottom};
  const RECT unsung{std::min<int32_t>(std::max<int32_t>(split, client.left), client.right), rows.top, client.right,
                    rows.bottom};
  SetTextColor(dc, Colour(colors_, ColorSlot::kSung));
  if (sung.left < sung.right) DrawLine(dc, x, textY, ETO_CLIPPED, &sung, TextOf(line));
  SetTextColor(dc, Colour(colors_, ColorSlot::kUnsung));
  if (unsung.left < unsung.right) DrawLine(dc, x, textY, ETO_CLIPPED, &unsung, TextOf(line));
  // Drawn again with the line: the colours may have changed (a new skin repaints
  // without a new layout).
  wipeLine_ = -1;
  PrepareWipeLine();
}

// --- Messages ---------------------------------------------------------------

LRESULT LyricsView::OnNcHitTest(LPARAM lParam) {
  if (!Shaded()) return DefaultProc(WM_NCHITTEST, 0, lParam);
  // The bar drags the frame wherever it is grabbed.
  const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  const RECT window = WindowRect();
  return PtInRect(&window, point) ? HTCAPTION : HTNOWHERE;
}

LRESULT LyricsView::OnNcMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!Shaded()) return DefaultProc(message, wParam, lParam);
  switch (message) {
    case WM_NCRBUTTONDOWN: rightDownOnBorder_ = true; break;
    case WM_NCRBUTTONUP:
      if (rightDownOnBorder_) Post(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(frame_), lParam);
      rightDownOnBorder_ = false;
      break;
    default:  // left button: the frame moves, or leaves the bar on a double-click
      PostMessageA(frame_, message, wParam, lParam);
      break;
  }
  return 0;
}

LRESULT LyricsView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;  // the paint fills the background itself
    case WM_NCCALCSIZE: return InsetByBevel(wParam, lParam);
    case WM_NCPAINT: PaintBevel(Handle(), colors_); return 0;
    case WM_NCACTIVATE: return TRUE;
    case WM_NCHITTEST: return OnNcHitTest(lParam);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP: return OnNcMouse(message, wParam, lParam);
    case WM_SIZE:
      // The font stays until the size has finished; the scroll follows the height now.
      scroll_ = TargetFor(current_);
      wipe_.Reset();
      wipeLine_ = -1;
      Invalidate(nullptr, false);
      return 0;
    case WM_EXITSIZEMOVE: SizeFinished(); return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (TakeKey(message, wParam)) return 0;
      return SendMessageA(frame_, message, wParam, lParam);
    case WM_MOUSEWHEEL: OnWheel(GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
    case WM_LBUTTONDBLCLK: OnDoubleClick(lParam); return 0;
    default: return WindowBase::WindowProc(message, wParam, lParam);
  }
}
