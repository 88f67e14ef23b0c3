#include "editor/core/KaraokeOffsets.h"

#include <algorithm>

#include "lyrics/LyricsDocument.h"

namespace {

const std::vector<int32_t> kNoTable;

size_t TableSize(const LyricsDocument& document, int line) { return document.LineText(line).Length() + 1; }

}  // namespace

void KaraokeOffsets::Reset(const LyricsDocument& document) {
  tables_.assign(static_cast<size_t>(std::max(document.LineCount(), 0)), {});
  for (int line = 0; line < LineCount(); ++line) {
    tables_[line].assign(TableSize(document, line), -1);
    tables_[line][0] = 0;  // nothing is zero wide
  }
  measuringLine_ = 0;
  measuringColumn_ = 0;
}

bool KaraokeOffsets::Valid(const LyricsDocument& document, int line) const {
  // A table that no longer fits its line (the text changed without a Reset) counts as
  // missing rather than giving widths of another text.
  return line >= 0 && line < LineCount() && line < document.LineCount() &&
         tables_[line].size() == TableSize(document, line);
}

bool KaraokeOffsets::MeasureNext(const LyricsDocument& document, TextWidthSource& widths) {
  // The position only moves forward, so skipping measured entries costs the whole
  // document once over all ticks, not once per tick.
  while (measuringLine_ < LineCount()) {
    if (!Valid(document, measuringLine_) ||
        measuringColumn_ >= static_cast<int32_t>(tables_[measuringLine_].size())) {
      ++measuringLine_;
      measuringColumn_ = 0;
      continue;
    }
    int32_t& entry = tables_[measuringLine_][measuringColumn_];
    const int32_t column = measuringColumn_++;
    if (entry < 0) {
      entry = std::max(widths.PrefixWidth(document.LineText(measuringLine_), column), 0);
      return true;
    }
  }
  return false;
}

void KaraokeOffsets::MeasureLine(const LyricsDocument& document, int line, TextWidthSource& widths) {
  if (!Valid(document, line)) return;
  std::vector<int32_t>& table = tables_[line];
  for (size_t c = 0; c < table.size(); ++c)
    if (table[c] < 0) table[c] = std::max(widths.PrefixWidth(document.LineText(line), static_cast<int32_t>(c)), 0);
}

int32_t KaraokeOffsets::Offset(const LyricsDocument& document, int line, int32_t column, TextWidthSource& widths) {
  if (!Valid(document, line) || column < 0 || column >= static_cast<int32_t>(tables_[line].size())) return 0;
  int32_t& entry = tables_[line][column];
  if (entry < 0) entry = std::max(widths.PrefixWidth(document.LineText(line), column), 0);
  return entry;
}

const std::vector<int32_t>& KaraokeOffsets::Table(int line) const {
  return line >= 0 && line < LineCount() ? tables_[line] : kNoTable;
}
