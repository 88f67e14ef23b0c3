#include "sources/SongInfo.h"

#include <memory>

#include "base/FilePath.h"
#include "lyrics/LyricsDocument.h"
#include "sources/Genres.h"
#include "sources/Id3v1Reader.h"
#include "sources/Id3v2Reader.h"
#include "sources/RiffInfoReader.h"
#include "sources/WmaAttributes.h"

namespace {

// The Windows Media attributes read, and the field each fills.
struct WmaName {
  const char* name;
  SongField field;
};

const WmaName kWmaNames[] = {
    {"Title", SongField::kTitle},         {"Author", SongField::kArtist},
    {"Description", SongField::kComment}, {"Copyright", SongField::kCopyright},
    {"WM/AlbumTitle", SongField::kAlbum}, {"WM/Genre", SongField::kGenre},
    {"WM/Year", SongField::kYear},
};

// The fields an ID3v2 tag can give, which the ID3v1 tag may fill in.
const SongField kId3Fields[] = {SongField::kTitle,   SongField::kArtist, SongField::kAlbum,    SongField::kYear,
                                SongField::kComment, SongField::kGenre,  SongField::kCopyright};

const char* const kPictureExtensions[] = {"jpeg", "jpg", "bmp"};

WString GenreNumberText(unsigned number) {
  WString text;
  text.AppendAscii("(" + std::to_string(number) + ")");
  return text;
}

// The ID3v1 tag as a tag library shows it under the ID3v2 tag: each field up to its
// zero byte without trailing spaces, the genre as the "(n)" text of its number.
void FillFromId3v1(ByteSource& file, SongFields& fields) {
  Id3v1Tag tag;
  if (!ReadId3v1Tag(file, tag)) return;
  const WString values[] = {Id3v1TrimmedText(tag.title), Id3v1TrimmedText(tag.artist),
                            Id3v1TrimmedText(tag.album), Id3v1TrimmedText(tag.year),
                            Id3v1TrimmedText(tag.comment), GenreNumberText(tag.genre), WString()};
  for (size_t i = 0; i < sizeof kId3Fields / sizeof kId3Fields[0]; ++i) {
    WString& field = FieldOf(fields, kId3Fields[i]);
    if (field.IsEmpty()) field = values[i];
  }
}

}  // namespace

bool IsTagFileExtension(const WString& id3Exts, const WString& lowerExtension) {
  size_t start = 0;
  while (start <= id3Exts.Length()) {
    size_t end = id3Exts.Find(u';', start);
    if (end == WString::npos) end = id3Exts.Length();
    if (end > start && id3Exts.Substr(start, end - start) == lowerExtension) return true;
    start = end + 1;
  }
  return false;
}

void SongInfo::Clear() {
  path_.Clear();
  for (WString& field : fields_) field.Clear();
  bgFile_.Clear();
  bgFolder_.Clear();
  loadedFields_ = fields_;
  loadedBgFile_.Clear();
  loadedBgFolder_.Clear();
}

void SongInfo::Load(const WString& path, const SourceOptions& options) {
  Clear();
  path_ = path;
  FilePath split(path);
  WString extension = split.Extension();
  extension.MakeLower();
  if (IsTagFileExtension(options.id3Exts, extension)) {
    ReadTagFile(options);
  } else if (extension.EqualsAscii("wma")) {
    ReadWmaAttributes();
  }
  // Pictures and a folder named after the song, then its artist, then its album.
  FindBackground(split.Folder(), split.BaseName());
  if (!Artist().IsEmpty()) FindBackground(split.Folder(), Artist());
  if (!Album().IsEmpty()) FindBackground(split.Folder(), Album());
  loadedFields_ = fields_;
  loadedBgFile_ = bgFile_;
  loadedBgFolder_ = bgFolder_;
}

void SongInfo::ReadTagFile(const SourceOptions& options) {
  std::unique_ptr<ByteSource> file = files_.OpenForReading(path_);
  if (!file) return;
  // A RIFF file with an INFO list says everything it knows there.
  if (ReadRiffInfo(*file, fields_)) return;
  if (!options.id3V2) {
    ReadId3v1Fields(*file, fields_);
    return;
  }
  ReadId3v2Fields(*file, fields_);
  FillFromId3v1(*file, fields_);
  FieldOf(fields_, SongField::kGenre) = NormaliseGenre(Genre());
}

void SongInfo::ReadWmaAttributes() {
  WmaAttributes attributes;
  if (!attributes.Open(path_)) return;
  for (const WmaName& name : kWmaNames) {
    WString value;
    if (attributes.GetString(name.name, value)) SetField(name.field, value);
  }
}

void SongInfo::FindBackground(const WString& folder, const WString& name) {
  WString base = folder;
  base.Append(name).Append(u'.');
  for (const char* extension : kPictureExtensions) {
    if (!bgFile_.IsEmpty()) break;
    WString candidate = base;
    candidate.AppendAscii(extension);
    if (files_.Exists(candidate)) bgFile_ = candidate;
  }
  // "Name." is the folder "Name" (or an extension-less file) to the file system.
  if (bgFolder_.IsEmpty() && files_.Exists(base)) bgFolder_ = base;
}

void SongInfo::ApplyLyricsHeader(const LyricsDocument& document) {
  auto apply = [](WString& target, const WString& value) {
    if (!value.IsEmpty()) target = value;
  };
  for (SongField field : {SongField::kTitle, SongField::kArtist, SongField::kAlbum})
    FieldOf(fields_, field) = FieldOf(loadedFields_, field);
  bgFile_ = loadedBgFile_;
  bgFolder_ = loadedBgFolder_;
  apply(FieldOf(fields_, SongField::kTitle), document.Title());
  apply(FieldOf(fields_, SongField::kArtist), document.Artist());
  apply(FieldOf(fields_, SongField::kAlbum), document.Album());
  apply(bgFile_, document.BgFile());
  apply(bgFolder_, document.BgFolder());
}

bool SongInfo::Format(const WString& pattern, WString& text) const {
  FilePath split(path_);
  text.Clear();
  bool anyPlaceholder = false, anyText = false;
  const size_t length = pattern.Length();
  for (size_t i = 0; i < length; ++i) {
    WChar c = pattern[i];
    if (c != u'%' || i + 1 == length) {
      text.Append(c);
      continue;
    }
    WChar next = pattern[i + 1];
    const WString* value = nullptr;
    switch (next) {
      case u'1': value = &Artist(); break;
      case u'2': value = &Title(); break;
      case u'3': value = &Album(); break;
      case u'4': value = &Year(); break;
      case u'5': value = &Comment(); break;
      case u'6': value = &Genre(); break;
      case u'7': value = &split.BaseName(); break;
      case u'8': value = &split.Folder(); break;
      case u'9': value = &split.Extension(); break;
      case u'%': text.Append(u'%'); ++i; continue;
      default: text.Append(c); continue;  // the next character is copied on its own turn
    }
    anyPlaceholder = true;
    anyText = anyText || !value->IsEmpty();
    text.Append(*value);
    ++i;
  }
  return !anyPlaceholder || anyText;
}
