#include "karaoke/KaraokeDisplayer.h"

#include "host/PluginApp.h"
#include "karaoke/BackgroundRenderer.h"
#include "karaoke/InfoRenderer.h"
#include "karaoke/LyricsRowRenderer.h"
#include "karaoke/core/KaraokeLyrics.h"
#include "settings/KaraokeSettings.h"
#include "sources/SongLoader.h"

namespace {

// A seek to a line lands this long before it, so the line is seen coming.
constexpr int kSeekLead = 1000;

uint32_t ShuffleSeed() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return uint32_t(now.wMinute) * 60 + uint32_t(now.wSecond) * 1000 + now.wMilliseconds;
}

}  // namespace

KaraokeDisplayer::KaraokeDisplayer(PluginApp& app, HWND owner)
    : WindowBase(kClassName), app_(app), settings_(app.Karaoke()), link_(app.Link()), owner_(owner) {}

KaraokeDisplayer::~KaraokeDisplayer() {
  ReleaseDisplay();
  Destroy();
  // A class registered by a library that is unloaded would keep a dangling procedure.
  UnregisterWindowClass(kClassName);
}

bool KaraokeDisplayer::Open() {
  WNDCLASSEXA record{};
  record.hCursor = LoadCursor(nullptr, IDC_ARROW);
  RegisterWindowClass(record, kClassName);
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (!CreateUnder(owner_, kClassName, WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, screen, 0)) return Fail();
  if (!TakeDisplay() || !MakeRenderers()) return Fail();
  // Opened at the user's request, the screen is in front; the application's
  // deactivation clears this.
  SetForegroundWindow(Handle());
  active_ = true;
  SongChanged();
  return true;
}

bool KaraokeDisplayer::Fail() {
  ReleaseDisplay();
  Destroy();
  PostClose();
  return false;
}

bool KaraokeDisplayer::TakeDisplay() {
  directDraw_ = library_.Create();
  if (!directDraw_ || FAILED(directDraw_->SetCooperativeLevel(Handle(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN)))
    return false;
  DDSURFACEDESC current{};
  current.dwSize = sizeof current;
  if (FAILED(directDraw_->GetDisplayMode(&current))) return false;
  const DisplayMode desktop{static_cast<int32_t>(current.dwWidth), static_cast<int32_t>(current.dwHeight),
                           static_cast<int32_t>(current.ddpfPixelFormat.dwRGBBitCount)};
  auto setMode = [&](const DisplayMode& mode) {
    return SUCCEEDED(directDraw_->SetDisplayMode(static_cast<DWORD>(mode.width), static_cast<DWORD>(mode.height),
                                                 static_cast<DWORD>(mode.bitsPerPixel), 0, 0));
  };
  return ChooseDisplayMode(settings_.width, settings_.height, settings_.bpp, desktop, setMode, mode_);
}

bool KaraokeDisplayer::MakeRenderers() {
  primary_ = std::make_unique<PrimarySurface>(directDraw_.Get());
  int32_t width = 0, height = 0;
  if (!primary_->Ok() || !SurfaceSize(primary_->Get(), width, height)) return false;
  context_.directDraw = directDraw_.Get();
  context_.format = DDPIXELFORMAT{};
  context_.format.dwSize = sizeof context_.format;
  if (FAILED(primary_->Get()->GetPixelFormat(&context_.format))) return false;
  // The outline works on 2, 3 and 4 bytes per pixel only.
  const DWORD bits = context_.format.dwRGBBitCount;
  if (!(context_.format.dwFlags & DDPF_RGB) || (bits != 16 && bits != 24 && bits != 32)) return false;
  context_.layout = ComputeKaraokeLayout(settings_, width, height);
  if (FAILED(CreateOffscreenSurface(context_, width, height, DDSCAPS_SYSTEMMEMORY, canvas_))) return false;
  background_ = std::make_unique<BackgroundRenderer>(context_, settings_, PlatformFileSystem(),
                                                     std::make_unique<SeededRandom>(ShuffleSeed()));
  if (!background_->Ok()) return false;
  for (int row = 0; row < 2; ++row) {
    rows_[row] = std::make_unique<LyricsRowRenderer>(context_, settings_, row, lyrics_, schedule_);
    if (!rows_[row]->Ok()) return false;
  }
  info_ = std::make_unique<InfoRenderer>(context_, settings_, song_);
  return info_->Ok();
}

// The renderers go before the DirectDraw object that made their surfaces; the
// desktop's mode comes back with the end of the exclusive mode.
void KaraokeDisplayer::ReleaseDisplay() {
  primary_.reset();
  canvas_.Reset();
  background_.reset();
  info_.reset();
  rows_[0].reset();
  rows_[1].reset();
  context_.probe.Reset();
  context_.pixels.clear();
  if (directDraw_) {
    directDraw_->RestoreDisplayMode();
    directDraw_->SetCooperativeLevel(Handle(), DDSCL_NORMAL);
  }
  directDraw_.Reset();
  active_ = false;
}

void KaraokeDisplayer::PostClose() { app_.Post(TM_CLOSE_WINDOW, kKaraokeWindow, 0); }

// --- Lyrics -----------------------------------------------------------------------

void KaraokeDisplayer::SongChanged() {
  if (!directDraw_) return;
  WString file;
  link_.GetPlayingFile(file);
  // Lines without stamps stay in the document, so a partly stamped song keeps its
  // lines in place; the rows only ever take timed ones.
  lyrics_.SetShowUntaggedLines(true);
  SongLoader().Load(file, app_.Common().ToSourceOptions(), lyrics_, song_);
  OwnedFont font = CreateKaraokeFont(context_.layout.lyrics.height, settings_.fontWeight, settings_.fontFace);
  GdiTextMeasure measure(font.Get());
  PrepareKaraokeLyrics(lyrics_, context_.layout, measure, app_.Common().language);
  background_->NewSong(song_);
  redraw_ = true;
  schedule_.Reset();
}

// --- Frames -----------------------------------------------------------------------

bool KaraokeDisplayer::DrawFrame() {
  if (!directDraw_) return false;
  if (FAILED(Step())) return false;
  ++frames_;
  return true;
}

HRESULT KaraokeDisplayer::Step() {
  const int32_t t = link_.GetPosition();
  // The player went back: the rows empty and fill again from the first line due.
  if (schedule_.SetTime(t)) redraw_ = true;
  background_->SetTime(t);
  KaraokeSurface* order[] = {primary_.get(), background_.get(), info_.get(), rows_[1].get(), rows_[0].get()};
  for (KaraokeSurface* surface : order) {
    HRESULT result = surface->Update(redraw_);
    if (FAILED(result)) return result;
  }
  redraw_ = false;
  // Every blit into the display's memory costs far more than its pixels (Wine
  // reads the buffer back and uploads it again): the layers are composed in system
  // memory and go to the back buffer in one blit.
  KaraokeSurface* layers[] = {background_.get(), info_.get(), rows_[0].get(), rows_[1].get()};
  for (KaraokeSurface* layer : layers) {
    HRESULT result = layer->Draw(canvas_.Get());
    if (FAILED(result)) return result;
  }
  Blit whole;
  whole.source = {0, 0, context_.layout.width, context_.layout.height};
  HRESULT result = BlitClipped(primary_->Back(), canvas_.Get(), whole, false);
  return FAILED(result) ? result : primary_->Flip();
}

// --- Messages ---------------------------------------------------------------------

void KaraokeDisplayer::SeekLine(bool forward) {
  if (!lyrics_.IsTimed()) return;
  const int current = lyrics_.DisplayLineAtTime(link_.GetPosition());
  if (forward) {
    const int next = lyrics_.NextTimedDisplayLine(current);
    if (lyrics_.IsValidDisplayLine(next)) link_.Seek(std::max(lyrics_.DisplayLineTime(next) - kSeekLead, 0));
    return;
  }
  const int previous = lyrics_.PrevTimedDisplayLine(current);
  link_.Seek(lyrics_.IsValidDisplayLine(previous) ? std::max(lyrics_.DisplayLineTime(previous) - kSeekLead, 0) : 0);
}

LRESULT KaraokeDisplayer::OnKey(UINT message, WPARAM wParam, LPARAM lParam) {
  const bool down = message == WM_KEYDOWN;
  if (wParam == VK_ESCAPE) {
    // The key-up too stays here: the player must not see half a key press.
    if (down) PostClose();
    return 0;
  }
  if (wParam == VK_CONTROL) control_ = down;
  if (control_ && (wParam == VK_LEFT || wParam == VK_RIGHT) && lyrics_.IsTimed()) {
    if (down) SeekLine(wParam == VK_RIGHT);
    return 0;
  }
  if (HWND player = link_.GetPlayerWindow(0)) PostMessageA(player, message, wParam, lParam);
  return 0;
}

LRESULT KaraokeDisplayer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETCURSOR: SetCursor(nullptr); return TRUE;
    case WM_KEYDOWN:
    case WM_KEYUP: return OnKey(message, wParam, lParam);
    case WM_ACTIVATEAPP:
      active_ = wParam != 0 && directDraw_;
      if (active_) redraw_ = true;
      return 0;
    // The screen closes only through the plug-in thread.
    case WM_CREATE:
    case WM_DESTROY:
    case WM_CLOSE: return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) return 0;
      return WindowBase::WindowProc(message, wParam, lParam);
    default: return WindowBase::WindowProc(message, wParam, lParam);
  }
}
