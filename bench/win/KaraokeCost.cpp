// What the karaoke screen costs under Wine, in the desktop's mode (Xvfb's 1280 ×
// 1024): two rows of a timed song over 1920 × 1080 JPEG backgrounds that change
// every 3 s, frames back to back on this thread as the plug-in thread runs them.
//
//   fill_flip_fps              the least frame (a fill and a flip) on the same display,
//                              afterwards: what the machine's load leaves
//   fps                        frames a second over the run
//   cpu_ms_per_frame           this thread's CPU time a frame
//   jpeg_rows_most_in_a_frame  the most scanlines decoded in any one frame after the
//                              first (which loads the opening picture whole)
//   slowest_frame_ms           the slowest frame, and the slowest of the frames in
//   slowest_change_frame_ms    which the picture on screen changed
//
//   tools/wine-run build/win64/bench_karaoke.exe [seconds]

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "TestText.h"
#include "ThreadCpu.h"
#include "host/PluginApp.h"
#include "host/WinampLink.h"
#include "host/WindowBase.h"
#include "karaoke/BackgroundRenderer.h"
#include "karaoke/KaraokeDisplayer.h"
#include "player/SubstitutePlayer.h"
#include "settings/MemoryIniFile.h"

namespace {

// A 1920 × 1080 gradient with a tint of its own, so each picture differs.
bool WriteJpeg(const std::string& path, int tint) {
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return false;
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = 1920, info.image_height = 1080, info.input_components = 3, info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(1920 * 3);
  while (info.next_scanline < info.image_height) {
    const unsigned y = info.next_scanline;
    for (unsigned x = 0; x < 1920; ++x) {
      row[x * 3] = static_cast<unsigned char>(x * 255 / 1920);
      row[x * 3 + 1] = static_cast<unsigned char>(y * 255 / 1080);
      row[x * 3 + 2] = static_cast<unsigned char>(tint + ((x ^ y) & 31));
    }
    JSAMPROW line = row.data();
    jpeg_write_scanlines(&info, &line, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return fclose(file) == 0;
}

// A line every 4 s, each character stamped 200 ms after the one before.
std::string KaraokeSong() {
  std::string text;
  char stamp[16];
  for (int line = 0; line < 60; ++line) {
    int ms = 1000 + line * 4000;
    for (const char* c = "Sing along with the screen"; *c; ++c, ms += 120) {
      snprintf(stamp, sizeof stamp, "[%02d:%02d:%02d]", ms / 60000, ms / 1000 % 60, ms / 10 % 100);
      text += stamp;
      text += *c;
    }
    text += "\r\n";
  }
  return text;
}

// Frames a second of the least a full-screen frame can be: a colour fill of the back
// buffer and a flip, in the same mode (and the machine's same load) as the screen.
double FillAndFlipFps(int seconds) {
  HWND window = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                nullptr, nullptr);
  double fps = 0;
  {
    DirectDrawLibrary library;
    OwnedInterface<IDirectDraw2> directDraw = library.Create();
    if (directDraw && SUCCEEDED(directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN))) {
      PrimarySurface primary(directDraw.Get());
      LARGE_INTEGER frequency, start, now;
      QueryPerformanceFrequency(&frequency);
      QueryPerformanceCounter(&start);
      for (long frames = 1; primary.Ok(); ++frames) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        FillSurface(primary.Back(), nullptr, frames & 0xFF);
        primary.Flip();
        QueryPerformanceCounter(&now);
        const double elapsed = double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
        if (elapsed >= seconds) {
          fps = frames / elapsed;
          break;
        }
      }
      directDraw->SetCooperativeLevel(window, DDSCL_NORMAL);
    }
  }
  DestroyWindow(window);
  return fps;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 12;
  WindowBase::SetInstance(GetModuleHandleA(nullptr));
  TempDir folder;
  const std::string base = folder.Path().string() + "\\";
  CreateDirectoryA((base + "pictures").c_str(), nullptr);
  for (int i = 0; i < 3; ++i)
    if (!WriteJpeg(base + "pictures\\" + std::to_string(i) + ".jpg", 60 * i)) return 1;
  WriteFileBytes(base + "song.txt", KaraokeSong());

  SubstitutePlayer player;
  PlayerOptions options;
  options.realTimeClock = true;
  if (!player.Create(options)) return 1;
  player.SetPlaylist({base + "song.wav"});
  player.SetLength(600);
  player.Play();
  player.SetPosition(0);

  MemoryIniFile ini("[Mirabo's Lyrics Displayer]\r\nOpen=0\r\n[Mirabo's Karaoke Displayer]\r\nInterval=3000\r\nBGFolder=" +
                    base + "pictures\r\n");
  WinampLink link(player.MainWindow(), WindowBase::Instance());
  PluginAppSetup setup;
  setup.link = &link;
  setup.ini = &ini;
  setup.instance = WindowBase::Instance();
  auto app = std::make_unique<PluginApp>(setup);
  double fps = 0, cpuPerFrame = 0, slowest = 0, slowestChange = 0;
  int mostRows = 0, openingRows = 0;
  long frames = 0, failed = 0;
  {
    KaraokeDisplayer screen(*app, nullptr);
    if (!screen.Open()) {
      fprintf(stderr, "the screen did not open\n");
      return 1;
    }
    LARGE_INTEGER frequency, start, before, after;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const double cpuStart = CurrentThreadCpuMs();
    int shown = screen.Background()->Shown();
    for (;;) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      QueryPerformanceCounter(&before);
      failed += !screen.DrawFrame();
      QueryPerformanceCounter(&after);
      const double ms = double(after.QuadPart - before.QuadPart) * 1000.0 / double(frequency.QuadPart);
      const BackgroundRenderer& background = *screen.Background();
      if (++frames > 5) slowest = std::max(slowest, ms);  // the first frames draw everything
      if (background.Shown() != shown) slowestChange = std::max(slowestChange, ms);
      shown = background.Shown();
      // The first frame loads the opening picture whole, as any switch without a
      // load ahead (a seek) does; changes in play are loaded ahead.
      if (frames == 1) openingRows = background.RenderRows();
      else mostRows = std::max(mostRows, background.AheadRows() + background.RenderRows());
      const double elapsed = double(after.QuadPart - start.QuadPart) / double(frequency.QuadPart);
      if (elapsed >= seconds) {
        fps = frames / elapsed;
        cpuPerFrame = (CurrentThreadCpuMs() - cpuStart) / frames;
        break;
      }
    }
  }
  app.reset();
  printf("metric: karaoke_fill_flip_fps %.1f fps\n", FillAndFlipFps(std::max(2, seconds / 4)));
  printf("metric: karaoke_fps %.1f fps\n", fps);
  printf("metric: karaoke_cpu_ms_per_frame %.2f ms\n", cpuPerFrame);
  printf("metric: karaoke_jpeg_rows_most_in_a_frame %d rows\n", mostRows);
  printf("metric: karaoke_jpeg_rows_opening_frame %d rows\n", openingRows);
  printf("metric: karaoke_slowest_frame_ms %.1f ms\n", slowest);
  printf("metric: karaoke_slowest_change_frame_ms %.1f ms\n", slowestChange);
  printf("metric: karaoke_failed_frames %ld frames\n", failed);
  return 0;
}
