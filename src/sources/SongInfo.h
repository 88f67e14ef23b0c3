#pragma once
// What is known about the playing song: ten text fields from its tags (RIFF INFO,
// ID3v2, ID3v1 or Windows Media Audio attributes), the background picture and folder
// found beside it, and the expansion of an information format ("%1 / %2").

#include <array>

#include "base/FileSystem.h"
#include "base/WString.h"
#include "sources/SourceOptions.h"

class LyricsDocument;

enum class SongField : int {
  kTitle,
  kArtist,
  kAlbum,
  kYear,
  kComment,
  kGenre,
  kCopyright,
  kEngineer,
  kSource,
  kSoftware,
};
constexpr int kSongFieldCount = 10;

// The ten fields in SongField order, each empty when not known.
using SongFields = std::array<WString, kSongFieldCount>;

inline WString& FieldOf(SongFields& fields, SongField field) { return fields[static_cast<int>(field)]; }
inline const WString& FieldOf(const SongFields& fields, SongField field) { return fields[static_cast<int>(field)]; }

class SongInfo {
 public:
  SongInfo() : files_(PlatformFileSystem()) {}
  explicit SongInfo(FileSystem& files) : files_(files) {}

  // Clears everything, then reads the song's tags as the options say and looks for
  // its background picture and folder. Unreadable files leave the fields empty.
  void Load(const WString& path, const SourceOptions& options);
  void Clear();

  // The lyrics file's title, artist, album and background header values, each only
  // when not empty, replace what the tags and the background search gave. Each call
  // starts again from those, so lyrics loaded later never keep an earlier header's.
  void ApplyLyricsHeader(const LyricsDocument& document);

  // Expands %1 artist, %2 title, %3 album, %4 year, %5 comment, %6 genre, %7 base
  // name, %8 folder, %9 extension and %% into text. False when the pattern holds
  // placeholders and every one of them gave nothing; text is produced either way.
  bool Format(const WString& pattern, WString& text) const;

  const WString& Path() const { return path_; }
  const WString& Field(SongField field) const { return FieldOf(fields_, field); }
  void SetField(SongField field, const WString& value) { FieldOf(fields_, field) = value; }
  const WString& Title() const { return Field(SongField::kTitle); }
  const WString& Artist() const { return Field(SongField::kArtist); }
  const WString& Album() const { return Field(SongField::kAlbum); }
  const WString& Year() const { return Field(SongField::kYear); }
  const WString& Comment() const { return Field(SongField::kComment); }
  const WString& Genre() const { return Field(SongField::kGenre); }
  const WString& Copyright() const { return Field(SongField::kCopyright); }
  const WString& Engineer() const { return Field(SongField::kEngineer); }
  const WString& Source() const { return Field(SongField::kSource); }
  const WString& Software() const { return Field(SongField::kSoftware); }
  const WString& BgFile() const { return bgFile_; }
  const WString& BgFolder() const { return bgFolder_; }

 private:
  void ReadTagFile(const SourceOptions& options);
  void ReadWmaAttributes();
  void FindBackground(const WString& folder, const WString& name);

  FileSystem& files_;
  WString path_;
  SongFields fields_;
  WString bgFile_, bgFolder_;
  // What the tags and the background search gave, before any lyrics header.
  SongFields loadedFields_;
  WString loadedBgFile_, loadedBgFolder_;
};

// The extension entries of an ID3Exts setting ("mp3;rmp"): split at ";", empty
// entries dropped, compared as written.
bool IsTagFileExtension(const WString& id3Exts, const WString& lowerExtension);
