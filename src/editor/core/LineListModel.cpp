#include "editor/core/LineListModel.h"

#include <algorithm>

namespace {

// Shift+Delete and Shift+Z let the user hear the spot again from a little before it.
constexpr int32_t kRecheckLead = 3000;
// X replays the last stamp from just before it.
constexpr int32_t kStampCheckLead = 1000;

}  // namespace

LineListResult LineListModel::Stamped(int row, const TimeTag& tag, bool overwrote, const TimeTag& replaced) {
  record_ = UndoRecord{kStamped, row, tag, overwrote, replaced};
  LineListResult result;
  result.changed = true;
  result.refreshRow = row;
  result.selectRow = NextRow(row);
  return result;
}

LineListResult LineListModel::Stamp(int row, int32_t playerPosition, int heldIndex) {
  if (!timeline_.IsValidLine(row)) return {};
  const int32_t position = timeline_.FirstTagPosition(row);
  const TimeTag tag = MakeStamp(StampTime(timeline_, row, playerPosition, options_), position);
  const int atPosition = timeline_.TagCountAt(row, position);
  const int n = heldIndex >= 0 ? heldIndex : std::max(atPosition - 1, 0);
  // The tag the stamp overwrites, kept so that undo brings its time back.
  TimeTag replaced;
  const bool overwrites = n < atPosition;
  if (overwrites) {
    const std::vector<TimeTag>& tags = timeline_.Line(row).tags;
    auto first = std::find_if(tags.begin(), tags.end(), [&](const TimeTag& t) { return t.position == position; });
    replaced = first[n];
  }
  if (!timeline_.SetTag(row, n, tag)) {
    // A header line: nothing to undo, but the selection still moves on.
    LineListResult result;
    result.refreshRow = row;
    result.selectRow = NextRow(row);
    return result;
  }
  return Stamped(row, tag, overwrites, replaced);
}

LineListResult LineListModel::AddStamp(int row, int32_t playerPosition) {
  if (!timeline_.IsValidLine(row)) return {};
  const TimeTag tag =
      MakeStamp(StampTime(timeline_, row, playerPosition, options_), timeline_.FirstTagPosition(row));
  if (!timeline_.AddTag(row, tag)) {
    LineListResult result;
    result.refreshRow = row;
    result.selectRow = NextRow(row);
    return result;
  }
  return Stamped(row, tag, false, TimeTag());
}

LineListResult LineListModel::Remove(int row, int heldIndex, bool seekBack) {
  LineListResult result;
  if (!timeline_.IsValidLine(row)) return result;
  TimeTag removed;
  if (timeline_.RemoveNthTag(row, heldIndex, removed)) {
    record_ = UndoRecord{kRemoved, row, removed, false, TimeTag()};
    result.changed = true;
    result.refreshRow = row;
    result.selectRow = row;
  }
  if (seekBack) result.seekTo = RecordSeekTarget(kRecheckLead);
  return result;
}

LineListResult LineListModel::Undo(bool seekBack) {
  LineListResult result;
  UndoRecord& r = record_;
  if (r.kind == kStamped) {
    if (!timeline_.RemoveTag(r.row, r.tag)) return result;
    if (r.overwrote) timeline_.AddTag(r.row, r.replaced);
    r.kind = kRemoved;
    result.selectRow = r.row;
  } else if (r.kind == kRemoved) {
    if (r.overwrote && !timeline_.RemoveTag(r.row, r.replaced)) return result;
    if (!timeline_.AddTag(r.row, r.tag)) {
      if (r.overwrote) timeline_.AddTag(r.row, r.replaced);
      return result;
    }
    r.kind = kStamped;
    result.selectRow = NextRow(r.row);
  } else {
    return result;
  }
  result.changed = true;
  result.refreshRow = r.row;
  if (seekBack) result.seekTo = RecordSeekTarget(kRecheckLead);
  return result;
}

int32_t LineListModel::LastStampCheckTarget() const {
  return record_.kind == kStamped ? RecordSeekTarget(kStampCheckLead) : -1;
}

int32_t LineListModel::RecordSeekTarget(int32_t lead) const {
  return record_.kind == kNone ? -1 : SeekTarget(record_.tag.time, -lead);
}

int LineListModel::NextRow(int row) const {
  const int last = timeline_.LineCount() - 1;
  if (row >= last) return row;
  int next = row + 1;
  // A row that carries only a tag shows that tag: it is not empty.
  if (options_.passSpace)
    while (next < last && timeline_.IsLineEmpty(next) && timeline_.Line(next).tags.empty()) ++next;
  return next;
}
