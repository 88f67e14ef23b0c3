#pragma once
// The ID3v1 tag: the last 128 bytes of a file, "TAG" and fixed-width fields.

#include <cstdint>
#include <string>

#include "base/ByteSource.h"
#include "sources/SongInfo.h"

constexpr uint64_t kId3v1Size = 128;

// The raw fields: each is the full width of its field (zero bytes and spaces kept).
struct Id3v1Tag {
  std::string title, artist, album, year, comment;  // 30, 30, 30, 4, 30 bytes
  uint8_t genre = 255;
};

// False when the file is shorter than a tag or its last 128 bytes are no tag.
bool ReadId3v1Tag(ByteSource& file, Id3v1Tag& tag);

// A field up to its first zero byte, as ANSI text; spaces stay.
WString Id3v1Text(const std::string& field);
// The same with trailing spaces removed.
WString Id3v1TrimmedText(const std::string& field);

// The plug-in's own reading: title, artist, album, year and comment as they stand,
// the genre's table name (none above 151). False without a tag.
bool ReadId3v1Fields(ByteSource& file, SongFields& fields);
