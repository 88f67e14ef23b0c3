// Wall-clock companions of the instruction-count cases, for exploring with
// Google Benchmark's options (--benchmark_filter, --benchmark_repetitions).
// Timings depend on the machine; tools/bench checks the targets by instruction
// count instead.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "BenchInputs.h"
#include "base/CodePage.h"
#include "lyrics/LyricsFormat.h"
#include "lyrics/LyricsTimeline.h"
#include "sources/LyricsReaders.h"

namespace {

void BM_Parse(benchmark::State& state) {
  WString text = MakeKaraokeText(kParseInputBytes);
  size_t bytes = WideToAnsi(text.CStr(), text.Length()).size();
  LyricsDocument document;
  for (auto _ : state) {
    ParseLyricsText(document, text);
    benchmark::DoNotOptimize(document.LineCount());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_Parse);

void BM_Load(benchmark::State& state) {
  WString text = MakeKaraokeText(kParseInputBytes);
  std::string bytes = WideToAnsi(text.CStr(), text.Length());
  char path[] = "/tmp/mrlyrics-bench-XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    state.SkipWithError("cannot write the temporary lyrics file");
    return;
  }
  close(fd);
  WString widePath = WString::FromUtf8(path);
  LyricsFileReader reader;
  LyricsTimeline timeline;
  for (auto _ : state) benchmark::DoNotOptimize(timeline.LoadLyricsSource(widePath, reader));
  unlink(path);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_Load);

// One playback pass over the whole song per iteration; items are ticks.
void BM_Tick(benchmark::State& state) {
  LyricsTimeline timeline;
  timeline.ParseText(MakeKaraokeDocument(kTickDocumentLines));
  const int end = KaraokeDocumentLength(kTickDocumentLines) + 2000;
  TimeTag previous, next;
  int64_t ticks = 0;
  for (auto _ : state) {
    for (int t = 0; t < end; t += kTickMilliseconds, ++ticks) {
      int k = timeline.DisplayLineAtTime(t);
      benchmark::DoNotOptimize(timeline.TagsAround(k, t, previous, next));
    }
  }
  state.SetItemsProcessed(ticks);
}
BENCHMARK(BM_Tick);

void BM_Rebuild(benchmark::State& state) {
  LyricsTimeline timeline;
  timeline.ParseText(MakeKaraokeDocument(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    timeline.RebuildTimeline();
    benchmark::DoNotOptimize(timeline.DisplayLineCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Rebuild)->Arg(500)->Arg(2000)->Arg(8000)->Complexity(benchmark::oNLogN);

}  // namespace

BENCHMARK_MAIN();
