// Instruction-count benchmarks, run by tools/bench under
//   valgrind --tool=callgrind --collect-atstart=no
// Only the region between the two CALLGRIND_TOGGLE_COLLECT calls is counted; the
// inputs are built outside it. Each case prints
//   scale: <divisor> <unit> <name>
// so the runner reports the collected instructions divided by <divisor>, and may
// print extra facts as
//   metric: <name> <value> <unit>
// which the runner passes through as they are.

#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <unistd.h>

#include "BenchInputs.h"
#include "base/CodePage.h"
#include "lyrics/LyricsFormat.h"
#include "lyrics/LyricsTimeline.h"
#include "sources/Id3v2Reader.h"
#include "sources/LyricsLocator.h"
#include "sources/LyricsReaders.h"
#include "sources/Mp3SeekCorrection.h"

#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <filesystem>
#include <fstream>
#include <vector>

// Every allocation in the process goes through these, so a case can count the
// allocations inside its measured region. Callgrind, unlike memcheck, leaves
// malloc alone, so the counts hold under it too.
extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);

namespace {
size_t gAllocations = 0;
size_t gAllocatedBytes = 0;
}

extern "C" void* malloc(size_t size) {
  ++gAllocations;
  gAllocatedBytes += size;
  return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) {
  ++gAllocations;
  gAllocatedBytes += count * size;
  return __libc_calloc(count, size);
}
extern "C" void* realloc(void* memory, size_t size) {
  ++gAllocations;
  gAllocatedBytes += size;
  return __libc_realloc(memory, size);
}

void* operator new(size_t size) {
  if (void* memory = malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, size_t) noexcept { std::free(memory); }

namespace {

// Keeps the optimiser from dropping work whose result is unused.
volatile long gSink;

void Scale(size_t divisor, const char* unit, const char* name) {
  std::printf("scale: %zu %s %s\n", divisor, unit, name);
}

int ParsePerByte() {
  WString text = MakeKaraokeText(kParseInputBytes);
  size_t bytes = WideToAnsi(text.CStr(), text.Length()).size();
  LyricsDocument document;
  CALLGRIND_TOGGLE_COLLECT;
  ParseLyricsText(document, text);
  CALLGRIND_TOGGLE_COLLECT;
  gSink = document.LineCount();
  Scale(bytes, "instructions/byte", "parse_instructions_per_byte");
  return document.IsKaraoke() ? 0 : 1;
}

int LoadPerByte() {
  WString text = MakeKaraokeText(kParseInputBytes);
  std::string bytes = WideToAnsi(text.CStr(), text.Length());
  char path[] = "/tmp/mrlyrics-bench-XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) return 1;
  close(fd);
  WString widePath = WString::FromUtf8(path);
  LyricsFileReader reader;
  LyricsTimeline timeline;
  CALLGRIND_TOGGLE_COLLECT;
  int loaded = timeline.LoadLyricsSource(widePath, reader);
  CALLGRIND_TOGGLE_COLLECT;
  unlink(path);
  Scale(bytes.size(), "instructions/byte", "load_instructions_per_byte");
  return loaded == 1 && timeline.IsKaraoke() ? 0 : 1;
}

int Tick() {
  LyricsTimeline timeline;
  timeline.ParseText(MakeKaraokeDocument(kTickDocumentLines));
  const int end = KaraokeDocumentLength(kTickDocumentLines) + 2000;
  TimeTag previous, next;
  long checksum = 0;
  size_t ticks = 0;
  size_t allocationsBefore = gAllocations;
  CALLGRIND_TOGGLE_COLLECT;
  for (int t = 0; t < end; t += kTickMilliseconds, ++ticks) {
    int k = timeline.DisplayLineAtTime(t);
    if (timeline.TagsAround(k, t, previous, next)) checksum += next.position;
  }
  CALLGRIND_TOGGLE_COLLECT;
  size_t allocations = gAllocations - allocationsBefore;
  gSink = checksum;
  Scale(ticks, "instructions/tick", "tick_instructions");
  std::printf("metric: tick_allocations %zu allocations\n", allocations);
  return 0;
}

int RebuildPerLine(int lineCount) {
  LyricsTimeline timeline;
  timeline.ParseText(MakeKaraokeDocument(lineCount));
  CALLGRIND_TOGGLE_COLLECT;
  timeline.RebuildTimeline();
  CALLGRIND_TOGGLE_COLLECT;
  gSink = timeline.DisplayLineCount();
  std::string name = "rebuild_instructions_per_line_" + std::to_string(lineCount);
  Scale(static_cast<size_t>(lineCount), "instructions/line", name.c_str());
  return timeline.DisplayLineCount() == lineCount ? 0 : 1;
}

std::string MakeTempFolder() {
  char path[] = "/tmp/mrlyrics-bench-XXXXXX";
  return mkdtemp(path) ? std::string(path) : std::string();
}

// A song change with a large lyrics folder: the locator walks the whole tree and
// meets the song's lyrics last.
int SongChange() {
  std::string root = MakeTempFolder();
  if (root.empty()) return 1;
  std::string lyricsFolder = root + "/lyrics";
  std::string song = MakeLyricsTree(lyricsFolder);
  CountingFileSystem files;
  SourceOptions options;
  options.lyricsFolder = WString::FromUtf8(lyricsFolder);
  LyricsLocator locator(options, files);
  WString songPath = WString::FromUtf8(root + "/music/" + song + ".mp3");
  CALLGRIND_TOGGLE_COLLECT;
  const WString& found = locator.Locate(songPath);
  CALLGRIND_TOGGLE_COLLECT;
  bool ok = !song.empty() && found.ToUtf8().find(song + ".txt") != std::string::npos;
  std::filesystem::remove_all(root);
  Scale(1, "instructions", "song_change_instructions");
  std::printf("metric: song_change_listings %zu listings\n", files.listings);
  std::printf("metric: song_change_folders %d folders\n", kLyricsTreeFolders + 1);
  return ok ? 0 : 1;
}

// Title, artist and album of each song through our ID3v2 reader, file opening
// included; the allocated bytes show that the cover picture is never copied.
int TagsOurs() {
  std::string root = MakeTempFolder();
  std::vector<std::string> paths = WriteTaggedSongs(root);
  std::vector<WString> widePaths;
  for (const std::string& path : paths) widePaths.push_back(WString::FromUtf8(path));
  FileSystem& files = PlatformFileSystem();
  size_t titles = 0;
  size_t bytesBefore = gAllocatedBytes;
  CALLGRIND_TOGGLE_COLLECT;
  for (const WString& path : widePaths) {
    std::unique_ptr<ByteSource> file = files.OpenForReading(path);
    SongFields fields;
    if (file && ReadId3v2Fields(*file, fields))
      titles += !FieldOf(fields, SongField::kTitle).IsEmpty() && !FieldOf(fields, SongField::kAlbum).IsEmpty();
  }
  CALLGRIND_TOGGLE_COLLECT;
  size_t bytes = gAllocatedBytes - bytesBefore;
  std::filesystem::remove_all(root);
  Scale(kTagSongCount, "instructions/song", "tags_ours_instructions_per_song");
  std::printf("metric: tags_ours_allocated_bytes_per_song %zu bytes\n", bytes / kTagSongCount);
  return titles == kTagSongCount ? 0 : 1;
}

// The same three fields through TagLib, as a reference.
int TagsTagLib() {
  std::string root = MakeTempFolder();
  std::vector<std::string> paths = WriteTaggedSongs(root);
  size_t titles = 0;
  size_t bytesBefore = gAllocatedBytes;
  CALLGRIND_TOGGLE_COLLECT;
  for (const std::string& path : paths) {
    TagLib::MPEG::File file(path.c_str(), false);
    const TagLib::Tag* tag = file.tag();
    if (tag) titles += !tag->title().isEmpty() && !tag->artist().isEmpty() && !tag->album().isEmpty();
  }
  CALLGRIND_TOGGLE_COLLECT;
  size_t bytes = gAllocatedBytes - bytesBefore;
  std::filesystem::remove_all(root);
  Scale(kTagSongCount, "instructions/song", "tags_taglib_instructions_per_song");
  std::printf("metric: tags_taglib_allocated_bytes_per_song %zu bytes\n", bytes / kTagSongCount);
  return titles == kTagSongCount ? 0 : 1;
}

// The MP3 correction's write runs for every block the decoder writes (about 38 a
// second), on the player's decoding thread: counted without the saved write it calls.
constexpr int kMp3BlockBytes = 4608;  // 1152 frames of 16-bit stereo at 44.1 kHz

int Mp3WriteRecording() {
  Mp3SeekCorrection correction(Mp3ClockMode::kFrames);
  if (!correction.Allocate()) return 1;
  correction.BeginSong();
  correction.SongStarted(240000);
  std::vector<uint8_t> block(kMp3BlockBytes, 0x11);
  const int blocks = 9000;  // 235 s: every entry of the 4-minute song's table recorded once
  long written = 0;
  CALLGRIND_TOGGLE_COLLECT;
  for (int i = 0; i < blocks; ++i) {
    block[0] = static_cast<uint8_t>(i);
    written += correction.Write(block.data(), kMp3BlockBytes).write;
  }
  CALLGRIND_TOGGLE_COLLECT;
  gSink = written;
  Scale(blocks, "instructions/block", "mp3_write_recording_instructions_per_block");
  return written == blocks && correction.State().highestRecorded > 230000 ? 0 : 1;
}

int Mp3WriteSearching() {
  // The worst case: every entry within reach is used and agrees with the block in all
  // but its last fingerprint byte, so every comparison runs the full 100 bytes and
  // nothing ever matches.
  Mp3SeekCorrection correction(Mp3ClockMode::kFrames);
  if (!correction.Allocate()) return 1;
  correction.BeginSong();
  correction.SongStarted(240000);
  std::vector<uint8_t> block(kMp3BlockBytes, 0x22);
  for (int i = 0; i < 9000; ++i) correction.Write(block.data(), kMp3BlockBytes);
  Mp3SeekAction seek = correction.Seek(120000);
  correction.Flushed(seek.seekTo);
  block[kFingerprintBytes - 1] = 0x23;
  const int blocks = 1000;
  long written = 0;
  CALLGRIND_TOGGLE_COLLECT;
  for (int i = 0; i < blocks; ++i) written += correction.Write(block.data(), kMp3BlockBytes).write;
  CALLGRIND_TOGGLE_COLLECT;
  gSink = written;
  // Every block searches the same entries; the last one's count stands for them all.
  Scale(blocks, "instructions/block", "mp3_write_searching_worst_instructions_per_block");
  std::printf("metric: mp3_write_searching_worst_comparisons_per_block %d comparisons\n",
              correction.State().lastComparisons);
  return correction.State().searching ? 0 : 1;
}

struct Case {
  const char* name;
  int (*run)();
};

const Case kCases[] = {
    {"parse_instructions_per_byte", ParsePerByte},
    {"load_instructions_per_byte", LoadPerByte},
    {"tick_instructions", Tick},
    {"rebuild_instructions_per_line_500", [] { return RebuildPerLine(500); }},
    {"rebuild_instructions_per_line_2000", [] { return RebuildPerLine(2000); }},
    {"rebuild_instructions_per_line_8000", [] { return RebuildPerLine(8000); }},
    {"song_change_instructions", SongChange},
    {"tags_ours_instructions_per_song", TagsOurs},
    {"tags_taglib_instructions_per_song", TagsTagLib},
    {"mp3_write_recording_instructions_per_block", Mp3WriteRecording},
    {"mp3_write_searching_worst_instructions_per_block", Mp3WriteSearching},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
    for (const Case& c : kCases) std::printf("%s\n", c.name);
    return 0;
  }
  if (argc == 2)
    for (const Case& c : kCases)
      if (std::strcmp(argv[1], c.name) == 0) return c.run();
  std::fprintf(stderr, "usage: %s --list | <case>\n", argv[0]);
  return 2;
}
