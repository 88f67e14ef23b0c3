#pragma once
// How the Editor's stamping views turn a key press or a click into time tags: the
// stamp time, karaoke stamping with its repeated-line copy and caret advance, the
// line the caret goes on to, the thinning of tag runs, the nearest character boundary
// of a click and the jump back to a row's tag. Arithmetic over the timeline only; the
// views draw the result and talk to the player.

#include <cstdint>
#include <vector>

#include "base/WString.h"
#include "lyrics/LyricsTimeline.h"

class EditorSettings;

// The Editor settings that stamping follows, plus the user's language.
struct StampOptions {
  int32_t sync = 0;           // added to every stamp time; any size, may be negative
  bool notSyncSpace = false;  // an empty line is stamped with the raw position
  bool passSpace = false;     // moving on skips empty lines
  bool nextTimeTag = false;   // karaoke: the caret goes to the next position with a tag
  bool idealCursor = true;    // karaoke: the caret moves by word, or by mora in Japanese
  bool japanese = false;      // the user's language is Japanese (see IsJapaneseLanguage)

  static StampOptions From(const EditorSettings& settings, const WString& languageName);
};

// The abbreviated language name of a Japanese user: "jpn" or "japan" in any ASCII case
// (Windows answers "JPN").
bool IsJapaneseLanguage(const WString& languageName);

// The time a stamp on line gets for the player's position: position + sync (the raw
// position on an empty line when notSyncSpace is set), clamped to 0 .. kMaxTime.
int32_t StampTime(const LyricsDocument& document, int line, int32_t position, const StampOptions& options);
// A stamp in the long written form.
TimeTag MakeStamp(int32_t time, int32_t position);
// Where a seek key sends the player: position + delta, at least 0; -1 (no seek) when
// the player gives no position.
int32_t SeekTarget(int32_t position, int32_t delta);

// The seek target of the jump to a row's tag (key Z): tag heldIndex (-1: the first) of
// the row, or of the nearest timed line before it in playback order when the row has
// no tag, else after it; one second before that tag, at least 0. -1 when there is none.
int32_t RowTagJumpTarget(LyricsTimeline& timeline, int row, int heldIndex);

// ------------------------------------------------------------------ karaoke view

struct KaraokeCaret {
  int32_t line = 0;
  int32_t column = 0;  // the character boundary in front of character `column`
  bool operator==(const KaraokeCaret& other) const { return line == other.line && column == other.column; }
};

struct KaraokeStampResult {
  bool stamped = false;           // false: the document refused; nothing else changed
  int32_t repaintLine = -1;       // the playing line before the stamp, when it is no longer playing
  KaraokeCaret caret;             // the caret afterwards
  bool caretLineChanged = false;  // the caret went to another line; else repaint the caret line
};

// One karaoke stamp at `position` of the caret line (Space: the caret column; Enter: the
// line's length; a click: NearestBoundary). `second` (Shift) addresses the second tag
// at that position: the end of one syllable and the start of the next.
KaraokeStampResult KaraokeStamp(LyricsTimeline& timeline, const StampOptions& options, KaraokeCaret caret,
                                int32_t position, int32_t playerPosition, bool second);

// A chorus stamped completely once is stamped in one keystroke when it comes again:
// when line has fewer than two tags and an earlier line with the same text has two or
// more whose first stands at position, its tags are copied, shifted so that the first
// falls on time. True when it applied.
bool CopyRepeatedLine(LyricsTimeline& timeline, int line, int32_t position, int32_t time);

// The caret column after a stamp at p; greater than the line's length means "go on to
// the next line".
int32_t KaraokeCaretAdvance(const LyricsDocument& document, const StampOptions& options, int line, int32_t p);
// The line a stamp at the end of line moves on to (past empty lines with passSpace);
// may be the line count: MoveCaretToLine clamps.
int NextStampingLine(const LyricsDocument& document, const StampOptions& options, int line);
// The caret on another line: clamped to the lines; a new line starts at column 0, the
// same line puts the caret at its end (at column 0 on line 0).
KaraokeCaret MoveCaretToLine(const LyricsDocument& document, KaraokeCaret caret, int line);

// Backspace: removes the last tag at the caret; with none left there the caret steps
// one character left. Delete: removes the first tag at the caret. Both answer the caret
// afterwards and set `removed`.
KaraokeCaret KaraokeBackspace(LyricsTimeline& timeline, KaraokeCaret caret, bool& removed);
KaraokeCaret KaraokeDelete(LyricsTimeline& timeline, KaraokeCaret caret, bool& removed);

// Karaoke editing needs at most two tags at one position: in every run of three or
// more tags at one position of a line the first and the last stay. Answers how many
// tags went (each removal counts as a modification).
int ThinTagRuns(LyricsTimeline& timeline);

// Karaoke mode is possible for a karaoke document, and for one in which no line
// carries several line tags (a repeated line); those must be expanded first.
bool KaraokeEditingPossible(const LyricsDocument& document);

// The character boundary nearest to x: offsets[c] is the width of the first c
// characters (-1 when not measured, skipped), drawn from margin. The first wins a tie;
// -1 when nothing is measured.
int32_t NearestBoundary(const std::vector<int32_t>& offsets, int32_t margin, int32_t x);
