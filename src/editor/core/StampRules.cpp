#include "editor/core/StampRules.h"

#include <algorithm>
#include <cstdlib>

#include "settings/EditorSettings.h"

namespace {

// A jump to a tag starts the song this long before it, so the stamp can be heard coming.
constexpr int32_t kJumpLead = 1000;

int32_t ClampTime(int64_t time) { return static_cast<int32_t>(std::clamp<int64_t>(time, 0, kMaxTime)); }

int32_t LineLength(const LyricsDocument& document, int line) {
  return static_cast<int32_t>(document.LineText(line).Length());
}

bool IsAsciiLetterOrDigit(WChar c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// Characters that never start a mora of their own: small kana, the voiced mark, the
// long-vowel mark and the marks that trail a syllable. A stamp before "き" of "きゃ"
// moves the caret past the whole "きゃ".
bool IsMoraTail(WChar c) {
  static const char16_t kTails[] = u"ぁぃぅぇぉゃゅょっァィゥェォャュョッ゛°ー…・";
  return std::find(std::begin(kTails), std::end(kTails) - 1, c) != std::end(kTails) - 1;
}

// The display line whose row a playback-order step starts from: the row's own first
// showing, or for a row that is not shown (a header line) the next row that is.
int DisplayLineOfRow(const LyricsTimeline& timeline, int row) {
  for (int i = row; i < timeline.LineCount(); ++i) {
    const int shown = timeline.DisplayLineOfLine(i);
    if (shown >= 0) return shown;
  }
  return timeline.DisplayLineCount();
}

}  // namespace

StampOptions StampOptions::From(const EditorSettings& settings, const WString& languageName) {
  StampOptions options;
  options.sync = settings.sync;
  options.notSyncSpace = settings.notSyncSpace != 0;
  options.passSpace = settings.passSpace != 0;
  options.nextTimeTag = settings.nextTimeTag != 0;
  options.idealCursor = settings.idealCursor != 0;
  options.japanese = IsJapaneseLanguage(languageName);
  return options;
}

bool IsJapaneseLanguage(const WString& languageName) {
  return languageName.EqualsAsciiNoCase("jpn") || languageName.EqualsAsciiNoCase("japan");
}

int32_t StampTime(const LyricsDocument& document, int line, int32_t position, const StampOptions& options) {
  const bool raw = options.notSyncSpace && document.IsLineEmpty(line);
  return ClampTime(int64_t(position) + (raw ? 0 : options.sync));
}

TimeTag MakeStamp(int32_t time, int32_t position) {
  TimeTag tag(ClampTime(time), position);
  FormatTimeTag(tag, LongTagForm);
  return tag;
}

int32_t SeekTarget(int32_t position, int32_t delta) {
  return position == -1 ? -1 : ClampTime(int64_t(position) + delta);
}

int32_t RowTagJumpTarget(LyricsTimeline& timeline, int row, int heldIndex) {
  if (!timeline.IsValidLine(row)) return -1;
  if (timeline.Line(row).tags.empty()) {
    // Rows are document lines and the playback order is another list: step through it
    // from the row's own display line, and come back to a row through its line.
    const int shown = DisplayLineOfRow(timeline, row);
    int timed = timeline.PrevTimedDisplayLine(shown);
    if (timed < 0 || timeline.DisplayLineTime(timed) < 0) timed = timeline.NextTimedDisplayLine(shown);
    if (!timeline.IsValidDisplayLine(timed) || timeline.DisplayLineTime(timed) < 0) return -1;
    row = timeline.LineOfDisplayLine(timed);
  }
  TimeTag tag;
  if (!timeline.NthTag(row, heldIndex < 0 ? 0 : heldIndex, tag)) return -1;
  return ClampTime(int64_t(tag.time) - kJumpLead);
}

// --------------------------------------------------------------------- karaoke

KaraokeStampResult KaraokeStamp(LyricsTimeline& timeline, const StampOptions& options, KaraokeCaret caret,
                                int32_t position, int32_t playerPosition, bool second) {
  KaraokeStampResult result;
  result.caret = caret;
  const int line = caret.line;
  const int32_t time = StampTime(timeline, line, playerPosition, options);
  const int before = timeline.DisplayLineAtTime(time);
  if (!CopyRepeatedLine(timeline, line, position, time) &&
      !timeline.SetTag(line, second ? 1 : 0, MakeStamp(time, position)))
    return result;
  result.stamped = true;
  if (timeline.DisplayLineAtTime(time) != before) {
    const int playing = timeline.LineOfDisplayLine(before);
    if (timeline.IsValidLine(playing)) result.repaintLine = playing;
  }
  // The first Shift stamp on a bare boundary leaves the caret for the second one.
  if (second && timeline.TagCountAt(line, position) == 1) return result;
  const int32_t column = KaraokeCaretAdvance(timeline, options, line, position);
  if (column > LineLength(timeline, line)) {
    result.caret = MoveCaretToLine(timeline, caret, NextStampingLine(timeline, options, line));
    result.caretLineChanged = result.caret.line != caret.line;
  } else {
    result.caret.column = std::max(column, 0);
  }
  return result;
}

bool CopyRepeatedLine(LyricsTimeline& timeline, int line, int32_t position, int32_t time) {
  if (!timeline.IsValidLine(line) || timeline.Line(line).tags.size() >= 2) return false;
  const WString& text = timeline.LineText(line);
  for (int j = line - 1; j >= 0; --j) {
    const std::vector<TimeTag>& tags = timeline.Line(j).tags;
    if (tags.size() < 2 || tags.front().position != position || !(timeline.LineText(j) == text)) continue;
    // A copy: each SetTag below changes the lines the reference points into.
    const std::vector<TimeTag> source = tags;
    const int64_t shift = int64_t(time) - source.front().time;
    bool copied = false;
    for (size_t n = 0; n < source.size(); ++n) {
      const bool sameAsPrevious = n > 0 && source[n - 1].position == source[n].position;
      copied |= timeline.SetTag(line, sameAsPrevious ? 1 : 0,
                                MakeStamp(ClampTime(source[n].time + shift), source[n].position)) != 0;
    }
    return copied;
  }
  return false;
}

int32_t KaraokeCaretAdvance(const LyricsDocument& document, const StampOptions& options, int line, int32_t p) {
  const WString& text = document.LineText(line);
  const int32_t n = static_cast<int32_t>(text.Length());
  if (p < 0 || p > n) return p + 1;
  if (options.nextTimeTag && p < n) {
    int32_t next = n;
    for (const TimeTag& tag : document.Line(line).tags)
      if (tag.position > p && tag.position < next) next = tag.position;
    if (next < n || document.TagCountAt(line, n) > 0) return next;
  }
  if (!options.idealCursor || p == n) return p + 1;
  int32_t i = p;
  if (text[p] < 0x80) {
    // After a word and the spaces and punctuation that follow it.
    while (i < n && (IsAsciiLetterOrDigit(text[i]) || text[i] == u'\'')) ++i;
    while (i < n && text[i] < 0x80 && !IsAsciiLetterOrDigit(text[i])) ++i;
    return i;
  }
  if (!options.japanese) return p + 1;
  for (i = p + 1; i < n && IsMoraTail(text[i]);) ++i;
  return i;
}

int NextStampingLine(const LyricsDocument& document, const StampOptions& options, int line) {
  if (line >= document.LineCount()) return line;
  if (options.passSpace)
    for (int next = line + 1; next < document.LineCount(); ++next)
      if (!document.IsLineEmpty(next)) return next;
  return line + 1;
}

KaraokeCaret MoveCaretToLine(const LyricsDocument& document, KaraokeCaret caret, int line) {
  line = std::clamp(line, 0, std::max(document.LineCount() - 1, 0));
  if (line != caret.line) return {line, 0};
  return {line, line == 0 ? 0 : LineLength(document, line)};
}

KaraokeCaret KaraokeBackspace(LyricsTimeline& timeline, KaraokeCaret caret, bool& removed) {
  bool stillThere = false;
  removed = timeline.RemoveTagAt(caret.line, caret.column, -1, stillThere) != 0;
  if (!stillThere && caret.column > 0) --caret.column;
  return caret;
}

KaraokeCaret KaraokeDelete(LyricsTimeline& timeline, KaraokeCaret caret, bool& removed) {
  bool stillThere = false;
  removed = timeline.RemoveTagAt(caret.line, caret.column, 0, stillThere) != 0;
  return caret;
}

int ThinTagRuns(LyricsTimeline& timeline) {
  int removedCount = 0;
  for (int i = 0; i < timeline.LineCount(); ++i) {
    for (size_t n = 2; n < timeline.Line(i).tags.size();) {
      const std::vector<TimeTag>& tags = timeline.Line(i).tags;
      if (tags[n].position == tags[n - 1].position && tags[n - 1].position == tags[n - 2].position) {
        // The middle of three goes; the tag at n moves down to n - 1 and is compared
        // again with the one that now follows it.
        TimeTag removed;
        if (!timeline.RemoveNthTag(i, static_cast<int>(n - 1), removed)) break;
        ++removedCount;
      } else {
        ++n;
      }
    }
  }
  return removedCount;
}

bool KaraokeEditingPossible(const LyricsDocument& document) {
  if (document.IsKaraoke()) return true;
  for (int i = 0; i < document.LineCount(); ++i) {
    const std::vector<TimeTag>& tags = document.Line(i).tags;
    if (tags.size() >= 2 && tags.front().position == tags.back().position &&
        document.TagCountAt(i, tags.front().position) >= 2)
      return false;
  }
  return true;
}

int32_t NearestBoundary(const std::vector<int32_t>& offsets, int32_t margin, int32_t x) {
  int32_t best = -1;
  int64_t bestDistance = 0;
  for (size_t c = 0; c < offsets.size(); ++c) {
    if (offsets[c] < 0) continue;
    const int64_t distance = std::llabs(int64_t(margin) + offsets[c] - x);
    if (best < 0 || distance < bestDistance) {
      best = static_cast<int32_t>(c);
      bestDistance = distance;
    }
  }
  return best;
}
