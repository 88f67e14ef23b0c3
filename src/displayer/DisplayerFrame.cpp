#include "displayer/DisplayerFrame.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "settings/DisplayerSettings.h"
#include "displayer/InfoWindow.h"
#include "displayer/LyricsView.h"
#include "settings/SkinColors.h"
#include "host/PluginApp.h"
#include "host/PluginDescription.h"
#include "host/SkinFiles.h"
#include "resources/resource.h"
#include "sources/SongLoader.h"

namespace {

// Labels 12 to 18 of the string table, for the fields shown when a song has no lyrics.
constexpr struct {
  UINT label;
  SongField field;
} kInformationLines[] = {
    {IDS_LABEL_TITLE, SongField::kTitle},     {IDS_LABEL_ARTIST, SongField::kArtist},
    {IDS_LABEL_ALBUM, SongField::kAlbum},     {IDS_LABEL_YEAR, SongField::kYear},
    {IDS_LABEL_COMMENT, SongField::kComment}, {IDS_LABEL_GENRE, SongField::kGenre},
    {IDS_LABEL_COPYRIGHT, SongField::kCopyright},
};

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
Rect ToRect(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

POINT PointOf(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

// The monitor the window is on (the primary one when there is no window yet).
bool MonitorOf(HWND window, MONITORINFO& monitor) {
  monitor = MONITORINFO{};
  monitor.cbSize = sizeof monitor;
  HMONITOR handle = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
  return handle && GetMonitorInfoA(handle, &monitor);
}

}  // namespace

DisplayerFrame::DisplayerFrame(PluginApp& app, HWND owner)
    : WindowBase(kClassName),
      app_(app),
      settings_(app.Displayer()),
      link_(app.Link()),
      owner_(owner),
      skinColors_(UnsetSkinColors()) {}

DisplayerFrame::~DisplayerFrame() {
  Destroy();
  info_.reset();
  view_.reset();
  // A class registered by a library that is unloaded would keep a dangling procedure.
  UnregisterWindowClass(kClassName);
  UnregisterWindowClass(LyricsView::kClassName);
  UnregisterWindowClass(InfoWindow::kClassName);
}

bool DisplayerFrame::Open() {
  LoadSkin();
  RecomputeColors();
  elements_ = SkinElements();
  WNDCLASSEXA record{};
  record.style = CS_DBLCLKS;
  record.hIcon = LoadIconA(app_.Instance(), MAKEINTRESOURCEA(IDI_DISPLAYER));
  smallIcon_.Reset(static_cast<HICON>(
      LoadImageA(app_.Instance(), MAKEINTRESOURCEA(IDI_DISPLAYER), IMAGE_ICON, 16, 16, 0)));
  record.hIconSm = smallIcon_.Get();
  record.hCursor = LoadCursor(nullptr, IDC_ARROW);
  RegisterWindowClass(record, kClassName);

  // The normal rectangle as the frame will use it, also when it opens folded: leaving
  // the bar later restores this one, never an empty or lost rectangle.
  const Rect saved{settings_.windowRect.left, settings_.windowRect.top, settings_.windowRect.right,
                   settings_.windowRect.bottom};
  const Rect normal = InitialFrameRect(saved, WorkArea(), false, Size{});
  settings_.windowRect = SettingsRect{normal.left, normal.top, normal.right, normal.bottom};
  const RECT rect = ToRECT(InitialFrameRect(normal, WorkArea(), Shaded(),
                                            Size{settings_.shadeWidth, settings_.shadeHeight}));
  const DWORD exStyle = WS_EX_ACCEPTFILES | (settings_.topMost == 1 ? WS_EX_TOPMOST : 0);
  const DWORD style = WS_POPUP | WS_THICKFRAME | WS_CLIPCHILDREN | WS_SYSMENU | WS_MAXIMIZEBOX |
                      (settings_.max == 1 ? WS_MAXIMIZE : 0);
  if (!CreateUnder(owner_, kClassName, exStyle, style, rect, 0)) return false;
  link_.SetFollower(settings_.moveTogePlayer ? Handle() : nullptr);
  SongChanged();
  return true;
}

// --- Lyrics and song information --------------------------------------------

void DisplayerFrame::SongChanged() {
  WString file;
  link_.GetPlayingFile(file);
  lyrics_.SetShowUntaggedLines(settings_.dispNoTimeTagLine != 0);
  SongLoader loader;
  const bool found = loader.Load(file, app_.Common().ToSourceOptions(), lyrics_, song_);
  app_.Common().lyricsFolder = loader.LyricsFolder();
  ShowLoaded(found);
}

void DisplayerFrame::Load(const WString& path, const WString& secondPath) {
  lyrics_.SetShowUntaggedLines(settings_.dispNoTimeTagLine != 0);
  ShowLoaded(SongLoader().LoadLyrics(path, secondPath, lyrics_, song_));
}

// Without lyrics the song's own information is shown, as untimed lines whose text is
// never read for stamps: a title "[00:45] Intro" is shown as it is.
void DisplayerFrame::ShowLoaded(bool found) {
  noLyrics_ = !found;
  if (noLyrics_) lyrics_.SetPlainText(SongInformationText());
  AnchorUntimedLyrics();
  ShowOrHide();
  RefreshChildren(false);
}

void DisplayerFrame::ShowText(const WString& text) {
  lyrics_.SetShowUntaggedLines(settings_.dispNoTimeTagLine != 0);
  lyrics_.ParseText(text);
  noLyrics_ = false;
  AnchorUntimedLyrics();
  ShowOrHide();
  RefreshChildren(false);
}

WString DisplayerFrame::SongInformationText() const {
  WString text;
  for (const auto& line : kInformationLines) {
    const WString& value = song_.Field(line.field);
    if (value.IsEmpty()) continue;
    if (!text.IsEmpty()) text.Append(u'\n');
    text.Append(LoadResourceString(app_.Instance(), line.label));
    text.AppendAscii(" : ");
    text.Append(value);
  }
  return text;
}

void DisplayerFrame::AnchorUntimedLyrics() {
  if (!lyrics_.IsTimed()) lyrics_.SetUntimedAnchor(0, 0, link_.GetLength());
}

void DisplayerFrame::ShowOrHide() {
  if (settings_.hideNoLyrics && noLyrics_) {
    Show(SW_HIDE);
    return;
  }
  if (IsWindowVisible(Handle())) return;
  Show(SW_SHOWNA);
  if (!shownOnce_ && settings_.topMost != 1) SetForegroundWindow(Handle());
  shownOnce_ = true;
}

void DisplayerFrame::RefreshChildren(bool repaintBorders) {
  if (info_) info_->Update(repaintBorders);
  if (view_) view_->Refresh(repaintBorders);
}

void DisplayerFrame::Tick() {
  if (view_) view_->PollTick();
}

// --- Skin and settings ------------------------------------------------------

// The skin's own bitmap, or the built-in one when the skin brings no usable bitmap.
// The colours belong to the player's current skin: its folder's gen_mrlyrics.txt
// counts even where the bitmap comes from the plug-in's own folder or is missing.
void DisplayerFrame::LoadSkin() {
  skin_.Reset();
  WString folder;
  skinColors_ = link_.GetSkinFolder(folder) ? ReadSkinColors(folder.Append(SkinColors::kFileName))
                                            : UnsetSkinColors();
  WString path;
  if (link_.GetSkinBitmapPath(path)) {
    ScopedWindowDC screen(nullptr);
    skin_ = LoadBitmapFile(path, screen.Get());
  }
  if (!skin_) skin_.Reset(LoadBitmapA(app_.Instance(), MAKEINTRESOURCEA(IDB_SKIN)));
  BITMAP info{};
  skinSize_ = skin_ && GetObjectA(skin_.Get(), sizeof info, &info) ? Size{info.bmWidth, info.bmHeight} : Size{};
}

void DisplayerFrame::RecomputeColors() { colors_.Recompute(settings_, skinColors_); }

void DisplayerFrame::SkinChanged() {
  LoadSkin();
  RecomputeColors();
  RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
  for (WindowBase* child : {static_cast<WindowBase*>(view_.get()), static_cast<WindowBase*>(info_.get())}) {
    if (child) RedrawWindow(child->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  }
}

void DisplayerFrame::ApplySettings() {
  SetWindowPos(Handle(), settings_.topMost == 1 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ShowOrHide();
  Update();
  link_.SetFollower(settings_.moveTogePlayer ? Handle() : nullptr);
  lyrics_.SetShowUntaggedLines(settings_.dispNoTimeTagLine != 0);
  RecomputeColors();
  if (!settings_.infoWindow) {
    info_.reset();
  } else if (!info_ && !Shaded()) {
    CreateInfoWindow();
  } else if (info_) {
    info_->Update(true);
  }
  if (view_) view_->Refresh(true);
  LayoutChildren();
}

bool DisplayerFrame::Shaded() const { return settings_.windowShadeMode != 0; }

bool DisplayerFrame::IsNormalState() const { return !IsIconic(Handle()) && !IsZoomed(Handle()); }

// --- Children ---------------------------------------------------------------

LRESULT DisplayerFrame::OnCreate() {
  CreateChildren();
  return 0;
}

void DisplayerFrame::CreateChildren() {
  if (settings_.infoWindow && !Shaded()) CreateInfoWindow();
  RECT client = ClientRect();
  if (info_) client.top += info_->StripHeight();
  view_ = std::make_unique<LyricsView>(settings_, colors_, link_, lyrics_);
  if (!view_->Create(*this, client)) view_.reset();
}

void DisplayerFrame::CreateInfoWindow() {
  info_ = std::make_unique<InfoWindow>(settings_, colors_, link_, song_);
  if (!info_->Create(*this, ClientRect())) info_.reset();
}

void DisplayerFrame::LayoutChildren() {
  RECT client = ClientRect();
  if (info_) client.top = info_->Place(client);
  if (view_) {
    SetWindowPos(view_->Handle(), nullptr, client.left, client.top, client.right - client.left,
                 std::max<LONG>(client.bottom - client.top, 0), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void DisplayerFrame::ChildrenSizeFinished() {
  if (view_) view_->SizeFinished();
  if (info_) info_->SizeFinished();
}

void DisplayerFrame::OnSize(WPARAM type) {
  LayoutChildren();
  const bool maximised = type == SIZE_MAXIMIZED && lastSizeType_ != SIZE_MAXIMIZED;
  const bool restored = type == SIZE_RESTORED && lastSizeType_ == SIZE_MAXIMIZED;
  if (settings_.fitLyrics && (maximised || restored)) ChildrenSizeFinished();
  lastSizeType_ = type;
}

// --- Window-shade mode and maximising -----------------------------------------

void DisplayerFrame::RememberPlacement() {
  const RECT rect = WindowRect();
  settings_.windowRect = SettingsRect{rect.left, rect.top, rect.right, rect.bottom};
}

// The bar keeps its size as the working bar size, and the normal rectangle moves to
// the bar's corner, where the frame unfolds.
void DisplayerFrame::RememberBar() {
  const RECT bar = WindowRect();
  settings_.shadeWidth = bar.right - bar.left;
  settings_.shadeHeight = bar.bottom - bar.top;
  SettingsRect& normal = settings_.windowRect;
  const Rect moved =
      NormalRectAtCorner(Rect{normal.left, normal.top, normal.right, normal.bottom}, Point{bar.left, bar.top});
  normal = SettingsRect{moved.left, moved.top, moved.right, moved.bottom};
}

void DisplayerFrame::EnterShadeMode() {
  RememberPlacement();
  info_.reset();
  settings_.windowShadeMode = 1;
  SetWindowPos(Handle(), nullptr, 0, 0, settings_.shadeWidth, settings_.shadeHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  LayoutChildren();
  if (view_) view_->SizeFinished();
}

void DisplayerFrame::Maximise() {
  RememberPlacement();
  Show(SW_HIDE);
  Show(SW_SHOWMAXIMIZED);
}

void DisplayerFrame::RestoreNormal() {
  Show(SW_HIDE);
  if (Shaded()) {
    settings_.windowShadeMode = 0;
    RememberBar();
    const SettingsRect& normal = settings_.windowRect;
    SetWindowPos(Handle(), nullptr, normal.left, normal.top, normal.Width(), normal.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (settings_.infoWindow) CreateInfoWindow();
    LayoutChildren();
  }
  Show(SW_SHOWNORMAL);
  ChildrenSizeFinished();
}

// --- Non-client area ----------------------------------------------------------

LRESULT DisplayerFrame::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
  RECT* rect = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
  const Size window{rect->right - rect->left, rect->bottom - rect->top};
  const Rect client = FrameClientRect(elements_, window, Shaded());
  *rect = RECT{rect->left + client.left, rect->top + client.top, rect->left + client.right, rect->top + client.bottom};
  return 0;
}

void DisplayerFrame::PaintBorder() {
  ScopedWindowDC dc(Handle(), ScopedWindowDC::kWholeWindow);
  if (!dc) return;
  const RECT bounds = WindowRect();
  const Size window{bounds.right - bounds.left, bounds.bottom - bounds.top};
  if (Shaded()) {
    RECT frame{0, 0, window.width, window.height};
    FrameRect(dc.Get(), &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return;
  }
  OwnedMemoryDC memory(dc.Get());
  if (!memory || !skin_) return;
  ScopedSelect select(memory.Get(), skin_.Get());
  for (const SkinBlit& blit : ComposeBorder(elements_, window, skinSize_)) {
    BitBlt(dc.Get(), blit.target.x, blit.target.y, blit.source.Width(), blit.source.Height(), memory.Get(),
           blit.source.left, blit.source.top, SRCCOPY);
  }
  PaintCloseBox(closePressed_);
}

void DisplayerFrame::PaintCloseBox(bool pressed) {
  if (Shaded() || !skin_) return;
  ScopedWindowDC dc(Handle(), ScopedWindowDC::kWholeWindow);
  OwnedMemoryDC memory(dc.Get());
  if (!dc || !memory) return;
  const RECT bounds = WindowRect();
  const Rect box = elements_.CloseBox(bounds.right - bounds.left);
  const Rect source = elements_[pressed ? SkinElement::kCloseBoxPressed : SkinElement::kCloseBox];
  // A skin bitmap too small for the close box leaves the caption as it is.
  if (source.right > skinSize_.width || source.bottom > skinSize_.height) return;
  ScopedSelect select(memory.Get(), skin_.Get());
  BitBlt(dc.Get(), box.left, box.top, std::min(box.Width(), source.Width()), std::min(box.Height(), source.Height()),
         memory.Get(), source.left, source.top, SRCCOPY);
}

FrameHit DisplayerFrame::HitTest(POINT screen) const {
  const RECT bounds = WindowRect();
  const Point offset{screen.x - bounds.left, screen.y - bounds.top};
  return HitTestFrame(elements_, offset, Size{bounds.right - bounds.left, bounds.bottom - bounds.top},
                      IsZoomed(Handle()) != 0, Shaded());
}

LRESULT DisplayerFrame::OnNcHitTest(LPARAM lParam) {
  switch (HitTest(PointOf(lParam))) {
    case FrameHit::kClient: return HTCLIENT;
    case FrameHit::kCaption: return HTCAPTION;
    case FrameHit::kClose: return HTCLOSE;
    case FrameHit::kLeft: return HTLEFT;
    case FrameHit::kRight: return HTRIGHT;
    case FrameHit::kBottomLeft: return HTBOTTOMLEFT;
    case FrameHit::kBottomRight: return HTBOTTOMRIGHT;
    case FrameHit::kBottom: return HTBOTTOM;
    default: return HTNOWHERE;
  }
}

LRESULT DisplayerFrame::OnNcActivate(WPARAM wParam) {
  elements_.SetActive(wParam != 0);
  PaintBorder();
  return TRUE;  // the system's caption is never drawn
}

LRESULT DisplayerFrame::OnNcLeftDown(WPARAM wParam, LPARAM lParam) {
  if (wParam != HTCLOSE) return DefaultProc(WM_NCLBUTTONDOWN, wParam, lParam);
  closePressed_ = true;
  SetCapture(Handle());
  PaintCloseBox(true);
  return 0;
}

void DisplayerFrame::OnMouseMove() {
  if (!closePressed_) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  PaintCloseBox(HitTest(cursor) == FrameHit::kClose);
}

void DisplayerFrame::OnLeftUp() {
  if (!closePressed_) return;
  closePressed_ = false;
  ReleaseCapture();
  PaintCloseBox(false);
  POINT cursor{};
  GetCursorPos(&cursor);
  if (HitTest(cursor) == FrameHit::kClose) PostClose();
}

LRESULT DisplayerFrame::OnNcLeftDoubleClick(WPARAM wParam, LPARAM lParam) {
  if (wParam != HTCAPTION) return DefaultProc(WM_NCLBUTTONDBLCLK, wParam, lParam);
  if (IsNormalState() && !Shaded()) {
    Maximise();
  } else {
    RestoreNormal();
  }
  return 0;
}

LRESULT DisplayerFrame::OnNcRightDoubleClick(WPARAM wParam, LPARAM lParam) {
  if (wParam == HTCAPTION && IsNormalState() && !Shaded()) {
    EnterShadeMode();
    return 0;
  }
  return DefaultProc(WM_NCRBUTTONDBLCLK, wParam, lParam);
}

void DisplayerFrame::PostClose() { app_.Post(TM_CLOSE_WINDOW, kDisplayerWindow, 0); }

// --- Snapping -----------------------------------------------------------------

Rect DisplayerFrame::WorkArea() const {
  MONITORINFO monitor;
  if (MonitorOf(Handle() ? Handle() : owner_, monitor)) return ToRect(monitor.rcWork);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return ToRect(work);
}

SnapTargets DisplayerFrame::Targets() const {
  SnapTargets targets;
  targets.workArea = WorkArea();
  targets.snapLength = settings_.snapLen;
  for (int index = link_.WindowCount() - 1; index >= 0; --index) {
    HWND player = link_.GetPlayerWindow(index);
    RECT rect{};
    if (player && IsWindowVisible(player) && GetWindowRect(player, &rect)) targets.playerWindows.push_back(ToRect(rect));
  }
  return targets;
}

// Moves are made only by the caption (or the whole bar in window-shade mode).
void DisplayerFrame::OnMoving(RECT& rect) {
  const Rect moved = ToRect(rect);
  const Point at = SnapDragged(moved, Targets());
  OffsetRect(&rect, at.x - rect.left, at.y - rect.top);
}

void DisplayerFrame::OnSizing(WPARAM edge, RECT& rect) {
  const int32_t minHeight = Shaded() ? settings_.wsmHeight : kMinFrameHeight;
  rect = ToRECT(SnapSized(ToRect(rect), static_cast<SizingEdge>(edge), Targets(), minHeight));
}

void DisplayerFrame::OnMinMaxInfo(MINMAXINFO& info) const {
  MONITORINFO monitor;
  if (MonitorOf(Handle(), monitor)) {
    info.ptMaxPosition = POINT{monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top};
    info.ptMaxSize = POINT{monitor.rcWork.right - monitor.rcWork.left, monitor.rcWork.bottom - monitor.rcWork.top};
  }
  info.ptMinTrackSize.y = std::max(settings_.wsmHeight, 1);
  info.ptMinTrackSize.x = 1;
}

// --- Keys, menu, dropped files ----------------------------------------------------

LRESULT DisplayerFrame::OnKey(UINT message, WPARAM wParam, LPARAM lParam) {
  if (view_ && view_->TakeKey(message, wParam)) return 0;
  if (wParam == VK_ESCAPE) {
    if (message == WM_KEYDOWN) PostClose();
    return 0;
  }
  // The player's own keys work while the Displayer has the focus.
  if (HWND player = link_.GetPlayerWindow(0)) PostMessageA(player, message, wParam, lParam);
  return 0;
}

void DisplayerFrame::OnContextMenu(LPARAM lParam) {
  POINT at = PointOf(lParam);
  if (lParam == -1) GetCursorPos(&at);  // from the keyboard
  if (!Shaded() && HitTest(at) == FrameHit::kCaption) return;
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(app_.PopupMenu(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr));
  if (command >= kFirstWindowCommand && command < kFirstWindowCommand + kWindowIndexCount) {
    app_.Post(TM_TOGGLE_WINDOW, command - kFirstWindowCommand, 0);
  }
}

// The path is taken whole, however long: a buffer too small would have it cut, and
// the cut path could name another file.
void DisplayerFrame::OnDropFiles(HDROP drop) {
  const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  std::vector<wchar_t> path(static_cast<size_t>(length) + 1, L'\0');
  const bool whole = length > 0 && DragQueryFileW(drop, 0, path.data(), length + 1) == length;
  DragFinish(drop);
  if (whole) Load(WString::FromW(path.data()), WString());
}

// --- Lifetime ---------------------------------------------------------------------

void DisplayerFrame::OnDestroy() {
  link_.SetFollower(nullptr);
  info_.reset();
  view_.reset();
  if (IsZoomed(Handle())) {
    settings_.max = 1;  // WindowRect keeps the last normal rectangle
  } else if (!Shaded()) {
    RememberPlacement();
    settings_.max = 0;
  } else {
    RememberBar();
  }
}

LRESULT DisplayerFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate();
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_NCCALCSIZE: return OnNcCalcSize(wParam, lParam);
    case WM_NCPAINT: PaintBorder(); return 0;
    case WM_NCACTIVATE: return OnNcActivate(wParam);
    case WM_NCHITTEST: return OnNcHitTest(lParam);
    case WM_NCLBUTTONDOWN: return OnNcLeftDown(wParam, lParam);
    case WM_NCLBUTTONDBLCLK: return OnNcLeftDoubleClick(wParam, lParam);
    case WM_NCRBUTTONDBLCLK: return OnNcRightDoubleClick(wParam, lParam);
    case WM_MOUSEMOVE: OnMouseMove(); return 0;
    case WM_LBUTTONUP: OnLeftUp(); return 0;
    case WM_CAPTURECHANGED:
      if (closePressed_) {
        closePressed_ = false;
        PaintCloseBox(false);
      }
      return 0;
    case WM_ERASEBKGND: return 1;  // the children cover the client area
    case WM_MOVING: OnMoving(*reinterpret_cast<RECT*>(lParam)); return TRUE;
    case WM_SIZING: OnSizing(wParam, *reinterpret_cast<RECT*>(lParam)); return TRUE;
    case WM_GETMINMAXINFO: OnMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_SIZE: OnSize(wParam); return 0;
    case WM_EXITSIZEMOVE: ChildrenSizeFinished(); return 0;
    case WM_KEYDOWN:
    case WM_KEYUP: return OnKey(message, wParam, lParam);
    case WM_MOUSEWHEEL:
      if (view_) view_->OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_CONTEXTMENU: OnContextMenu(lParam); return 0;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_CLOSE: PostClose(); return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        PostClose();
        return 0;
      }
      return DefaultProc(message, wParam, lParam);
    default: return WindowBase::WindowProc(message, wParam, lParam);
  }
}
