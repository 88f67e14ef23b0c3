#pragma once
// Small builders of tag bytes for the song-information tests and the fuzz seed
// generator: ID3v1, ID3v2 (2.2, 2.3, 2.4) frames and tags, Lyrics3, RIFF chunks. Every field
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

// value in so many bytes, most or least significant first.
inline std::string BigEndian(uint64_t value, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}
inline std::string LittleEndian(uint64_t value, int bytes) {
  std::string out = BigEndian(value, bytes);
  return std::string(out.rbegin(), out.rend());
}
inline std::string LittleEndian32(uint32_t value) { return LittleEndian(value, 4); }

// ID3v2 sizes: 7 bits a byte, so that no size byte looks like a sync.
inline std::string Synchsafe(uint32_t value) {
  return BigEndian((value & 0x7F) | (value << 1 & 0x7F00) | (value << 2 & 0x7F0000) | (value << 3 & 0x7F000000u), 4);
}

// Encoding byte 0 (ANSI text as it stands), 3 (UTF-8) and the like.
inline std::string Text(uint8_t encoding, const std::string& bytes) {
  return std::string(1, static_cast<char>(encoding)) + bytes;
}

// UTF-16 code units, without a terminator; with a little-endian byte-order mark (encoding 1).
inline std::string Utf16Le(const std::u16string& text) {
  std::string out;
  for (char16_t unit : text) out += LittleEndian(unit, 2);
  return out;
}
inline std::string Utf16LeWithBom(const std::u16string& text) { return "\xFF\xFE" + Utf16Le(text); }
inline std::string Utf16Be(const std::u16string& text) {
  std::string out;
  for (char16_t unit : text) out += BigEndian(unit, 2);
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
inline std::string FramePlainSize(const std::string& id, const std::string& content) { return Frame(3, id, content); }

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

// A Lyrics3 v2 block: start marker, fields, their size with the marker's in six
// digits, end marker. It must be followed by an ID3v1 tag.
inline std::string Lyrics3(const std::string& fields) {
  const std::string size = std::to_string(11 + fields.size());
  return "LYRICSBEGIN" + fields + std::string(6 - size.size(), '0') + size + "LYRICS200";
}

// Some MPEG audio frames' worth of bytes for a song body.
inline std::string Audio(size_t size = 400) { return "\xFF\xFB\x90\x64" + std::string(size, '\x55'); }

// Windows Media (ASF) headers. An object is a GUID (its first three groups stored
// little-endian), a 64-bit size counting its own 24 bytes, and a body; text is
// UTF-16LE with a terminating zero.
namespace asf {

inline std::string Le16(uint16_t value) { return LittleEndian(value, 2); }
inline std::string Le32(uint32_t value) { return LittleEndian(value, 4); }
inline std::string Le64(uint64_t value) { return LittleEndian(value, 8); }
inline std::string Utf16(const std::u16string& text) { return Utf16Le(text) + Le16(0); }

inline std::string Object(const char* guid, const std::string& body) {
  return std::string(guid, 16) + Le64(24 + body.size()) + body;
}

// 75B22633-668E-11CF-A6D9-00AA0062CE6C: title, author, copyright, description and
// rating; an empty text is stored with length 0.
inline std::string ContentDescription(const std::u16string& title, const std::u16string& author,
                                      const std::u16string& copyright = u"", const std::u16string& description = u"") {
  const std::u16string texts[] = {title, author, copyright, description, u""};
  std::string sizes, body;
  for (const std::u16string& text : texts) {
    const std::string stored = text.empty() ? std::string() : Utf16(text);
    sizes += Le16(static_cast<uint16_t>(stored.size()));
    body += stored;
  }
  return Object("\x33\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", sizes + body);
}

struct Attribute {
  std::u16string name;
  uint16_t type;      // 0 string, 1 bytes, 2 bool, 3 DWORD, 4 QWORD, 5 WORD
  std::string value;  // raw bytes; Utf16 for strings
};

// D2D0A440-E307-11D2-97F0-00A0C95EA850: named, typed attributes.
inline std::string ExtendedContentDescription(const std::vector<Attribute>& attributes) {
  std::string body = Le16(static_cast<uint16_t>(attributes.size()));
  for (const Attribute& attribute : attributes) {
    std::string name = Utf16(attribute.name);
    body += Le16(static_cast<uint16_t>(name.size())) + name + Le16(attribute.type) +
            Le16(static_cast<uint16_t>(attribute.value.size())) + attribute.value;
  }
  return Object("\x40\xA4\xD0\xD2\x07\xE3\xD2\x11\x97\xF0\x00\xA0\xC9\x5E\xA8\x50", body);
}

// 75B22630-668E-11CF-A6D9-00AA0062CE6C: its 30 bytes (with an object count and two
// reserved bytes 1 and 2) and the objects inside it.
inline std::string Header(const std::vector<std::string>& objects) {
  std::string inside;
  for (const std::string& object : objects) inside += object;
  return std::string("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16) +
         Le64(30 + inside.size()) + Le32(static_cast<uint32_t>(objects.size())) + "\x01\x02" + inside;
}

}  // namespace asf

// A Windows Media file of a header with a title and an author.
inline std::string Asf(const std::u16string& title, const std::u16string& author) {
  return asf::Header({asf::ContentDescription(title, author)});
}

}  // namespace tagbuild
