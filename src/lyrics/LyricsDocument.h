#pragma once
// The lyrics of one song: its lines in file order, each with the stamps taken out of
// its text, the seven header fields, where the lyrics came from, a tag status and a
// modification counter. Queries with an invalid index answer -1, 0 or a shared
// empty object; they never fail.

#include <cstdint>
#include <vector>

#include "base/WString.h"
#include "lyrics/LyricsSourceReader.h"
#include "lyrics/TimeTag.h"

class FileSystem;

struct LyricLine {
  WString text;               // stamps removed; header lines keep their whole text
  std::vector<TimeTag> tags;  // in order of appearance, or by position then time after an edit
};

enum TagStatus : int {
  StatusNone = 0,
  StatusUntimed = 1,
  StatusTimed = 2,
  StatusKaraoke = 4,
};

class LyricsDocument {
 public:
  LyricsDocument();
  virtual ~LyricsDocument();
  LyricsDocument(const LyricsDocument&) = default;
  LyricsDocument& operator=(const LyricsDocument&) = default;

  // No lines, empty fields, status 0; the source path and the counter stay.
  void Clear();
  // Reads the source through the reader and parses it. An empty path, or a source
  // that gives nothing, leaves the document empty with no source path (answers 0).
  virtual int LoadLyricsSource(const WString& path, const LyricsSourceReader& reader);
  // Replaces the whole content by the parse of text; always answers 1.
  virtual int ParseText(const WString& text);

  int LineCount() const { return static_cast<int>(lines_.size()); }
  bool IsValidLine(int i) const { return i >= 0 && i < LineCount(); }
  const LyricLine& Line(int i) const;
  const WString& LineText(int i) const;
  // The line with every stamp's text put back at its position. Valid until the next
  // call or change.
  const WString& TaggedLineText(int i);
  int FirstTagPosition(int i) const;
  // How many tags stand at position p of line i, counted from the first tag there
  // (p = -1: all the line's tags); 0 for an invalid line.
  int TagCountAt(int i, int p) const;
  // n = -1: the last tag.
  int NthTag(int i, int n, TimeTag& tag) const;
  int EarliestTag(int& line, TimeTag& tag) const;
  int LatestTag(int& line, TimeTag& tag) const;
  bool IsHeaderLine(int i) const;
  bool IsLineEmpty(int i) const;

  int Status() const { return status_; }
  bool IsTimed() const { return (status_ & StatusTimed) != 0; }
  bool IsKaraoke() const { return (status_ & StatusKaraoke) != 0; }
  uint32_t ModificationCount() const { return modificationCount_; }
  virtual void MarkModified();

  const WString& SourcePath() const { return sourcePath_; }
  void SetSourcePath(const WString& path) { sourcePath_ = path; }
  const WString& Title() const { return title_; }
  const WString& Artist() const { return artist_; }
  const WString& Album() const { return album_; }
  const WString& Words() const { return words_; }
  const WString& Music() const { return music_; }
  const WString& BgFile() const { return bgFile_; }
  const WString& BgFolder() const { return bgFolder_; }

  // Saves to the source path; refused (0) for lyrics that came from an mp3 file.
  int SaveToSource();
  int SaveToSource(FileSystem& fileSystem);

  // For the parser, the line splitter and the editors. Callers that change lines
  // recompute the status and, for a timeline, rebuild the playback order.
  std::vector<LyricLine>& MutableLines() { return lines_; }
  const std::vector<LyricLine>& Lines() const { return lines_; }
  void InsertLine(int at, LyricLine line);
  void ComputeTagStatus();
  void ApplyHeaderFields();

 protected:
  bool IsLineTagged(int i) const { return IsValidLine(i) && !lines_[i].tags.empty(); }
  void ClearLoadState();

  uint32_t modificationCount_ = 0;
  std::vector<LyricLine> lines_;
  int status_ = StatusNone;
  WString sourcePath_;
  WString title_, artist_, album_, words_, music_, bgFile_, bgFolder_;

 private:
  friend int ParseLyricsText(LyricsDocument& document, const WString& text);
  int BestTag(int& line, TimeTag& tag, bool latest) const;

  mutable WString emptyText_;
  WString scratch_;
};
