#include "lyrics/LyricsFormat.h"

#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

#include "base/FilePath.h"
#include "base/FileSystem.h"
#include "lyrics/LyricsDocument.h"

namespace {

const WChar* FindUnit(const WChar* from, const WChar* end, WChar c) {
  for (; from < end; ++from)
    if (*from == c) return from;
  return nullptr;
}

// Lines run to a hundred units and more, so the line feed is looked for four units
// a step, with the classic "has a zero lane" bit trick on 64-bit words.
const WChar* FindLineFeed(const WChar* from, const WChar* end) {
  constexpr uint64_t kLow = 0x0001000100010001u, kHigh = 0x8000800080008000u;
  constexpr uint64_t kPattern = kLow * u'\n';
  for (; end - from >= 4; from += 4) {
    uint64_t word;
    std::memcpy(&word, from, sizeof word);
    word ^= kPattern;
    if ((word - kLow) & ~word & kHigh) break;
  }
  return FindUnit(from, end, u'\n');
}

// Two ASCII digits at text[0] and text[1], or -1.
int TwoDigits(const WChar* text) {
  unsigned tens = text[0] - 0x30u, ones = text[1] - 0x30u;
  return tens < 10 && ones < 10 ? static_cast<int>(tens * 10 + ones) : -1;
}

// Nearly every stamp in real files is written "[mm:ss:cc]" or "[mm:ss]"; reading
// those directly spares the search for "]" and the general field scanner. Gives
// the same time ReadStampGroup would; false means "not this shape", not "malformed".
bool ReadCommonStamp(const WChar* open, const WChar* end, const WChar*& close, int32_t& time) {
  if (end - open < 7 || open[3] != u':') return false;
  int minutes = TwoDigits(open + 1), seconds = TwoDigits(open + 4);
  if (minutes < 0 || seconds < 0) return false;
  if (open[6] == u']') {
    close = open + 6;
    time = minutes * 60000 + seconds * 1000;
    return true;
  }
  if (end - open < 10 || open[6] != u':' || open[9] != u']') return false;
  int hundredths = TwoDigits(open + 7);
  if (hundredths < 0) return false;
  close = open + 9;
  time = minutes * 60000 + seconds * 1000 + hundredths * 10;
  return true;
}

// Takes the well-formed stamps out of one lyric line in a single pass. Rescanning
// from the start after each removal, as the format is defined, finds exactly these:
// every "[" pairs with the first "]" after it, groups never overlap, and removing a
// stamp leaves the groups before it unchanged. The stamps are collected in found,
// a buffer kept across lines, so each line's list is allocated once at its size.
void ParseLyricLine(const WChar* begin, const WChar* end, LyricLine& line, std::vector<TimeTag>& found) {
  found.clear();
  size_t length = static_cast<size_t>(end - begin);
  WChar* out = line.text.ResizeForOverwrite(length);
  size_t written = 0;
  const WChar* copyFrom = begin;
  const WChar* cursor = begin;
  for (;;) {
    const WChar* open = FindUnit(cursor, end, u'[');
    if (!open) break;
    const WChar* close;
    int32_t time;
    bool stamp = ReadCommonStamp(open, end, close, time);
    if (!stamp) {
      close = FindUnit(open + 1, end, u']');
      if (!close) break;
      stamp = ReadStampGroup(begin, static_cast<size_t>(open - begin), static_cast<size_t>(close - begin), time);
    }
    if (stamp) {
      size_t keep = static_cast<size_t>(open - copyFrom);
      for (size_t k = 0; k < keep; ++k) out[written + k] = copyFrom[k];
      written += keep;
      TimeTag& tag = found.emplace_back();
      tag.time = time;
      tag.position = static_cast<int32_t>(written);
      tag.text.Assign(open, static_cast<size_t>(close - open + 1));
      copyFrom = close + 1;
    }
    cursor = close + 1;
  }
  size_t rest = static_cast<size_t>(end - copyFrom);
  for (size_t k = 0; k < rest; ++k) out[written + k] = copyFrom[k];
  written += rest;
  if (written != length) line.text.ResizeForOverwrite(written);  // keeps the first units
  line.tags.assign(std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
}

WString JoinToFolder(const WString& folder, const WString& value) {
  WString joined = folder;
  return joined.Append(value);
}

}  // namespace

int ParseLyricsText(LyricsDocument& document, const WString& text) {
  document.Clear();
  std::vector<LyricLine>& lines = document.lines_;
  const WChar* cursor = text.CStr();
  const WChar* end = cursor + text.Length();
  std::vector<TimeTag> found;
  for (;;) {
    const WChar* lineFeed = FindLineFeed(cursor, end);
    const WChar* lineEnd = lineFeed ? lineFeed : end;
    if (lineFeed && lineEnd > cursor && lineEnd[-1] == u'\r') --lineEnd;
    lines.emplace_back();
    LyricLine& line = lines.back();
    if (lineEnd > cursor && *cursor == u'@')
      line.text.Assign(cursor, static_cast<size_t>(lineEnd - cursor));
    else
      ParseLyricLine(cursor, lineEnd, line, found);
    if (!lineFeed) break;
    cursor = lineFeed + 1;
  }
  document.ComputeTagStatus();
  document.ApplyHeaderFields();
  return 1;
}

bool ParseHeaderLine(const WString& line, WString& key, WString& value) {
  if (line.At(0) != u'@') return false;
  size_t equals = line.Find(u'=');
  if (equals == WString::npos) {
    key = line.Substr(1);
    value.Clear();
  } else {
    key = line.Substr(1, equals - 1);
    value = line.Substr(equals + 1);
  }
  key.Trim().MakeLower();
  value.Trim();
  return true;
}

void LyricsDocument::ApplyHeaderFields() {
  FilePath source(sourcePath_);
  WString key, value;
  for (const LyricLine& line : lines_) {
    if (!ParseHeaderLine(line.text, key, value)) continue;
    if (key.EqualsAscii("title")) {
      title_ = value;
    } else if (key.EqualsAscii("artist")) {
      artist_ = value;
    } else if (key.EqualsAscii("album")) {
      album_ = value;
    } else if (key.EqualsAscii("words")) {
      words_ = value;
    } else if (key.EqualsAscii("music")) {
      music_ = value;
    } else if (key.EqualsAscii("bgfile")) {
      // Three characters cannot name a picture ("a.j"): fall back to the default.
      if (value.Length() <= 3) bgFile_.Clear();
      else bgFile_ = FilePath::IsDriveAbsolute(value) ? value : JoinToFolder(source.Folder(), value);
    } else if (key.EqualsAscii("bgfolder")) {
      if (value.IsEmpty()) bgFolder_.Clear();
      else if (value.Length() > 3 && FilePath::IsDriveAbsolute(value)) bgFolder_ = value;
      else bgFolder_ = JoinToFolder(source.Folder(), value);
    }
  }
  if (sourcePath_.IsEmpty()) return;
  FileSystem& files = PlatformFileSystem();
  if (bgFile_.IsEmpty()) {
    for (const char* extension : {"jpeg", "jpg", "bmp"}) {
      FilePath picture(sourcePath_);
      WString ext;
      picture.SetExtension(ext.AppendAscii(extension));
      if (files.Exists(picture.Path())) {
        bgFile_ = picture.Path();
        break;
      }
    }
  }
  if (bgFolder_.IsEmpty()) {
    WString folder = source.PathWithoutExtension();
    if (folder != sourcePath_ && files.Exists(folder)) bgFolder_ = folder;
  }
}

WString LyricsFileText(LyricsDocument& document) {
  WString out;
  for (int i = 0; i < document.LineCount(); ++i) {
    out.Append(document.TaggedLineText(i));
    out.Append(u"\r\n", 2);
  }
  if (!out.IsEmpty()) out.Erase(out.Length() - 2);
  return out;
}

int SaveLyrics(LyricsDocument& document, const WString& path, FileSystem& fileSystem) {
  if (path.IsEmpty()) return 0;
  std::string bytes = LyricsFileText(document).ToAnsi();
  return fileSystem.WriteFileReplacing(path, bytes.data(), bytes.size()) ? 1 : 0;
}

int SaveLyrics(LyricsDocument& document, const WString& path) {
  return SaveLyrics(document, path, PlatformFileSystem());
}
