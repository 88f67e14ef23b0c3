#include "editor/KaraokeEditView.h"

#include <imm.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "editor/EditorViews.h"
#include "host/PlayerLink.h"
#include "host/PluginApp.h"
#include "lyrics/LyricsTimeline.h"
#include "resources/resource.h"
#include "settings/EditorSettings.h"

namespace {

constexpr int32_t kSeekShort = 2500;  // B ] and V [
constexpr int32_t kSeekLong = 5000;   // N and C
// A double-click starts its line a second early, so its first syllable is heard whole.
constexpr int32_t kLineLead = 1000;
constexpr int kFaceNameLength = LF_FACESIZE;

COLORREF Colour(ColorValue value) { return static_cast<COLORREF>(value); }

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  const COLORREF previous = SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  SetBkColor(dc, previous);
}

void DrawLine(HDC dc, int32_t x, int32_t y, UINT options, const RECT* clip, const WString& text) {
  ExtTextOutW(dc, x, y, options, clip, text.W(), static_cast<UINT>(text.Length()), nullptr);
}

// The window's input context, given back at the end of the scope.
class ScopedInputContext {
 public:
  explicit ScopedInputContext(HWND window) noexcept : window_(window), context_(ImmGetContext(window)) {}
  ScopedInputContext(const ScopedInputContext&) = delete;
  ScopedInputContext& operator=(const ScopedInputContext&) = delete;
  ~ScopedInputContext() {
    if (context_) ImmReleaseContext(window_, context_);
  }
  HIMC Get() const noexcept { return context_; }

 private:
  HWND window_;
  HIMC context_;
};

}  // namespace

KaraokeEditView::KaraokeEditView(const EditorViewContext& context) : EditorView(kClassName, context) {}

KaraokeEditView::~KaraokeEditView() {
  Destroy();
  // A class registered by a library that is unloaded would keep a dangling procedure.
  UnregisterWindowClass(kClassName);
}

bool KaraokeEditView::Open(int caretLine) {
  MakeFont();
  WNDCLASSEXA record{};
  record.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  record.hCursor = LoadCursor(nullptr, IDC_ARROW);
  RegisterWindowClass(record, kClassName);  // registered by an earlier view is fine
  caret_ = {std::max(caretLine, 0), 0};
  if (!CreateChild(WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE)) return false;
  // Karaoke editing needs at most two tags at a position: the end of one syllable and
  // the start of the next.
  ThinTagRuns(timeline_);
  Reload();
  SetFocus(Handle());
  Show(SW_SHOW);
  Update();
  return true;
}

// --- Font and measuring ------------------------------------------------------

void KaraokeEditView::MakeFont() {
  LOGFONTW logical{};
  logical.lfHeight = settings_.fontSize;
  logical.lfWeight = FW_NORMAL;
  logical.lfCharSet = DEFAULT_CHARSET;
  logical.lfClipPrecision = CLIP_STROKE_PRECIS;
  logical.lfQuality = DRAFT_QUALITY;
  logical.lfPitchAndFamily = VARIABLE_PITCH;
  wchar_t face[kFaceNameLength] = {};
  LoadStringW(Instance(), IDS_DEFAULT_FONT, face, kFaceNameLength);
  std::copy(std::begin(face), std::end(face), logical.lfFaceName);
  // A font the system refuses keeps the one there was.
  if (HFONT font = CreateFontIndirectW(&logical)) font_.Reset(font);

  ScopedWindowDC screen(nullptr);
  if (!screen) return;
  ScopedSelect select(screen.Get(), Font());
  RECT rect{};
  DrawTextW(screen.Get(), L"A", 1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  metrics_ = KaraokeMetrics::FromTextHeight(rect.bottom - rect.top);
  settings_.karaokeLeftMargin = metrics_.margin;
  settings_.karaokeRowSpacing = metrics_.spacing;
}

HFONT KaraokeEditView::Font() const {
  return font_ ? font_.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int32_t KaraokeEditView::PrefixWidth(const WString& text, int32_t characters) {
  const int count = std::clamp<int32_t>(characters, 0, static_cast<int32_t>(text.Length()));
  ++counts_.measurements;
  SIZE size{};
  if (measuringDc_) {
    GetTextExtentPoint32W(measuringDc_, text.W(), count, &size);
    return size.cx;
  }
  ScopedWindowDC dc(Handle());
  if (!dc) return 0;
  ScopedSelect select(dc.Get(), Font());
  GetTextExtentPoint32W(dc.Get(), text.W(), count, &size);
  return size.cx;
}

int32_t KaraokeEditView::Offset(int line, int32_t column) { return offsets_.Offset(timeline_, line, column, *this); }

// --- Layout ------------------------------------------------------------------

int32_t KaraokeEditView::ClientHeight() const {
  const RECT client = ClientRect();
  return client.bottom - client.top;
}

KaraokeLayout KaraokeEditView::Layout() const { return KaraokeLayout::For(ClientHeight(), metrics_, caret_.line); }

RECT KaraokeEditView::CaretRect(int32_t column) {
  const KaraokeLayout layout = Layout();
  const int32_t x = ClampToInt32(int64_t(metrics_.margin) + Offset(caret_.line, column));
  return RECT{x, ClampToInt32(int64_t(layout.caretRowTop) + metrics_.TextOffset()), ClampToInt32(int64_t(x) + 1),
              ClampToInt32(int64_t(layout.caretRowTop) + metrics_.pitch)};
}

void KaraokeEditView::InvalidateRow(int line) {
  // The playing line before a stamp may be none (-1) or past the end.
  if (!timeline_.IsValidLine(line) || !Handle()) return;
  const RECT client = ClientRect();
  const int32_t top = Layout().RowTop(line, metrics_);
  const RECT row{client.left, std::max<int32_t>(top, client.top), client.right,
                 static_cast<LONG>(std::min<int64_t>(int64_t(top) + metrics_.pitch, client.bottom))};
  if (row.top < row.bottom) InvalidateRect(Handle(), &row, FALSE);
}

// --- Caret -------------------------------------------------------------------

void KaraokeEditView::SetCaretColumn(int32_t column, bool repaint) {
  const int32_t length = static_cast<int32_t>(timeline_.LineText(caret_.line).Length());
  column = std::clamp(column, 0, length);
  if (repaint && Handle()) {
    const RECT before = CaretRect(caret_.column), after = CaretRect(column);
    InvalidateRect(Handle(), &before, FALSE);
    InvalidateRect(Handle(), &after, FALSE);
  }
  caret_.column = column;
  if (repaint) Update();
}

// The caret line stays at the centre: moving it scrolls the text by whole rows.
void KaraokeEditView::SetCaretLine(int64_t line) {
  const int32_t target = ClampCaretLine(line, timeline_.LineCount());
  if (target == caret_.line) {
    caret_ = MoveCaretToLine(timeline_, caret_, target);
    RepaintCaretLine();
    return;
  }
  const int32_t dy = CaretScrollDelta(caret_.line, target, metrics_);
  if (std::abs(int64_t(dy)) < ClientHeight())
    ScrollWindowEx(Handle(), 0, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
  else
    InvalidateRect(Handle(), nullptr, FALSE);
  const int before = caret_.line;
  caret_ = {target, 0};
  InvalidateRow(before);
  InvalidateRow(target);
  Update();
}

void KaraokeEditView::RepaintCaretLine() {
  if (!Handle()) return;
  const RECT client = ClientRect();
  const KaraokeLayout layout = Layout();
  const RECT band{client.left, ClampToInt32(int64_t(layout.caretRowTop) + metrics_.TextOffset()), client.right,
                  ClampToInt32(int64_t(layout.caretRowTop) + metrics_.pitch)};
  InvalidateRect(Handle(), &band, FALSE);
  Update();
}

// --- Document ----------------------------------------------------------------

void KaraokeEditView::Reload() {
  offsets_.Reset(timeline_);
  caret_.column = 0;
  if (caret_.line >= timeline_.LineCount()) caret_.line = 0;
  lastTime_ = -1;
  playingLine_ = -1;
  wipeShown_ = false;
  if (!Handle()) return;
  InvalidateRect(Handle(), nullptr, FALSE);
  Update();
}

void KaraokeEditView::SettingsChanged() {
  MakeFont();
  Reload();
}

// --- Playing mark ------------------------------------------------------------

int32_t KaraokeEditView::PlayingTime() {
  const int position = link_.GetPosition();
  // Nothing plays: no line is playing, whatever the correction.
  if (position < 0) return -1;
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t(position) + app_.Displayer().sync, -1, kMaxTime));
}

int32_t KaraokeEditView::WipeXAt(int line, int displayLine, int32_t t) {
  TimeTag before, after;
  if (!timeline_.TagsAround(displayLine, t, before, after)) return metrics_.margin;
  return WipeX(metrics_.margin, Offset(line, before.position), Offset(line, after.position), before.time,
               after.time, t);
}

void KaraokeEditView::Tick() {
  if (!Handle()) return;
  offsets_.MeasureNext(timeline_, *this);
  UpdatePlayingMark();
}

// A tick paints only the strip the wipe moved over; a new playing line repaints the
// two rows.
void KaraokeEditView::UpdatePlayingMark() {
  if (!Handle()) return;
  const int32_t t = PlayingTime();
  lastTime_ = t;
  const int displayLine = timeline_.DisplayLineAtTime(t);
  const int line = timeline_.LineOfDisplayLine(displayLine);
  if (line != playingLine_ || (!wipeShown_ && timeline_.IsValidLine(line))) {
    InvalidateRow(playingLine_);
    InvalidateRow(line);
    Update();
    return;
  }
  if (!timeline_.IsValidLine(line)) return;
  const int32_t x = WipeXAt(line, displayLine, t);
  const WipeStrip strip = WipeStripBetween(wipeX_, x);
  wipeX_ = x;
  if (strip.IsEmpty()) return;
  const int32_t y = ClampToInt32(int64_t(Layout().RowTop(line, metrics_)) + metrics_.TextOffset());
  ScopedWindowDC dc(Handle());
  if (!dc) return;
  ScopedSelect select(dc.Get(), Font());
  const RECT band{strip.left, y, strip.right, ClampToInt32(int64_t(y) + metrics_.textHeight)};
  SetBkColor(dc.Get(), Colour(settings_.bkCurColor));
  SetTextColor(dc.Get(), Colour(strip.sung ? settings_.curColor : settings_.curColor2));
  DrawLine(dc.Get(), metrics_.margin, y, ETO_CLIPPED | ETO_OPAQUE, &band, timeline_.LineText(line));
  if (line == caret_.line) {
    const RECT caret = CaretRect(caret_.column);
    if (caret.left >= band.left && caret.left < band.right) InvertRect(dc.Get(), &caret);
  }
}

// --- Painting ----------------------------------------------------------------

// The pixels a paint redraws: its update region, not the rectangle around it.
void KaraokeEditView::CountPaint() {
  ++counts_.paints;
  OwnedRegion update(CreateRectRgn(0, 0, 0, 0));
  if (!update || GetUpdateRgn(Handle(), update.Get(), FALSE) == ERROR) return;
  const DWORD size = GetRegionData(update.Get(), 0, nullptr);
  std::vector<char> buffer(size);
  if (size < sizeof(RGNDATAHEADER) || !GetRegionData(update.Get(), size, reinterpret_cast<RGNDATA*>(buffer.data())))
    return;
  const auto* data = reinterpret_cast<const RGNDATA*>(buffer.data());
  const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
  for (DWORD i = 0; i < data->rdh.nCount; ++i)
    counts_.paintedArea += int64_t(rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
}

void KaraokeEditView::OnPaint() {
  CountPaint();
  ScopedPaint paint(Handle());
  const HDC dc = paint.Get();
  if (!dc) return;
  const RECT& area = paint.Area();
  ScopedSelect select(dc, Font());
  measuringDc_ = dc;
  const RECT client = ClientRect();
  FillSolid(dc, client, Colour(settings_.bkColor));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Colour(settings_.color));

  const int32_t t = lastTime_ != -1 ? lastTime_ : PlayingTime();
  const int playingDisplay = timeline_.DisplayLineAtTime(t);
  const int playing = timeline_.LineOfDisplayLine(playingDisplay);
  const KaraokeLayout layout = Layout();
  const int64_t caretTextTop = int64_t(layout.caretRowTop) + metrics_.TextOffset();
  const RECT frame{client.left - 1, ClampToInt32(caretTextTop - 1), client.right + 1,
                   ClampToInt32(caretTextTop + metrics_.textHeight + 1)};
  OwnedBrush frameBrush(CreateSolidBrush(Colour(settings_.editLineColor)));
  FrameRect(dc, &frame, frameBrush.Get());

  bool playingPainted = false;
  for (int line = std::max(layout.topLine, 0); line < timeline_.LineCount(); ++line) {
    const int64_t rowTop = layout.RowTop(line, metrics_);
    const int64_t y = rowTop + metrics_.TextOffset();
    if (y >= client.bottom) break;
    if (rowTop + metrics_.pitch <= area.top || rowTop >= area.bottom) continue;  // outside the update region
    PaintRow(dc, client, line, static_cast<int32_t>(y), line == playing ? playingDisplay : -1, t);
    playingPainted |= line == playing;
  }
  lastTime_ = t;
  // The wipe's state follows what the playing row shows; when that row was not part of
  // this paint, the next tick finds the change and repaints it.
  if (playingPainted || !timeline_.IsValidLine(playing)) {
    playingLine_ = playing;
    wipeShown_ = playingPainted;
  }
  measuringDc_ = nullptr;
}

void KaraokeEditView::PaintRow(HDC dc, const RECT& client, int line, int32_t y, int playingDisplay, int32_t t) {
  const WString& text = timeline_.LineText(line);
  // Painting never uses a boundary that is not measured: the row is measured first.
  offsets_.MeasureLine(timeline_, line, *this);
  const int32_t bottom = ClampToInt32(int64_t(y) + metrics_.textHeight);
  if (playingDisplay >= 0) {
    FillSolid(dc, RECT{client.left, y, client.right, bottom}, Colour(settings_.bkCurColor));
    wipeX_ = WipeXAt(line, playingDisplay, t);
    const RECT sung{client.left, y, wipeX_, bottom}, unsung{wipeX_, y, client.right, bottom};
    SetTextColor(dc, Colour(settings_.curColor));
    DrawLine(dc, metrics_.margin, y, ETO_CLIPPED, &sung, text);
    SetTextColor(dc, Colour(settings_.curColor2));
    DrawLine(dc, metrics_.margin, y, ETO_CLIPPED, &unsung, text);
    SetTextColor(dc, Colour(settings_.color));
  } else {
    DrawLine(dc, metrics_.margin, y, 0, nullptr, text);
  }
  if (line == caret_.line) {
    const RECT caret = CaretRect(caret_.column);
    InvertRect(dc, &caret);
  }
  PaintMarks(dc, line, y);
}

// A small triangle under every tagged boundary, pointing left; the second tag at one
// boundary (the start of the next syllable) points right, just beside the first.
void KaraokeEditView::PaintMarks(HDC dc, int line, int32_t y) {
  const std::vector<TimeTag>& tags = timeline_.Line(line).tags;
  if (tags.empty()) return;
  OwnedBrush brush(CreateSolidBrush(Colour(settings_.curColor)));
  const int32_t half = metrics_.spacing / 2;
  const int32_t top = ClampToInt32(int64_t(y) + metrics_.textHeight);
  const int32_t bottom = ClampToInt32(int64_t(top) + half);
  for (size_t n = 0; n < tags.size(); ++n) {
    int32_t x = ClampToInt32(int64_t(Offset(line, tags[n].position)) + metrics_.margin - 1);
    const bool second = n > 0 && tags[n - 1].position == tags[n].position;
    if (second) x += 2;
    const POINT points[3] = {{x, top}, {x, bottom}, {second ? x + half : x - half, bottom}};
    OwnedRegion region(CreatePolygonRgn(points, 3, WINDING));
    if (region) FillRgn(dc, region.Get(), brush.Get());
  }
}

// --- Input -------------------------------------------------------------------

void KaraokeEditView::OnKeyDown(WPARAM key) {
  if (key >= '1' && key <= '9') heldTag_ = static_cast<int>(key - '1');
  const int32_t length = static_cast<int32_t>(timeline_.LineText(caret_.line).Length());
  switch (key) {
    case VK_SHIFT: shift_ = true; return;
    case VK_CONTROL: ctrl_ = true; return;
    case VK_LEFT: return SetCaretColumn(caret_.column - 1, true);
    case VK_RIGHT: return SetCaretColumn(caret_.column + 1, true);
    case VK_HOME: return SetCaretColumn(0, true);
    case VK_END: return SetCaretColumn(length, true);
    case VK_UP: return SetCaretLine(int64_t(caret_.line) - 1);
    case VK_DOWN: return SetCaretLine(int64_t(caret_.line) + 1);
    case VK_PRIOR: return SetCaretLine(int64_t(caret_.line) - PageStep(ClientHeight(), metrics_));
    case VK_NEXT: return SetCaretLine(int64_t(caret_.line) + PageStep(ClientHeight(), metrics_));
    case VK_RETURN: return Stamp(length);
    case VK_SPACE: return Stamp(caret_.column);
    case VK_BACK: {
      bool removed = false;
      const KaraokeCaret after = KaraokeBackspace(timeline_, caret_, removed);
      if (removed) RepaintCaretLine();
      return SetCaretColumn(after.column, after.column != caret_.column);
    }
    case VK_DELETE: {
      bool removed = false;
      KaraokeDelete(timeline_, caret_, removed);
      if (removed) RepaintCaretLine();
      return;
    }
    case 'B': case VK_OEM_6: return Seek(kSeekShort);   // "]"
    case 'V': case VK_OEM_4: return Seek(-kSeekShort);  // "["
    case 'N': return Seek(kSeekLong);
    case 'C': return Seek(-kSeekLong);
    case 'Z':
      if (shift_ || ctrl_) {
        Undo();
        return;
      }
      if (const int32_t target = RowTagJumpTarget(timeline_, caret_.line, heldTag_); target >= 0) link_.Seek(target);
      UpdatePlayingMark();
      return;
  }
}

void KaraokeEditView::OnKeyUp(WPARAM key) {
  if (key == VK_SHIFT) shift_ = false;
  if (key == VK_CONTROL) ctrl_ = false;
  if (key >= '1' && key <= '9') heldTag_ = -1;
}

// A key released while another window has the focus never reaches us.
void KaraokeEditView::ForgetHeldKeys() {
  shift_ = ctrl_ = false;
  heldTag_ = -1;
}

void KaraokeEditView::Seek(int32_t delta) {
  const int32_t target = SeekTarget(link_.GetPosition(), delta);
  if (target < 0) return;
  link_.Seek(target);
  UpdatePlayingMark();
}

// Only the rows the stamp changed are repainted: the caret line (its marks and
// caret), the line that stopped playing, and on a move to the next line the two rows
// the scroll leaves behind.
void KaraokeEditView::Stamp(int32_t position) {
  const KaraokeStampResult result =
      KaraokeStamp(timeline_, Options(), caret_, position, link_.GetPosition(), shift_);
  if (!result.stamped) return;
  InvalidateRow(result.repaintLine);
  if (result.caretLineChanged) {
    SetCaretLine(result.caret.line);
  } else {
    caret_.column = result.caret.column;
    RepaintCaretLine();
  }
}

void KaraokeEditView::OnClick(int32_t x, int32_t y) {
  SetFocus(Handle());
  if (!Layout().InCaretText(y, metrics_)) return;
  // A click before the first paint finds the row not measured yet.
  offsets_.MeasureLine(timeline_, caret_.line, *this);
  const int32_t column = NearestBoundary(offsets_.Table(caret_.line), metrics_.margin, x);
  if (column >= 0) Stamp(column);
}

void KaraokeEditView::OnDoubleClick(int32_t y) {
  const int32_t line = Layout().LineAt(y, metrics_);
  if (!timeline_.IsValidLine(line) || line == caret_.line) return;
  const int32_t time = timeline_.DisplayLineTime(timeline_.DisplayLineOfLine(line));
  if (time == -1) return;
  link_.Seek(SeekTarget(time, -kLineLead));
  SetCaretLine(line);
  UpdatePlayingMark();
}

// Letter keys are commands here: the input method is kept closed.
void KaraokeEditView::CloseInputMethod() {
  ScopedInputContext context(Handle());
  if (context.Get() && ImmGetOpenStatus(context.Get())) ImmSetOpenStatus(context.Get(), FALSE);
}

LRESULT KaraokeEditView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: return OnPaint(), 0;
    case WM_ERASEBKGND: return 1;  // painting fills everything
    case WM_SETFOCUS: CloseInputMethod(); break;
    case WM_KILLFOCUS: ForgetHeldKeys(); break;
    case WM_IME_NOTIFY:
      if (wParam == IMN_SETOPENSTATUS) CloseInputMethod();
      break;
    case WM_KEYDOWN: OnKeyDown(wParam); break;
    case WM_KEYUP: OnKeyUp(wParam); break;
    case WM_LBUTTONDOWN: return OnClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)), 0;
    case WM_LBUTTONDBLCLK: return OnDoubleClick(GET_Y_LPARAM(lParam)), 0;
    case WM_MOUSEWHEEL: {
      const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
      if (delta != 0) Send(WM_KEYDOWN, delta < 0 ? VK_DOWN : VK_UP, 0);
      return 0;
    }
  }
  return EditorView::WindowProc(message, wParam, lParam);
}

std::unique_ptr<EditorView> CreateKaraokeEditView(const EditorViewContext& context, int caretLine) {
  auto view = std::make_unique<KaraokeEditView>(context);
  if (!view->Open(caretLine)) return nullptr;
  return view;
}
