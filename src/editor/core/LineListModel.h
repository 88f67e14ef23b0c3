#pragma once
// The line-list view's stamping keys as operations on rows (one row per document
// line): Enter sets a row's line tag, Space adds one, Delete removes one, and a
// one-level record undoes the last of them and redoes it. Each answers what the list
// must show next; the view only refreshes rows, selects and seeks.

#include <cstdint>

#include "editor/core/StampRules.h"
#include "lyrics/LyricsTimeline.h"

struct LineListResult {
  bool changed = false;    // the document changed
  int refreshRow = -1;     // the row whose text to show again, -1 for none
  int selectRow = -1;      // the row to select afterwards, -1 to keep the selection
  int32_t seekTo = -1;     // where to seek the player afterwards, -1 for no seek
};

class LineListModel {
 public:
  LineListModel(LyricsTimeline& timeline, const StampOptions& options) : timeline_(timeline), options_(options) {}
  LineListModel(const LineListModel&) = delete;
  LineListModel& operator=(const LineListModel&) = delete;

  void SetOptions(const StampOptions& options) { options_ = options; }

  // Enter: sets tag heldIndex at the row's line position (-1: the last there, which a
  // repeated line has several of; beyond them a new one is added).
  LineListResult Stamp(int row, int32_t playerPosition, int heldIndex);
  // Space: one more line tag (a repeated line is sung once more).
  LineListResult AddStamp(int row, int32_t playerPosition);
  // Delete: removes tag heldIndex of the row (-1: the last); seekBack (Shift) then
  // seeks to three seconds before the tag of the record.
  LineListResult Remove(int row, int heldIndex, bool seekBack);
  // Undoes the last edit, or redoes it after an undo. Nothing at all (not even a seek)
  // when there is nothing to undo or the document no longer allows it.
  LineListResult Undo(bool seekBack);
  // X: one second before the last stamp, while it stands; -1 otherwise.
  int32_t LastStampCheckTarget() const;
  // After the list is filled again: the record may describe lines that are gone.
  void Forget() { record_ = UndoRecord(); }

  // The row selected after a stamp: the next one (past empty rows with passSpace), or
  // the row itself at the end.
  int NextRow(int row) const;

 private:
  enum Kind { kNone, kStamped, kRemoved };
  struct UndoRecord {
    Kind kind = kNone;
    int row = -1;
    TimeTag tag;              // the stamp, or the removed tag
    bool overwrote = false;   // the stamp took the place of `replaced`
    TimeTag replaced;
  };

  LineListResult Stamped(int row, const TimeTag& tag, bool overwrote, const TimeTag& replaced);
  int32_t RecordSeekTarget(int32_t lead) const;

  LyricsTimeline& timeline_;
  StampOptions options_;
  UndoRecord record_;
};
