#pragma once
// Small builders of tag bytes for the song-information tests and the fuzz seed
// generator: ID3v1, ID3v2 (2.2, 2.3, 2.4) frames and tags, RIFF chunks. Every field
// is spelled out by the caller, so a test shows the bytes it feeds.

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tagbuild {

inline std::string Pad(std::string text, size_t width, char fill = '\0') {
  text.resize(width, fill);
  return text;
}

// The 128-byte ID3v1 tag; text fields padded with fill to their widths.
inline std::string Id3v1(const std::string& title, const std::string& artist, const std::string& album,
                         const std::string& year, const std::string& comment, uint8_t genre, char fill = '\0') {
  return "TAG" + Pad(title, 30, fill) + Pad(artist, 30, fill) + Pad(album, 30, fill) + Pad(year, 4, fill) +
         Pad(comment, 30, fill) + std::string(1, static_cast<char>(genre));
}

inline std::string BigEndian(uint32_t value, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

inline std::string Synchsafe(uint32_t value) {
  std::string out;
  for (int i = 3; i >= 0; --i) out += static_cast<char>((value >> (7 * i)) & 0x7F);
  return out;
}

inline std::string LittleEndian32(uint32_t value) {
  std::string out;
  for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

// Encoding byte 0 (ANSI text as it stands), 3 (UTF-8) and the like.
inline std::string Text(uint8_t encoding, const std::string& bytes) {
  return std::string(1, static_cast<char>(encoding)) + bytes;
}

// UTF-16 code units with a little-endian byte-order mark (encoding 1).
inline std::string Utf16LeWithBom(const std::u16string& text) {
  std::string out = "\xFF\xFE";
  for (char16_t unit : text) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  }
  return out;
}

inline std::string Utf16Be(const std::u16string& text) {
  std::string out;
  for (char16_t unit : text) {
    out += static_cast<char>(unit >> 8);
    out += static_cast<char>(unit & 0xFF);
  }
  return out;
}

// A COMM frame's content for encoding 0 or 3: encoding, language, description, text.
inline std::string Comment(const std::string& description, const std::string& text, uint8_t encoding = 0) {
  return std::string(1, static_cast<char>(encoding)) + "eng" + description + std::string(1, '\0') + text;
}

// A frame: id, size in the version's form (2.2: 3 bytes; 2.3: 4 bytes; 2.4:
// synchsafe), two flag bytes (not in 2.2), content.
inline std::string Frame(int version, const std::string& id, const std::string& content, uint16_t flags = 0) {
  uint32_t size = static_cast<uint32_t>(content.size());
  if (version == 2) return id + BigEndian(size, 3) + content;
  return id + (version == 4 ? Synchsafe(size) : BigEndian(size, 4)) + BigEndian(flags, 2) + content;
}

// A 2.4 frame whose size was written the 2.3 way (plain 32-bit).
inline std::string FramePlainSize(const std::string& id, const std::string& content) {
  return id + BigEndian(static_cast<uint32_t>(content.size()), 4) + std::string(2, '\0') + content;
}

// The tag: "ID3", version, revision 0, flags, synchsafe size of body + padding.
inline std::string Tag(int version, const std::string& body, uint8_t flags = 0, size_t padding = 0) {
  std::string tag = "ID3" + std::string(1, static_cast<char>(version)) + std::string(1, '\0') +
                    std::string(1, static_cast<char>(flags)) +
                    Synchsafe(static_cast<uint32_t>(body.size() + padding));
  return tag + body + std::string(padding, '\0');
}

// Unsynchronisation: a zero byte after every 0xFF.
inline std::string Unsync(const std::string& bytes) {
  std::string out;
  for (char c : bytes) {
    out += c;
    if (static_cast<unsigned char>(c) == 0xFF) out += '\0';
  }
  return out;
}

inline std::string Deflate(const std::string& bytes) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  std::string out(size, '\0');
  compress(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(bytes.data()),
           static_cast<uLong>(bytes.size()));
  out.resize(size);
  return out;
}

// A RIFF chunk: id, little-endian size, data, and a pad byte after odd data.
inline std::string Chunk(const std::string& id, const std::string& data) {
  std::string chunk = id + LittleEndian32(static_cast<uint32_t>(data.size())) + data;
  if (data.size() % 2) chunk += '\0';
  return chunk;
}

inline std::string Riff(const std::string& form, const std::string& chunks) {
  return "RIFF" + LittleEndian32(static_cast<uint32_t>(4 + chunks.size())) + form + chunks;
}

// Some MPEG audio frames' worth of bytes for a song body.
inline std::string Audio(size_t size = 400) { return "\xFF\xFB\x90\x64" + std::string(size, '\x55'); }

// A Windows Media (ASF) file: the header object holding one content description
// object with a title and an author, UTF-16 each with its terminating zero.
inline std::string Asf(const std::u16string& title, const std::u16string& author) {
  auto little = [](uint64_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
  };
  auto wide = [](const std::u16string& text) {
    std::string out;
    for (char16_t unit : text) out += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return out + std::string(2, '\0');
  };
  const std::string guidTail("\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 12);
  std::string titleBytes = wide(title), authorBytes = wide(author);
  std::string description = little(titleBytes.size(), 2) + little(authorBytes.size(), 2) + little(0, 2) +
                            little(0, 2) + little(0, 2) + titleBytes + authorBytes;
  std::string object = "\x33\x26\xB2\x75" + guidTail + little(24 + description.size(), 8) + description;
  return "\x30\x26\xB2\x75" + guidTail + little(30 + object.size(), 8) + little(1, 4) + "\x01\x02" + object;
}

}  // namespace tagbuild
