// Bytes as a whole song file loaded as .mp3, .rmp (in memory) and .wma (a temporary
// file, as the Windows Media reader opens paths itself), with ID3v2 on and off.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "sources/SongInfo.h"

namespace {

// One song in memory; nothing else exists, so the background search finds nothing.
class OneFileSystem : public FileSystem {
 public:
  OneFileSystem(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Exists(const WString&) override { return false; }
  bool IsDirectory(const WString&) override { return false; }
  std::unique_ptr<ByteSource> OpenForReading(const WString&) override {
    return std::make_unique<MemoryByteSource>(data_, size_);
  }
  bool WriteFileReplacing(const WString&, const void*, size_t) override { return false; }
  bool IsReadOnly(const WString&) override { return true; }

 private:
  const uint8_t* data_;
  size_t size_;
};

// The process's own temporary song, removed when the fuzzer exits.
struct TempSong {
  std::string path = "/tmp/mrlyrics-fuzz-songinfo-" + std::to_string(getpid()) + ".wma";
  ~TempSong() { std::remove(path.c_str()); }
};

const std::string& WmaPath() {
  static const TempSong song;
  return song.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  OneFileSystem files(data, size);
  for (bool id3V2 : {true, false}) {
    SourceOptions options;
    options.id3V2 = id3V2;
    for (const char16_t* name : {u"C:\\Music\\Song.mp3", u"C:\\Music\\Song.rmp"}) {
      SongInfo info(files);
      info.Load(WString(name), options);
      FUZZ_REQUIRE(info.BgFile().IsEmpty() && info.BgFolder().IsEmpty());
      WString text;
      info.Format(WString(u"%1 / %2 (%6)"), text);
    }
  }
  // Writing a file is slow: only bytes that start like an ASF header object (its
  // identifier begins 30 26 B2 75) go the Windows Media way.
  if (size < 4 || std::memcmp(data, "\x30\x26\xB2\x75", 4) != 0) return 0;
  if (FILE* out = std::fopen(WmaPath().c_str(), "wb")) {
    std::fwrite(data, 1, size, out);
    std::fclose(out);
    SongInfo info;
    info.Load(WString::FromUtf8(WmaPath()), SourceOptions());
  }
  return 0;
}
