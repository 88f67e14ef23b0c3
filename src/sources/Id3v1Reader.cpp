#include "sources/Id3v1Reader.h"

#include <cstring>

#include "base/CodePage.h"
#include "sources/Genres.h"

namespace {

std::string UpToZero(const std::string& field) {
  size_t end = field.find('\0');
  return end == std::string::npos ? field : field.substr(0, end);
}

}  // namespace

bool ReadId3v1Tag(ByteSource& file, Id3v1Tag& tag) {
  // A file shorter than the tag has none; never read before its start.
  uint64_t size = file.Size();
  if (size < kId3v1Size) return false;
  std::string bytes;
  if (!file.ReadBytes(size - kId3v1Size, kId3v1Size, bytes)) return false;
  if (bytes.compare(0, 3, "TAG") != 0) return false;
  tag.title = bytes.substr(3, 30);
  tag.artist = bytes.substr(33, 30);
  tag.album = bytes.substr(63, 30);
  tag.year = bytes.substr(93, 4);
  tag.comment = bytes.substr(97, 30);
  tag.genre = static_cast<uint8_t>(bytes[127]);
  return true;
}

WString Id3v1Text(const std::string& field) {
  std::string text = UpToZero(field);
  return AnsiToWide(text.data(), text.size());
}

WString Id3v1TrimmedText(const std::string& field) {
  std::string text = UpToZero(field);
  size_t end = text.find_last_not_of(' ');
  text.resize(end == std::string::npos ? 0 : end + 1);
  return AnsiToWide(text.data(), text.size());
}

bool ReadId3v1Fields(ByteSource& file, SongFields& fields) {
  Id3v1Tag tag;
  if (!ReadId3v1Tag(file, tag)) return false;
  FieldOf(fields, SongField::kTitle) = Id3v1Text(tag.title);
  FieldOf(fields, SongField::kArtist) = Id3v1Text(tag.artist);
  FieldOf(fields, SongField::kAlbum) = Id3v1Text(tag.album);
  FieldOf(fields, SongField::kYear) = Id3v1Text(tag.year);
  FieldOf(fields, SongField::kComment) = Id3v1Text(tag.comment);
  FieldOf(fields, SongField::kGenre) = GenreName(tag.genre);
  return true;
}
