#include "sources/RiffInfoReader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "base/CodePage.h"

namespace {

constexpr uint64_t kRiffHeaderSize = 12;  // "RIFF", size, form type
constexpr uint64_t kChunkPeekSize = 12;   // identifier, size, first 4 body bytes
constexpr uint64_t kSubChunkHeaderSize = 8;
// A text field longer than this is cut: nobody shows a megabyte of comment, and a
// size field must not make us read a whole file.
constexpr uint64_t kMaxTextBytes = 1 << 20;
// Walking stops after this many top-level chunks: real files have a handful.
constexpr int kMaxChunks = 1 << 16;

uint32_t LittleEndian32(const char* bytes) {
  const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
  return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

// Chunk identifiers of 0x80 and above end a walk: what follows is not RIFF.
bool IsChunkId(const char* id) { return static_cast<unsigned char>(id[0]) < 0x80; }

struct InfoChunk {
  const char* id;
  SongField field;
};

const InfoChunk kInfoChunks[] = {
    {"INAM", SongField::kTitle},     {"IART", SongField::kArtist},    {"IPRD", SongField::kAlbum},
    {"ICMT", SongField::kComment},   {"ICRD", SongField::kYear},      {"IGNR", SongField::kGenre},
    {"ICOP", SongField::kCopyright}, {"IENG", SongField::kEngineer},  {"ISRC", SongField::kSource},
    {"ISFT", SongField::kSoftware},
};

const InfoChunk* FindInfoChunk(const char* id) {
  for (const InfoChunk& chunk : kInfoChunks)
    if (std::memcmp(chunk.id, id, 4) == 0) return &chunk;
  return nullptr;
}

// The sub-chunks of an INFO list whose body spans [at, end) of the file (end already
// clipped to the file). A sub-chunk cut short keeps the text up to the end.
void WalkInfoList(ByteSource& file, uint64_t at, uint64_t end, SongFields& fields) {
  while (end - at >= kSubChunkHeaderSize) {
    char header[kSubChunkHeaderSize];
    if (!file.ReadAt(at, header, sizeof header) || !IsChunkId(header)) return;
    uint64_t size = LittleEndian32(header + 4);
    uint64_t data = at + kSubChunkHeaderSize;
    if (const InfoChunk* chunk = FindInfoChunk(header)) {
      uint64_t count = std::min(std::min(size, end - data), kMaxTextBytes);
      std::string text;
      if (!file.ReadBytes(data, static_cast<size_t>(count), text)) return;
      FieldOf(fields, chunk->field) = AnsiToWide(text.data(), text.size());
    }
    uint64_t next = data + size + (size & 1);  // odd sizes are followed by a pad byte
    if (next >= end) return;
    at = next;
  }
}

}  // namespace

bool ReadRiffInfo(ByteSource& file, SongFields& fields) {
  const uint64_t fileSize = file.Size();
  char header[kRiffHeaderSize];
  if (fileSize < kRiffHeaderSize || !file.ReadAt(0, header, sizeof header)) return false;
  if (std::memcmp(header, "RIFF", 4) != 0) return false;
  if (std::memcmp(header + 8, "RMP3", 4) != 0 && std::memcmp(header + 8, "WAVE", 4) != 0) return false;
  const uint64_t riffSize = LittleEndian32(header + 4);

  uint64_t at = kRiffHeaderSize;
  for (int chunks = 0; chunks < kMaxChunks; ++chunks) {
    char peek[kChunkPeekSize];
    if (at > fileSize || fileSize - at < kChunkPeekSize || !file.ReadAt(at, peek, sizeof peek)) return false;
    if (!IsChunkId(peek)) return false;
    uint64_t size = LittleEndian32(peek + 4);
    if (std::memcmp(peek, "LIST", 4) == 0 && std::memcmp(peek + 8, "INFO", 4) == 0) {
      // The list's sub-chunks follow "INFO"; the list ends where its size says or at
      // the end of the file, whichever comes first.
      uint64_t body = at + kChunkPeekSize;
      uint64_t end = size < 4 ? body : std::min(body + (size - 4), fileSize);
      WalkInfoList(file, body, end, fields);
      return true;
    }
    // Past the body and its pad byte. A body shorter than the 4 bytes peeked at is
    // stepped over by its own size, not by the peek.
    uint64_t next = at + 8 + size + (size & 1);
    if (next >= riffSize) return false;
    at = next;
  }
  return false;
}
