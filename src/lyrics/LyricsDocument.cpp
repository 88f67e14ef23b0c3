#include "lyrics/LyricsDocument.h"

#include <algorithm>

#include "base/FilePath.h"
#include "base/FileSystem.h"
#include "lyrics/LyricsFormat.h"

namespace {
constexpr size_t kReservedLines = 256;

const LyricLine& SharedEmptyLine() {
  static const LyricLine empty;
  return empty;
}
}  // namespace

LyricsDocument::LyricsDocument() { lines_.reserve(kReservedLines); }

LyricsDocument::~LyricsDocument() = default;

void LyricsDocument::Clear() {
  lines_.clear();
  status_ = StatusNone;
  title_.Clear();
  artist_.Clear();
  album_.Clear();
  words_.Clear();
  music_.Clear();
  bgFile_.Clear();
  bgFolder_.Clear();
}

void LyricsDocument::ClearLoadState() {
  Clear();
  sourcePath_.Clear();
  modificationCount_ = 0;
}

int LyricsDocument::LoadLyricsSource(const WString& path, const LyricsSourceReader& reader) {
  if (path.IsEmpty()) {
    Clear();
    sourcePath_.Clear();
    return 0;
  }
  Clear();
  sourcePath_ = path;
  WString text;
  if (!reader.ReadLyricsText(path, text)) {
    ClearLoadState();
    return 0;
  }
  ParseText(text);
  modificationCount_ = 0;
  return 1;
}

int LyricsDocument::ParseText(const WString& text) { return ParseLyricsText(*this, text); }

const LyricLine& LyricsDocument::Line(int i) const { return IsValidLine(i) ? lines_[i] : SharedEmptyLine(); }

const WString& LyricsDocument::LineText(int i) const {
  if (IsValidLine(i)) return lines_[i].text;
  emptyText_.Clear();  // a caller may have written to it
  return emptyText_;
}

const WString& LyricsDocument::TaggedLineText(int i) {
  scratch_.Clear();
  if (!IsValidLine(i)) return scratch_;
  const LyricLine& line = lines_[i];
  if (line.tags.empty()) return line.text;
  const WChar* text = line.text.CStr();
  size_t length = line.text.Length();
  bool ordered = true;
  for (size_t k = 1; k < line.tags.size(); ++k)
    if (line.tags[k].position < line.tags[k - 1].position) ordered = false;
  if (ordered) {
    size_t done = 0;
    for (const TimeTag& tag : line.tags) {
      size_t at = std::min<size_t>(static_cast<size_t>(std::max(tag.position, 0)), length);
      scratch_.Append(text + done, at - done);
      scratch_.Append(tag.text);
      done = at;
    }
    scratch_.Append(text + done, length - done);
  } else {
    // Inserting from the last tag to the first keeps tags at equal positions in order.
    scratch_ = line.text;
    for (size_t k = line.tags.size(); k-- > 0;) {
      size_t at = std::min<size_t>(static_cast<size_t>(std::max(line.tags[k].position, 0)), length);
      scratch_.Insert(at, line.tags[k].text);
    }
  }
  return scratch_;
}

int LyricsDocument::FirstTagPosition(int i) const { return IsLineTagged(i) ? lines_[i].tags.front().position : 0; }

int LyricsDocument::TagCountAt(int i, int p) const {
  if (!IsValidLine(i)) return 0;
  const std::vector<TimeTag>& tags = lines_[i].tags;
  if (p == -1) return static_cast<int>(tags.size());
  // Only the run that starts at the first tag there counts: after an edit the list is
  // sorted by position, but a freshly parsed line keeps the order it was written in.
  auto first = std::find_if(tags.begin(), tags.end(), [p](const TimeTag& tag) { return tag.position == p; });
  auto end = std::find_if(first, tags.end(), [p](const TimeTag& tag) { return tag.position != p; });
  return static_cast<int>(end - first);
}

int LyricsDocument::NthTag(int i, int n, TimeTag& tag) const {
  if (!IsLineTagged(i)) return 0;
  const std::vector<TimeTag>& tags = lines_[i].tags;
  if (n == -1) n = static_cast<int>(tags.size()) - 1;
  if (n < 0 || n >= static_cast<int>(tags.size())) return 0;
  tag = tags[n];
  return 1;
}

int LyricsDocument::BestTag(int& line, TimeTag& tag, bool latest) const {
  int lineIn = line;
  line = -1;
  if (!IsTimed()) return 0;
  int first = lineIn == -1 ? 0 : lineIn;
  int last = lineIn == -1 ? LineCount() - 1 : lineIn;
  if (lineIn != -1 && !IsValidLine(lineIn)) return 0;
  const TimeTag* best = nullptr;
  for (int i = first; i <= last; ++i)
    for (const TimeTag& candidate : lines_[i].tags)
      if (!best || (latest ? candidate.time > best->time : candidate.time < best->time)) {
        best = &candidate;
        line = i;
      }
  if (!best) return 0;
  tag = *best;
  return 1;
}

int LyricsDocument::EarliestTag(int& line, TimeTag& tag) const { return BestTag(line, tag, false); }
int LyricsDocument::LatestTag(int& line, TimeTag& tag) const { return BestTag(line, tag, true); }

bool LyricsDocument::IsHeaderLine(int i) const { return IsValidLine(i) && lines_[i].text.At(0) == u'@'; }

bool LyricsDocument::IsLineEmpty(int i) const { return IsValidLine(i) && lines_[i].text.IsEmpty(); }

void LyricsDocument::MarkModified() { ++modificationCount_; }

int LyricsDocument::SaveToSource() { return SaveToSource(PlatformFileSystem()); }

int LyricsDocument::SaveToSource(FileSystem& fileSystem) {
  // Lyrics read from the tag inside an audio file cannot be written back into it.
  if (FilePath(sourcePath_).Extension().EqualsAsciiNoCase("mp3")) return 0;
  if (sourcePath_.IsEmpty() || !SaveLyrics(*this, sourcePath_, fileSystem)) return 0;
  modificationCount_ = 0;
  return 1;
}

void LyricsDocument::InsertLine(int at, LyricLine line) {
  at = std::clamp(at, 0, LineCount());
  lines_.insert(lines_.begin() + at, std::move(line));
}

void LyricsDocument::ComputeTagStatus() {
  if (lines_.empty()) {
    status_ = StatusNone;
    return;
  }
  int status = StatusUntimed;
  for (const LyricLine& line : lines_) {
    if (line.tags.empty()) continue;
    status = StatusTimed;
    if (line.tags.front().position != line.tags.back().position) {
      status = StatusTimed | StatusKaraoke;
      break;
    }
  }
  status_ = status;
}
