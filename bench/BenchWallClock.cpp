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
#include "sources/Id3v2Reader.h"
#include "sources/LyricsLocator.h"
#include "sources/LyricsReaders.h"

#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <filesystem>
#include <fstream>
#include <vector>

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

// A temporary folder that goes with the benchmark.
class BenchFolder {
 public:
  BenchFolder() {
    char path[] = "/tmp/mrlyrics-bench-XXXXXX";
    if (mkdtemp(path)) path_ = path;
  }
  ~BenchFolder() {
    std::error_code error;
    if (!path_.empty()) std::filesystem::remove_all(path_, error);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// A song change with a lyrics folder of 10,000 files in 200 folders whose match
// is met last; "listings" is the number of folder listings per song change.
void BM_SongChange(benchmark::State& state) {
  BenchFolder root;
  std::string song = MakeLyricsTree(root.Path() + "/lyrics");
  CountingFileSystem files;
  SourceOptions options;
  options.lyricsFolder = WString::FromUtf8(root.Path() + "/lyrics");
  LyricsLocator locator(options, files);
  WString songPath = WString::FromUtf8(root.Path() + "/music/" + song + ".mp3");
  for (auto _ : state) benchmark::DoNotOptimize(locator.Locate(songPath).Length());
  if (locator.Result().ToUtf8().find(song + ".txt") == std::string::npos) state.SkipWithError("lyrics not found");
  state.counters["listings"] = benchmark::Counter(static_cast<double>(files.listings), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SongChange)->Unit(benchmark::kMillisecond);

// Title, artist and album of 1,000 MP3s: our ID3v2 reader, then TagLib on the
// same files; compare the two times.
void BM_TagsOurs(benchmark::State& state) {
  BenchFolder root;
  std::vector<WString> paths;
  for (const std::string& path : WriteTaggedSongs(root.Path())) paths.push_back(WString::FromUtf8(path));
  FileSystem& files = PlatformFileSystem();
  for (auto _ : state) {
    for (const WString& path : paths) {
      std::unique_ptr<ByteSource> file = files.OpenForReading(path);
      SongFields fields;
      benchmark::DoNotOptimize(file && ReadId3v2Fields(*file, fields));
    }
  }
  state.SetItemsProcessed(state.iterations() * kTagSongCount);
}
BENCHMARK(BM_TagsOurs)->Unit(benchmark::kMillisecond);

void BM_TagsTagLib(benchmark::State& state) {
  BenchFolder root;
  std::vector<std::string> paths = WriteTaggedSongs(root.Path());
  for (auto _ : state) {
    for (const std::string& path : paths) {
      TagLib::MPEG::File file(path.c_str(), false);
      const TagLib::Tag* tag = file.tag();
      benchmark::DoNotOptimize(tag && !tag->title().isEmpty() && !tag->artist().isEmpty() && !tag->album().isEmpty());
    }
  }
  state.SetItemsProcessed(state.iterations() * kTagSongCount);
}
BENCHMARK(BM_TagsTagLib)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
