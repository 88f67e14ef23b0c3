#pragma once
// A lyrics document that also keeps its lines in playback order and answers the
// questions of synchronised display: which display line is current at playing time
// t, and between which two stamps of that line t falls. Every stamp edit keeps the
// playback order equal to a full rebuild.

#include <cstdint>
#include <vector>

#include "lyrics/LyricsDocument.h"

struct DisplayLine {
  int32_t line = 0;            // index into the document's lines
  int32_t time = -1;           // the stamp this entry stands for, -1 when untimed
  std::vector<TimeTag> tags;   // by time, then position
};

// A display line's stamps completed with the stamps that end it, as a view that
// copies nothing: the playback tick must not allocate.
class CompletedTags {
 public:
  int Count() const { return ownCount_ + extraCount_; }
  bool IsEmpty() const { return Count() == 0; }
  const TimeTag& operator[](int i) const { return i < ownCount_ ? own_[i] : extra_[i - ownCount_]; }
  const TimeTag& Last() const { return (*this)[Count() - 1]; }

 private:
  friend class LyricsTimeline;
  const TimeTag* own_ = nullptr;
  int ownCount_ = 0;
  TimeTag extra_[2];
  int extraCount_ = 0;
};

class LyricsTimeline : public LyricsDocument {
 public:
  LyricsTimeline();

  int LoadLyricsSource(const WString& path, const LyricsSourceReader& reader) override;
  int ParseText(const WString& text) override;
  // Untimed lines shown exactly as written: the text is split into lines (at line
  // feeds, a carriage return before one dropped) and nothing else is read from it, no
  // stamp and no header field. An empty text gives no lines. A line that begins with
  // "@" still counts as a header line and is not shown.
  void SetPlainText(const WString& text);
  void MarkModified() override;

  // Takes effect at the next rebuild.
  void SetShowUntaggedLines(bool show) { showUntaggedLines_ = show; }
  bool ShowUntaggedLines() const { return showUntaggedLines_; }
  void RebuildTimeline();
  // After a stamp edit in line i.
  void UpdateLine(int i);

  int DisplayLineCount() const { return static_cast<int>(displayLines_.size()); }
  bool IsValidDisplayLine(int k) const { return k >= 0 && k < DisplayLineCount(); }
  const std::vector<DisplayLine>& DisplayLines() const { return displayLines_; }
  const WString& DisplayLineText(int k) const;
  int DisplayLineTime(int k) const;
  int DisplayLineEndTime(int k) const;
  int LineOfDisplayLine(int k) const;
  int DisplayLineOfLine(int i) const;
  int NextTimedDisplayLine(int k) const;
  int PrevTimedDisplayLine(int k) const;

  // The current display line at time t, -1 before the first, the count after the last.
  int DisplayLineAtTime(int t);
  void DisplayLineTags(int k, std::vector<TimeTag>& out) const;
  CompletedTags CompletedDisplayLineTags(int k) const;
  // The stamps of display line k on either side of t; 0 when it has none.
  int TagsAround(int k, int t, TimeTag& previous, TimeTag& next) const;

  // For untimed lyrics: the display line shown at anchorTime, and the song length;
  // any negative length means the length is not known (a stream).
  void SetUntimedAnchor(int anchorLine, int anchorTime, int songLength);
  int SongLength() const { return songLength_; }

  // Stamp editing: 1 when something changed, 0 otherwise.
  int AddTag(int i, const TimeTag& tag);
  int SetTag(int i, int n, const TimeTag& tag);
  int RemoveTag(int i, const TimeTag& tag);
  int RemoveNthTag(int i, int n, TimeTag& removed);
  int RemoveTagAt(int i, int position, int n, bool& stillThere);
  int RemoveAllTags();
  int RemoveKaraokeTags();
  int ShiftAllTags(int delta);
  int ReformatAllTags(unsigned flags);
  int RescaleTags(int newStart, int newEnd, int oldStart, int oldEnd);
  int ExpandToPlaybackOrder();
  int MakeKaraoke();

 private:
  void ResetCache() { cacheValid_ = false; }
  int UntimedLineAtTime(int t) const;
  void FinishLineEdit(int i);
  void FinishDocumentEdit();
  bool IsEditableLine(int i) const { return IsValidLine(i) && !IsHeaderLine(i); }

  int32_t songLength_ = -1;
  bool cacheValid_ = false;
  int32_t cachedTime_ = 0;
  int32_t cachedAnswer_ = -1;
  int32_t anchorTime_ = 0;
  int32_t anchorLine_ = 0;
  bool showUntaggedLines_ = true;
  std::vector<DisplayLine> displayLines_;
  std::vector<int32_t> firstDisplayOfLine_;
};
