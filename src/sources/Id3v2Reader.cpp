#include "sources/Id3v2Reader.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "base/CodePage.h"
#include "base/Utf8.h"

namespace {

constexpr uint64_t kTagHeaderSize = 10;
// The content of one frame we read, as stored and once inflated. Text frames are
// tiny; a bigger one is not text anyone shows and is skipped.
constexpr size_t kMaxFrameBytes = 1 << 20;
// A tag unsynchronised as a whole must be decoded in memory before its frames can be
// found; past this much only the frames at its start are read.
constexpr uint64_t kMaxUnsyncTagBytes = 16 << 20;
constexpr int kMaxFrames = 1 << 14;

// Version 2.3 frame flags (second flag byte).
constexpr unsigned kV3Compressed = 0x80, kV3Encrypted = 0x40, kV3Grouped = 0x20;
// Version 2.4 frame flags (second flag byte).
constexpr unsigned kV4Grouped = 0x40, kV4Compressed = 0x08, kV4Encrypted = 0x04, kV4Unsynchronised = 0x02,
                   kV4DataLength = 0x01;
// Tag header flags.
constexpr unsigned kTagUnsynchronised = 0x80, kTagExtendedHeader = 0x40;

const unsigned char* Bytes(const char* data) { return reinterpret_cast<const unsigned char*>(data); }

uint32_t BigEndian(const char* data, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 8) | Bytes(data)[i];
  return value;
}

uint32_t Synchsafe(const char* data) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value = (value << 7) | (Bytes(data)[i] & 0x7F);
  return value;
}

// A window of another source: the tag's bytes inside the file.
class SliceSource : public ByteSource {
 public:
  SliceSource(ByteSource& whole, uint64_t start, uint64_t size) : whole_(whole), start_(start), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* buffer, size_t count) override {
    if (offset > size_ || count > size_ - offset) return false;
    return whole_.ReadAt(start_ + offset, buffer, count);
  }

 private:
  ByteSource& whole_;
  uint64_t start_, size_;
};

// Unsynchronisation put a zero byte after every 0xFF; take them out again.
std::string RemoveUnsync(const std::string& in) {
  std::string out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    out += in[i];
    if (Bytes(in.data())[i] == 0xFF && i + 1 < in.size() && in[i + 1] == '\0') ++i;
  }
  return out;
}

// Inflates a compressed frame; false when the data is not zlib or would inflate to
// more than limit bytes.
bool Inflate(const std::string& in, size_t limit, std::string& out) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return false;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  stream.avail_in = static_cast<uInt>(in.size());
  out.clear();
  char chunk[16384];
  int result = Z_OK;
  while (result == Z_OK) {
    stream.next_out = reinterpret_cast<Bytef*>(chunk);
    stream.avail_out = sizeof chunk;
    result = inflate(&stream, Z_NO_FLUSH);
    size_t produced = sizeof chunk - stream.avail_out;
    if (out.size() + produced > limit) {
      result = Z_MEM_ERROR;
      break;
    }
    out.append(chunk, produced);
    if (result == Z_OK && produced == 0 && stream.avail_in == 0) break;  // cut short: keep what came
  }
  inflateEnd(&stream);
  return result == Z_STREAM_END || result == Z_OK || result == Z_BUF_ERROR;
}

bool IsFrameIdByte(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

bool IsFrameId(const char* id, int length) {
  for (int i = 0; i < length; ++i)
    if (!IsFrameIdByte(id[i])) return false;
  return true;
}

// UTF-16 text up to its first zero unit; unpaired surrogates become U+FFFD so that
// the text converts cleanly later.
WString DecodeUtf16(const char* data, size_t size, bool bigEndian) {
  WString text;
  text.Reserve(size / 2);
  for (size_t i = 0; i + 1 < size; i += 2) {
    WChar unit = bigEndian ? static_cast<WChar>((Bytes(data)[i] << 8) | Bytes(data)[i + 1])
                           : static_cast<WChar>(Bytes(data)[i] | (Bytes(data)[i + 1] << 8));
    if (unit == 0) break;
    text.Append(unit);
  }
  WChar* units = text.ResizeForOverwrite(text.Length());
  for (size_t i = 0; i < text.Length(); ++i) {
    bool high = units[i] >= 0xD800 && units[i] <= 0xDBFF;
    bool low = units[i] >= 0xDC00 && units[i] <= 0xDFFF;
    bool nextLow = i + 1 < text.Length() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF;
    if (high && nextLow) {
      ++i;
    } else if (high || low) {
      units[i] = 0xFFFD;
    }
  }
  return text;
}

// Decodes the first value of text in the frame's encoding; false for an encoding
// that does not exist.
bool DecodeText(uint8_t encoding, const char* data, size_t size, WString& text) {
  switch (encoding) {
    case 0:  // Latin-1 by the standard; in our users' files the ANSI code page
      text = AnsiToWide(data, size);
      return true;
    case 1: {  // UTF-16 with a byte-order mark (little-endian without one)
      bool bigEndian = size >= 2 && Bytes(data)[0] == 0xFE && Bytes(data)[1] == 0xFF;
      bool mark = bigEndian || (size >= 2 && Bytes(data)[0] == 0xFF && Bytes(data)[1] == 0xFE);
      text = mark ? DecodeUtf16(data + 2, size - 2, bigEndian) : DecodeUtf16(data, size, false);
      return true;
    }
    case 2: {
      bool mark = size >= 2 && Bytes(data)[0] == 0xFE && Bytes(data)[1] == 0xFF;
      text = mark ? DecodeUtf16(data + 2, size - 2, true) : DecodeUtf16(data, size, true);
      return true;
    }
    case 3: {
      const char* zero = static_cast<const char*>(std::memchr(data, 0, size));
      text = Utf8ToWide(std::string_view(data, zero ? static_cast<size_t>(zero - data) : size));
      return true;
    }
    default:
      return false;
  }
}

// The length of a terminated string at the start of data, terminator included;
// npos when it has none.
size_t TerminatedLength(uint8_t encoding, const char* data, size_t size) {
  if (encoding == 0 || encoding == 3) {
    const char* zero = static_cast<const char*>(std::memchr(data, 0, size));
    return zero ? static_cast<size_t>(zero - data) + 1 : std::string::npos;
  }
  for (size_t i = 0; i + 1 < size; i += 2)
    if (data[i] == 0 && data[i + 1] == 0) return i + 2;
  return std::string::npos;
}

enum class FrameKind { kOther, kTitle, kArtist, kAlbum, kComment, kYear, kCopyright, kGenre, kRecordingTime };

struct FrameName {
  const char* id;
  FrameKind kind;
};

const FrameName kV2Frames[] = {
    {"TT2", FrameKind::kTitle}, {"TP1", FrameKind::kArtist},    {"TAL", FrameKind::kAlbum},
    {"COM", FrameKind::kComment}, {"TYE", FrameKind::kYear},    {"TCR", FrameKind::kCopyright},
    {"TCO", FrameKind::kGenre},
};
const FrameName kV3Frames[] = {
    {"TIT2", FrameKind::kTitle}, {"TPE1", FrameKind::kArtist},    {"TALB", FrameKind::kAlbum},
    {"COMM", FrameKind::kComment}, {"TYER", FrameKind::kYear},    {"TCOP", FrameKind::kCopyright},
    {"TCON", FrameKind::kGenre}, {"TDRC", FrameKind::kRecordingTime},
};

// What the walk has found so far: the first decodable frame of each kind wins,
// except that a comment with an empty description beats any other.
struct Found {
  WString title, artist, album, year, copyright, genre, recordingTime, comment, plainComment;
  bool hasTitle = false, hasArtist = false, hasAlbum = false, hasYear = false, hasCopyright = false,
       hasGenre = false, hasRecordingTime = false, hasComment = false, hasPlainComment = false;
};

class TagWalker {
 public:
  TagWalker(ByteSource& body, int version, bool tagUnsynchronised)
      : body_(body), end_(body.Size()), version_(version), tagUnsynchronised_(tagUnsynchronised) {}

  void Walk(uint64_t at, Found& found);

 private:
  int IdSize() const { return version_ == 2 ? 3 : 4; }
  uint64_t HeaderSize() const { return version_ == 2 ? 6 : 10; }
  FrameKind KindOf(const char* id) const;
  uint64_t FrameSize(uint64_t at, const char* header);
  bool LandsOnFrame(uint64_t next, bool acceptEnd);
  bool FrameContent(uint64_t at, uint64_t size, unsigned flags, std::string& content);
  void Take(FrameKind kind, const std::string& content, Found& found);

  ByteSource& body_;
  uint64_t end_;
  int version_;
  bool tagUnsynchronised_;
};

FrameKind TagWalker::KindOf(const char* id) const {
  if (version_ == 2) {
    for (const FrameName& name : kV2Frames)
      if (std::memcmp(name.id, id, 3) == 0) return name.kind;
    return FrameKind::kOther;
  }
  for (const FrameName& name : kV3Frames)
    if (std::memcmp(name.id, id, 4) == 0) return name.kind;
  return FrameKind::kOther;
}

// Whether a frame ending at next is followed by another frame (or, when acceptEnd,
// by padding or the end of the tag).
bool TagWalker::LandsOnFrame(uint64_t next, bool acceptEnd) {
  if (next > end_) return false;
  if (next == end_) return acceptEnd;
  char id[4];
  if (end_ - next < sizeof id) return acceptEnd && body_.ReadAt(next, id, 1) && id[0] == 0;
  if (!body_.ReadAt(next, id, sizeof id)) return false;
  if (id[0] == 0) return acceptEnd;
  return IsFrameId(id, 4);
}

uint64_t TagWalker::FrameSize(uint64_t at, const char* header) {
  if (version_ == 2) return BigEndian(header + 3, 3);
  if (version_ == 3) return BigEndian(header + 4, 4);
  // Some encoders wrote 2.4 tags with 2.3-style sizes: when the synchsafe reading
  // leads nowhere and the plain one leads to the next frame, the plain one is meant.
  uint64_t synchsafe = Synchsafe(header + 4);
  uint64_t plain = BigEndian(header + 4, 4);
  uint64_t start = at + HeaderSize();
  if (synchsafe != plain && !LandsOnFrame(start + synchsafe, true) && LandsOnFrame(start + plain, false)) return plain;
  return synchsafe;
}

// The frame's content with its extra header bytes taken off, unsynchronisation
// removed and compression undone; false when it cannot be had.
bool TagWalker::FrameContent(uint64_t at, uint64_t size, unsigned flags, std::string& content) {
  if (size > kMaxFrameBytes || !body_.ReadBytes(at, static_cast<size_t>(size), content)) return false;
  size_t skip = 0;
  bool compressed = false, unsynchronised = false;
  uint64_t inflatedSize = kMaxFrameBytes;
  if (version_ == 3) {
    if (flags & kV3Encrypted) return false;
    if (flags & kV3Compressed) {
      if (content.size() < 4) return false;
      inflatedSize = BigEndian(content.data(), 4);
      compressed = true;
      skip = 4;
    }
    if (flags & kV3Grouped) ++skip;
  } else if (version_ == 4) {
    if (flags & kV4Encrypted) return false;
    if (flags & kV4Grouped) ++skip;
    if (flags & kV4DataLength) {
      if (content.size() < skip + 4) return false;
      inflatedSize = Synchsafe(content.data() + skip);
      skip += 4;
    }
    compressed = (flags & kV4Compressed) != 0;
    unsynchronised = (flags & kV4Unsynchronised) != 0 || tagUnsynchronised_;
  }
  if (skip > content.size()) return false;
  content.erase(0, skip);
  if (unsynchronised) content = RemoveUnsync(content);
  if (compressed) {
    if (inflatedSize > kMaxFrameBytes) return false;
    std::string inflated;
    if (!Inflate(content, kMaxFrameBytes, inflated)) return false;
    content.swap(inflated);
  }
  return true;
}

void TagWalker::Take(FrameKind kind, const std::string& content, Found& found) {
  if (content.empty()) return;
  const uint8_t encoding = static_cast<uint8_t>(content[0]);
  const char* data = content.data() + 1;
  const size_t size = content.size() - 1;
  WString text;
  if (kind == FrameKind::kComment) {
    // Encoding, language (3 bytes), a terminated description, then the text.
    if (size < 3) return;
    size_t description = TerminatedLength(encoding, data + 3, size - 3);
    WString descriptionText;
    if (description == std::string::npos || !DecodeText(encoding, data + 3, description, descriptionText)) return;
    size_t textAt = 3 + description;
    if (!DecodeText(encoding, data + textAt, size - textAt, text)) return;
    if (descriptionText.IsEmpty() && !found.hasComment) {
      found.comment = text;
      found.hasComment = true;
    } else if (!found.hasPlainComment) {
      found.plainComment = text;
      found.hasPlainComment = true;
    }
    return;
  }
  if (!DecodeText(encoding, data, size, text)) return;
  auto keepFirst = [&text](WString& value, bool& has) {
    if (has) return;
    value = text;
    has = true;
  };
  switch (kind) {
    case FrameKind::kTitle: keepFirst(found.title, found.hasTitle); break;
    case FrameKind::kArtist: keepFirst(found.artist, found.hasArtist); break;
    case FrameKind::kAlbum: keepFirst(found.album, found.hasAlbum); break;
    case FrameKind::kYear: keepFirst(found.year, found.hasYear); break;
    case FrameKind::kCopyright: keepFirst(found.copyright, found.hasCopyright); break;
    case FrameKind::kGenre: keepFirst(found.genre, found.hasGenre); break;
    case FrameKind::kRecordingTime:
      if (version_ == 4) keepFirst(found.recordingTime, found.hasRecordingTime);
      break;
    default: break;
  }
}

void TagWalker::Walk(uint64_t at, Found& found) {
  const uint64_t headerSize = HeaderSize();
  for (int frames = 0; frames < kMaxFrames && at <= end_ && end_ - at >= headerSize; ++frames) {
    char header[10];
    if (!body_.ReadAt(at, header, static_cast<size_t>(headerSize))) return;
    if (header[0] == 0 || !IsFrameId(header, IdSize())) return;  // padding, or not a frame
    uint64_t size = FrameSize(at, header);
    uint64_t contentAt = at + headerSize;
    if (size > end_ - contentAt) return;
    FrameKind kind = KindOf(header);
    unsigned flags = version_ == 2 ? 0 : Bytes(header)[9];
    std::string content;
    if (kind != FrameKind::kOther && FrameContent(contentAt, size, flags, content)) Take(kind, content, found);
    at = contentAt + size;
  }
}

void Store(const Found& found, SongFields& fields) {
  if (found.hasTitle) FieldOf(fields, SongField::kTitle) = found.title;
  if (found.hasArtist) FieldOf(fields, SongField::kArtist) = found.artist;
  if (found.hasAlbum) FieldOf(fields, SongField::kAlbum) = found.album;
  if (found.hasCopyright) FieldOf(fields, SongField::kCopyright) = found.copyright;
  if (found.hasGenre) FieldOf(fields, SongField::kGenre) = found.genre;
  if (found.hasComment) {
    FieldOf(fields, SongField::kComment) = found.comment;
  } else if (found.hasPlainComment) {
    FieldOf(fields, SongField::kComment) = found.plainComment;
  }
  if (found.hasYear) {
    FieldOf(fields, SongField::kYear) = found.year;
  } else if (found.hasRecordingTime) {
    FieldOf(fields, SongField::kYear) = found.recordingTime.Substr(0, 4);
  }
}

}  // namespace

bool ReadId3v2Fields(ByteSource& file, SongFields& fields) {
  const uint64_t fileSize = file.Size();
  char header[kTagHeaderSize];
  if (fileSize < kTagHeaderSize || !file.ReadAt(0, header, sizeof header)) return false;
  if (std::memcmp(header, "ID3", 3) != 0) return false;
  const int version = Bytes(header)[3];
  const unsigned flags = Bytes(header)[5];
  if (version < 2 || version > 4 || Bytes(header)[4] == 0xFF) return false;
  for (int i = 6; i < 10; ++i)
    if (Bytes(header)[i] & 0x80) return false;
  // A 2.2 tag compressed as a whole has no defined compression.
  if (version == 2 && (flags & kTagExtendedHeader)) return false;
  const uint64_t tagSize = std::min<uint64_t>(Synchsafe(header + 6), fileSize - kTagHeaderSize);

  std::string decoded;
  MemoryByteSource decodedSource(nullptr, 0);
  SliceSource slice(file, kTagHeaderSize, tagSize);
  ByteSource* body = &slice;
  if (version < 4 && (flags & kTagUnsynchronised)) {
    std::string raw;
    if (!file.ReadBytes(kTagHeaderSize, static_cast<size_t>(std::min(tagSize, kMaxUnsyncTagBytes)), raw)) return false;
    decoded = RemoveUnsync(raw);
    decodedSource = MemoryByteSource(decoded);
    body = &decodedSource;
  }

  uint64_t firstFrame = 0;
  if (flags & kTagExtendedHeader) {
    char size[4];
    if (!body->ReadAt(0, size, sizeof size)) return true;
    // 2.3 counts the size field apart; 2.4 counts it in, and writes it synchsafe.
    firstFrame = version == 3 ? 4 + uint64_t{BigEndian(size, 4)} : Synchsafe(size);
  }
  Found found;
  TagWalker walker(*body, version, version == 4 && (flags & kTagUnsynchronised));
  walker.Walk(firstFrame, found);
  Store(found, fields);
  return true;
}
