// What the Editor's karaoke view costs, measured in-process: the production view on a
// window of this program, a 300-line karaoke song, and a player link whose position
// the benchmark moves.
//
//   stamps  The song plays (300 ms a tick) while a stamp follows every tick: the area
//           each stamp repaints against the view's area, and the text widths a tick
//           measures (at most one outside the paints) with the tick's time.
//   leaks   Handles owned through ScopedHandles.h and the process's kernel handles
//           and GDI objects (tests/ProcessCensus.h) before and after 1,000 stamps
//           and 100 opens and closes of the view.
//
// Lines "metric: <name> <value> <unit>".
//
//   tools/wine-run build/win64/bench_karaoke_edit.exe [stamps] [leaks]

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "ProcessCensus.h"
#include "editor/KaraokeEditView.h"
#include "editor/LyricsEditor.h"
#include "host/PluginApp.h"
#include "host/ScopedHandles.h"
#include "settings/MemoryIniFile.h"

namespace {

constexpr int kSongLines = 300;
constexpr int kLinePitchMs = 3000;
constexpr int kTickMs = 300;
constexpr int kStamps = 1000;
constexpr int kOpenCloseCycles = 100;

class ClockLink : public PlayerLink {
 public:
  int Play() override { return 1; }
  int IsPlaying() override { return 1; }
  int GetPosition() override { return position; }
  int GetLength() override { return kSongLines * kLinePitchMs; }
  bool Seek(int ms) override { return position = ms, true; }
  int position = 0;
};

// One line every kLinePitchMs: a line stamp, four syllables of two kana with a stamp
// each, the last ending the line.
WString KaraokeLyrics() {
  static const wchar_t kKana[] = L"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ";
  std::wstring text;
  wchar_t stamp[24];
  for (int line = 0; line < kSongLines; ++line) {
    for (int s = 0; s <= 4; ++s) {
      const int ms = line * kLinePitchMs + s * 600;
      swprintf(stamp, 24, L"[%02d:%02d:%02d]", ms / 60000, ms / 1000 % 60, ms / 10 % 100);
      text += stamp;
      if (s < 4) text += std::wstring{kKana[(line + s) % 30], kKana[(line * 7 + s) % 30]};
    }
    text += L"\r\n";
  }
  return WString::FromW(text.c_str());
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

struct Bench {
  MemoryIniFile ini{"[Mirabo's Lyrics Displayer]\r\nOpen=0\r\n"};
  ClockLink link;
  std::unique_ptr<PluginApp> app;
  std::unique_ptr<LyricsEditor> editor;
  LyricsTimeline timeline;
  HWND frame = nullptr;

  Bench() {
    PluginAppSetup setup;
    setup.link = &link;
    setup.ini = &ini;
    app = std::make_unique<PluginApp>(setup);
    editor = std::make_unique<LyricsEditor>(*app);
    frame = CreateWindowExA(0, "STATIC", "karaoke bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480,
                            nullptr, nullptr, nullptr, nullptr);
    timeline.ParseText(KaraokeLyrics());
  }
  ~Bench() {
    DestroyWindow(frame);
    editor.reset();
    app.reset();
  }
  std::unique_ptr<KaraokeEditView> OpenView() {
    EditorViewContext context{*app, link, app->Editor(), *editor, timeline, frame};
    auto view = std::make_unique<KaraokeEditView>(context);
    if (!view->Open(kSongLines / 2)) return nullptr;
    Pump();
    return view;
  }
};

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

bool MeasureStamps() {
  Bench bench;
  bench.link.position = (kSongLines / 2) * kLinePitchMs;
  auto view = bench.OpenView();
  if (!view) return fprintf(stderr, "stamps: the view did not open\n"), false;
  RECT client{};
  GetClientRect(view->Handle(), &client);
  const double viewArea = double(client.right) * client.bottom;

  int64_t stampArea[2] = {0, 0};  // staying on the line, going on to the next
  long stampCount[2] = {0, 0};
  long mostInATick = 0, ticks = 0;
  double tickSeconds = 0;
  for (int i = 0; i < kStamps; ++i) {
    bench.link.position += kTickMs;
    const KaraokeEditView::Counts before = view->Work();
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    view->Tick();
    QueryPerformanceCounter(&end);
    Pump();
    const KaraokeEditView::Counts afterTick = view->Work();
    if (afterTick.paints == before.paints) {
      mostInATick = std::max(mostInATick, afterTick.measurements - before.measurements);
      tickSeconds += Seconds(start, end);
      ++ticks;
    }
    const int line = view->CaretLine();
    view->Send(WM_KEYDOWN, VK_SPACE, 0);
    Pump();
    const int nextLine = view->CaretLine() != line;
    stampArea[nextLine] += view->Work().paintedArea - afterTick.paintedArea;
    ++stampCount[nextLine];
  }
  for (int nextLine : {0, 1})
    printf("metric: karaoke_edit_stamp_%s_repainted_area_over_view_area %.4f ratio (%ld stamps)\n",
           nextLine ? "next_line" : "same_line", double(stampArea[nextLine]) / std::max(stampCount[nextLine], 1L) / viewArea,
           stampCount[nextLine]);
  printf("metric: karaoke_edit_view_area %.0f pixels\n", viewArea);
  printf("metric: karaoke_edit_tick_most_measurements %ld widths\n", mostInATick);
  printf("metric: karaoke_edit_tick_time %.1f us\n", ticks ? tickSeconds / ticks * 1e6 : 0.0);
  return mostInATick <= 1;
}

long Total(const ProcessCensus& census, const std::string& prefix) {
  long total = 0;
  for (const auto& [kind, count] : census)
    if (kind.compare(0, prefix.size(), prefix) == 0) total += count;
  return total;
}

bool CountLeftovers() {
  Bench bench;
  const long handlesBefore = LiveScopedHandles();
  const ProcessCensus before = TakeProcessCensus();
  {
    auto view = bench.OpenView();
    if (!view) return fprintf(stderr, "leaks: the view did not open\n"), false;
    for (int i = 0; i < kStamps; ++i) {
      bench.link.position += kTickMs;
      view->Tick();
      view->Send(WM_KEYDOWN, i % 3 ? VK_SPACE : VK_RETURN, 0);
      Pump();
    }
  }
  for (int i = 0; i < kOpenCloseCycles; ++i) bench.OpenView();
  Pump();
  const ProcessCensus after = TakeProcessCensus();
  const long scopedLeft = LiveScopedHandles() - handlesBefore;
  const long kernelLeft = Total(after, "kernel ") - Total(before, "kernel ");
  const long gdiLeft = Total(after, "gdi ") - Total(before, "gdi ");
  printf("metric: karaoke_edit_left_scoped_handles %ld handles\n", scopedLeft);
  printf("metric: karaoke_edit_left_kernel_handles %ld handles\n", kernelLeft);
  printf("metric: karaoke_edit_left_gdi_objects %ld objects\n", gdiLeft);
  const std::string growth = CensusGrowth(before, after);
  if (!growth.empty()) printf("leaks: more than before: %s\n", growth.c_str());
  return growth.empty() && scopedLeft == 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool stamps = false, leaks = false;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "stamps") == 0) stamps = true;
    else if (strcmp(argv[i], "leaks") == 0) leaks = true;
  }
  if (!stamps && !leaks) stamps = leaks = true;
  bool ok = true;
  if (stamps) ok = MeasureStamps() && ok;
  if (leaks) ok = CountLeftovers() && ok;
  return ok ? 0 : 1;
}
