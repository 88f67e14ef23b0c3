#pragma once
// The x of every character boundary of every line in the karaoke view's font, measured
// lazily: text measuring is the expensive part of the view, so the whole document is
// measured in the background at one boundary per tick, and a row is measured whole
// the moment it is painted or clicked. An entry not yet measured is never used.

#include <cstdint>
#include <vector>

#include "base/WString.h"

class LyricsDocument;

// The width in pixels of the first `characters` characters of text.
class TextWidthSource {
 public:
  virtual ~TextWidthSource() = default;
  virtual int32_t PrefixWidth(const WString& text, int32_t characters) = 0;
};

class KaraokeOffsets {
 public:
  // One table per line of the document, line length + 1 entries, none measured but
  // the start of each line; the background measuring starts again at line 0.
  void Reset(const LyricsDocument& document);

  // The background step: measures the next boundary not measured yet, at most one.
  // False when everything is measured.
  bool MeasureNext(const LyricsDocument& document, TextWidthSource& widths);
  // Measures every boundary of line that is not measured yet.
  void MeasureLine(const LyricsDocument& document, int line, TextWidthSource& widths);
  // The width of line's first column characters, measured now if need be; 0 for an
  // index outside the tables.
  int32_t Offset(const LyricsDocument& document, int line, int32_t column, TextWidthSource& widths);

  // Line's table as it stands (-1: not measured); empty for an invalid line.
  const std::vector<int32_t>& Table(int line) const;
  int LineCount() const { return static_cast<int>(tables_.size()); }

 private:
  bool Valid(const LyricsDocument& document, int line) const;

  std::vector<std::vector<int32_t>> tables_;
  int measuringLine_ = 0;
  int32_t measuringColumn_ = 0;
};
