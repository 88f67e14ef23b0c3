// Pictures of the process's windows for the headless demo: each window is brought
// to the top, repainted and copied from the screen, so windows that do not answer
// WM_PRINTCLIENT (the plug-in's) come out as the user would see them.
#include <fstream>

#include "player/SubstitutePlayer.h"

namespace {

struct ScreenDc {
  HDC dc = GetDC(nullptr);
  ~ScreenDc() { if (dc) ReleaseDC(nullptr, dc); }
  ScreenDc() = default;
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
};

struct MemoryDc {
  HDC dc;
  explicit MemoryDc(HDC like) : dc(CreateCompatibleDC(like)) {}
  ~MemoryDc() { if (dc) DeleteDC(dc); }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
};

struct Bitmap {
  HBITMAP bitmap;
  Bitmap(HDC like, int w, int h) : bitmap(CreateCompatibleBitmap(like, w, h)) {}
  ~Bitmap() { if (bitmap) DeleteObject(bitmap); }
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
};

struct Selection {
  HDC dc;
  HGDIOBJ old;
  Selection(HDC d, HGDIOBJ object) : dc(d), old(SelectObject(d, object)) {}
  ~Selection() { SelectObject(dc, old); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
};

bool WriteBmp(const std::string& path, HDC dc, HBITMAP bitmap, int w, int h) {
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = w;
  info.biHeight = h;  // bottom-up, as BMP files store rows
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  DWORD stride = ((w * 3) + 3) & ~3u;
  std::string pixels(static_cast<size_t>(stride) * h, '\0');
  if (!GetDIBits(dc, bitmap, 0, h, &pixels[0], reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS)) {
    return false;
  }
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(out);
}

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM param) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == GetCurrentProcessId() && IsWindowVisible(window)) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  }
  return TRUE;
}

}  // namespace

bool SubstitutePlayer::Screenshot(HWND window, const std::string& bmpPath) {
  RECT r;
  if (!IsWindow(window) || !GetWindowRect(window, &r)) return false;
  int w = r.right - r.left;
  int h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpFor(100);  // windows painted by another thread need a moment
  ScreenDc screen;
  MemoryDc memory(screen.dc);
  Bitmap bitmap(screen.dc, w, h);
  if (!screen.dc || !memory.dc || !bitmap.bitmap) return false;
  {
    Selection select(memory.dc, bitmap.bitmap);
    if (!BitBlt(memory.dc, 0, 0, w, h, screen.dc, r.left, r.top, SRCCOPY | CAPTUREBLT)) return false;
  }
  return WriteBmp(bmpPath, memory.dc, bitmap.bitmap, w, h);
}

std::vector<HWND> SubstitutePlayer::ProcessWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}
