#include "lyrics/LyricsTimeline.h"

#include <algorithm>

namespace {

constexpr size_t kReservedDisplayLines = 256;
// How long the last timed line stays current when nothing says when it ends.
constexpr int32_t kLastLineDuration = 10000;

int32_t ClampTime(int64_t time) {
  if (time < 0) return 0;
  if (time > kMaxTime) return kMaxTime;
  return static_cast<int32_t>(time);
}

void SortByPositionThenTime(std::vector<TimeTag>& tags) {
  std::stable_sort(tags.begin(), tags.end(), ByPositionThenTime);
}

void SortByTimeThenPosition(std::vector<TimeTag>& tags) {
  // Karaoke stamps are nearly always written in time order already; checking is
  // far cheaper than the stable sort's buffer and moves.
  if (std::is_sorted(tags.begin(), tags.end(), ByTimeThenPosition)) return;
  std::stable_sort(tags.begin(), tags.end(), ByTimeThenPosition);
}

void SetTime(TimeTag& tag, int64_t time) {
  tag.time = ClampTime(time);
  FormatTimeTag(tag, LongTagForm);
}

}  // namespace

LyricsTimeline::LyricsTimeline() { displayLines_.reserve(kReservedDisplayLines); }

int LyricsTimeline::LoadLyricsSource(const WString& path, const LyricsSourceReader& reader) {
  int loaded = LyricsDocument::LoadLyricsSource(path, reader);
  RebuildTimeline();
  return loaded;
}

int LyricsTimeline::ParseText(const WString& text) {
  int parsed = LyricsDocument::ParseText(text);
  RebuildTimeline();
  return parsed;
}

void LyricsTimeline::SetPlainText(const WString& text) {
  Clear();
  for (size_t start = 0; start < text.Length();) {
    size_t end = text.Find(u'\n', start);
    const size_t next = end == WString::npos ? text.Length() : end + 1;
    if (end == WString::npos) end = text.Length();
    else if (end > start && text[end - 1] == u'\r') --end;
    lines_.push_back(LyricLine{text.Substr(start, end - start), {}});
    start = next;
  }
  ComputeTagStatus();
  RebuildTimeline();
}

void LyricsTimeline::MarkModified() {
  LyricsDocument::MarkModified();
  ResetCache();
}

void LyricsTimeline::RebuildTimeline() {
  displayLines_.clear();
  ResetCache();
  firstDisplayOfLine_.assign(lines_.size(), -1);
  if (status_ == StatusNone) return;

  if (status_ == StatusUntimed) {
    for (int i = 0; i < LineCount(); ++i)
      if (!IsHeaderLine(i)) displayLines_.push_back({i, -1, {}});
  } else {
    // A candidate is one showing of a line: the whole line, or one stamp of a line
    // repeated by several stamps at one position ([00:10][00:50]Chorus).
    struct Candidate {
      int32_t line;
      int32_t time;
      int32_t tag;  // -1: all of the line's tags
    };
    std::vector<Candidate> candidates;
    candidates.reserve(lines_.size());
    const bool karaoke = IsKaraoke();
    for (int i = 0; i < LineCount(); ++i) {
      const std::vector<TimeTag>& tags = lines_[i].tags;
      if (tags.empty() || IsHeaderLine(i)) continue;
      bool onePosition = std::all_of(tags.begin(), tags.end(),
                                     [&](const TimeTag& tag) { return tag.position == tags[0].position; });
      if (!onePosition || tags.size() == 1 || karaoke) {
        candidates.push_back({i, tags[0].time, -1});
      } else {
        for (size_t n = 0; n < tags.size(); ++n) candidates.push_back({i, tags[n].time, static_cast<int32_t>(n)});
      }
    }
    auto appendUntimedFrom = [this](int first) {
      for (int j = first; j < LineCount(); ++j) {
        if (IsHeaderLine(j)) continue;
        if (!lines_[j].tags.empty()) break;
        displayLines_.push_back({j, -1, {}});
      }
    };
    if (showUntaggedLines_ && !candidates.empty()) {
      for (int j = 0; j < candidates.front().line; ++j)
        if (!IsHeaderLine(j)) displayLines_.push_back({j, -1, {}});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.time < b.time; });
    for (const Candidate& candidate : candidates) {
      DisplayLine shown{candidate.line, candidate.time, {}};
      const std::vector<TimeTag>& tags = lines_[candidate.line].tags;
      if (candidate.tag < 0) {
        shown.tags = tags;
        SortByTimeThenPosition(shown.tags);
      } else {
        shown.tags.push_back(tags[candidate.tag]);
      }
      displayLines_.push_back(std::move(shown));
      if (showUntaggedLines_) appendUntimedFrom(candidate.line + 1);
    }
  }
  for (int k = DisplayLineCount(); k-- > 0;) firstDisplayOfLine_[displayLines_[k].line] = k;
}

void LyricsTimeline::UpdateLine(int) {
  // Rebuilding gives exactly the playback order a full load would; a stamp edit in
  // one line can move the line, its repeats and its untimed followers anywhere.
  ComputeTagStatus();
  RebuildTimeline();
}

const WString& LyricsTimeline::DisplayLineText(int k) const {
  return LineText(IsValidDisplayLine(k) ? displayLines_[k].line : -1);
}

int LyricsTimeline::DisplayLineTime(int k) const {
  return IsValidDisplayLine(k) && !displayLines_[k].tags.empty() ? displayLines_[k].time : -1;
}

int LyricsTimeline::DisplayLineEndTime(int k) const {
  CompletedTags tags = CompletedDisplayLineTags(k);
  return tags.IsEmpty() ? -1 : tags.Last().time;
}

int LyricsTimeline::LineOfDisplayLine(int k) const {
  if (k < 0) return -1;
  return k < DisplayLineCount() ? displayLines_[k].line : LineCount();
}

int LyricsTimeline::DisplayLineOfLine(int i) const {
  if (i < 0 || displayLines_.empty()) return -1;
  if (i >= LineCount()) return DisplayLineCount();
  return i < static_cast<int>(firstDisplayOfLine_.size()) ? firstDisplayOfLine_[i] : -1;
}

int LyricsTimeline::NextTimedDisplayLine(int k) const {
  int count = DisplayLineCount();
  if (k >= count) return count;
  if (status_ == StatusUntimed) return k + 1;
  for (int next = std::max(k + 1, 0); next < count; ++next)
    if (!displayLines_[next].tags.empty()) return next;
  return count;
}

int LyricsTimeline::PrevTimedDisplayLine(int k) const {
  if (k <= -1) return -1;
  if (status_ == StatusUntimed) return k - 1;
  for (int previous = std::min(k, DisplayLineCount()) - 1; previous >= 0; --previous)
    if (!displayLines_[previous].tags.empty()) return previous;
  return -1;
}

CompletedTags LyricsTimeline::CompletedDisplayLineTags(int k) const {
  CompletedTags completed;
  if (!IsValidDisplayLine(k) || displayLines_[k].tags.empty()) return completed;
  const DisplayLine& shown = displayLines_[k];
  completed.own_ = shown.tags.data();
  completed.ownCount_ = static_cast<int>(shown.tags.size());
  const int32_t length = static_cast<int32_t>(LineText(shown.line).Length());
  const TimeTag& last = shown.tags.back();
  if (last.position == length && length > 0) return completed;
  int next = NextTimedDisplayLine(k);
  int32_t end = next < DisplayLineCount() ? displayLines_[next].time
                                           : ClampTime(int64_t(shown.time) + kLastLineDuration);
  if (last.position == 0 && length == 0) {
    completed.extra_[completed.extraCount_++] = TimeTag(std::max(end, last.time), 0);
    return completed;
  }
  // Outside karaoke the whole line counts as sung at its start.
  if (!IsKaraoke()) completed.extra_[completed.extraCount_++] = TimeTag(shown.time, length);
  completed.extra_[completed.extraCount_++] = TimeTag(end, length);
  return completed;
}

void LyricsTimeline::DisplayLineTags(int k, std::vector<TimeTag>& out) const {
  out.clear();
  CompletedTags tags = CompletedDisplayLineTags(k);
  for (int i = 0; i < tags.Count(); ++i) out.push_back(tags[i]);
}

int LyricsTimeline::TagsAround(int k, int t, TimeTag& previous, TimeTag& next) const {
  CompletedTags tags = CompletedDisplayLineTags(k);
  if (tags.IsEmpty()) return 0;
  if (tags.Last().time <= t) {
    previous = next = tags.Last();
  } else if (tags[0].time > t) {
    previous = next = tags[0];
  } else {
    int i = 1;
    while (tags[i].time <= t) ++i;  // the last tag's time is > t, so this stops
    next = tags[i];
    previous = tags[i - 1];
  }
  return 1;
}

int LyricsTimeline::DisplayLineAtTime(int t) {
  if (t < 0) return -1;
  if (status_ == StatusUntimed) return UntimedLineAtTime(t);
  if (cacheValid_ && t == cachedTime_) return cachedAnswer_;
  const int count = DisplayLineCount();
  // Playback moves forward: go on from the last answer; only a jump back rescans.
  int k = cacheValid_ && t > cachedTime_ && cachedAnswer_ > 0 ? std::min(cachedAnswer_, count) : 0;
  while (k < count && (displayLines_[k].tags.empty() || displayLines_[k].time <= t)) ++k;
  int answer = PrevTimedDisplayLine(k);
  if (answer != -1 && !LineText(displayLines_[answer].line).IsEmpty() && DisplayLineEndTime(answer) <= t)
    answer = k;  // that line is over
  cacheValid_ = true;
  cachedTime_ = t;
  cachedAnswer_ = answer;
  return answer;
}

int LyricsTimeline::UntimedLineAtTime(int t) const {
  if (songLength_ < 0) return -1;  // a stream: no length to spread the lines over
  const int64_t anchorLine = anchorLine_, anchorTime = anchorTime_, length = songLength_;
  const int64_t count = DisplayLineCount();
  int64_t k;
  if (t < anchorTime) {
    k = (t / 2 + (anchorLine - 1) * t) / anchorTime;
  } else if (length <= anchorTime) {
    return static_cast<int>(count);
  } else {
    int64_t d = t - anchorTime;
    k = ((count - anchorLine) * d + d / 2) / (length - anchorTime) + anchorLine;
  }
  return static_cast<int>(k >= 0 && k <= count ? k : count);
}

void LyricsTimeline::SetUntimedAnchor(int anchorLine, int anchorTime, int songLength) {
  if (anchorLine >= DisplayLineCount()) anchorLine = DisplayLineCount() - 1;
  if (anchorLine < 0) anchorLine = 0;
  if (songLength <= 0) anchorTime = 0;
  else anchorTime = std::clamp(anchorTime, 0, songLength - 1);
  anchorLine_ = anchorLine;
  anchorTime_ = anchorTime;
  songLength_ = songLength < 0 ? -1 : songLength;
}

void LyricsTimeline::FinishLineEdit(int i) {
  UpdateLine(i);
  MarkModified();
}

void LyricsTimeline::FinishDocumentEdit() {
  ComputeTagStatus();
  RebuildTimeline();
  MarkModified();
}

int LyricsTimeline::AddTag(int i, const TimeTag& tag) {
  if (!IsEditableLine(i)) return 0;
  // A stamp must stand inside the text, or TaggedLineText would write it elsewhere.
  if (tag.position < 0 || tag.position > static_cast<int>(lines_[i].text.Length())) return 0;
  lines_[i].tags.push_back(tag);
  SortByPositionThenTime(lines_[i].tags);
  FinishLineEdit(i);
  return 1;
}

int LyricsTimeline::SetTag(int i, int n, const TimeTag& tag) {
  if (!IsEditableLine(i)) return 0;
  if (tag.position < 0 || tag.position > static_cast<int>(lines_[i].text.Length())) return 0;
  std::vector<TimeTag>& tags = lines_[i].tags;
  auto first = std::find_if(tags.begin(), tags.end(), [&](const TimeTag& t) { return t.position == tag.position; });
  size_t at = first == tags.end() ? tags.size() : static_cast<size_t>(first - tags.begin());
  if (at < tags.size() && n >= 0 && static_cast<size_t>(n) < tags.size() - at &&
      tags[at + n].position == tag.position) {
    tags[at + n] = tag;
  } else {
    tags.push_back(tag);
  }
  SortByPositionThenTime(tags);
  FinishLineEdit(i);
  return 1;
}

int LyricsTimeline::RemoveTag(int i, const TimeTag& tag) {
  if (!IsEditableLine(i)) return 0;
  std::vector<TimeTag>& tags = lines_[i].tags;
  auto found = std::find_if(tags.begin(), tags.end(),
                            [&](const TimeTag& t) { return t.position == tag.position && t.time == tag.time; });
  if (found == tags.end()) return 0;
  tags.erase(found);
  FinishLineEdit(i);
  return 1;
}

int LyricsTimeline::RemoveNthTag(int i, int n, TimeTag& removed) {
  if (!IsEditableLine(i)) return 0;
  std::vector<TimeTag>& tags = lines_[i].tags;
  if (n == -1) n = static_cast<int>(tags.size()) - 1;
  if (n < 0 || n >= static_cast<int>(tags.size())) return 0;
  removed = tags[n];
  tags.erase(tags.begin() + n);
  FinishLineEdit(i);
  return 1;
}

int LyricsTimeline::RemoveTagAt(int i, int position, int n, bool& stillThere) {
  stillThere = false;
  if (!IsEditableLine(i)) return 0;
  std::vector<TimeTag>& tags = lines_[i].tags;
  auto atPosition = [position](const TimeTag& t) { return t.position == position; };
  auto first = std::find_if(tags.begin(), tags.end(), atPosition);
  if (first == tags.end()) return 0;
  auto target = first;
  if (n == -1) {
    while (target + 1 != tags.end() && target[1].position == position) ++target;
  } else {
    if (n < 0 || n >= tags.end() - first || first[n].position != position) {
      stillThere = true;
      return 0;
    }
    target = first + n;
  }
  tags.erase(target);
  stillThere = std::any_of(tags.begin(), tags.end(), atPosition);
  FinishLineEdit(i);
  return 1;
}

int LyricsTimeline::RemoveAllTags() {
  bool changed = false;
  for (LyricLine& line : lines_) {
    changed |= !line.tags.empty();
    line.tags.clear();
  }
  if (!changed) return 0;
  FinishDocumentEdit();
  return 1;
}

int LyricsTimeline::RemoveKaraokeTags() {
  if (!IsKaraoke()) return 0;
  for (LyricLine& line : lines_)
    if (line.tags.size() > 1) line.tags.erase(line.tags.begin() + 1, line.tags.end());
  FinishDocumentEdit();
  return 1;
}

int LyricsTimeline::ShiftAllTags(int delta) {
  if (!IsTimed()) return 0;
  for (LyricLine& line : lines_)
    for (TimeTag& tag : line.tags) SetTime(tag, int64_t(tag.time) + delta);
  FinishDocumentEdit();
  return 1;
}

int LyricsTimeline::ReformatAllTags(unsigned flags) {
  bool changed = false;
  for (LyricLine& line : lines_)
    for (TimeTag& tag : line.tags) {
      FormatTimeTag(tag, flags);
      changed = true;
    }
  if (!changed) return 0;
  FinishDocumentEdit();
  return 1;
}

int LyricsTimeline::RescaleTags(int newStart, int newEnd, int oldStart, int oldEnd) {
  bool changed = false;
  for (LyricLine& line : lines_)
    for (TimeTag& tag : line.tags) {
      if (tag.time < oldStart || tag.time > oldEnd) continue;
      int64_t time = oldEnd == oldStart
                         ? int64_t(newStart)
                         : int64_t(newStart) + (int64_t(tag.time) - oldStart) * (int64_t(newEnd) - newStart) /
                                                   (int64_t(oldEnd) - oldStart);
      SetTime(tag, time);
      changed = true;
    }
  if (!changed) return 0;
  FinishDocumentEdit();
  return 1;
}

int LyricsTimeline::ExpandToPlaybackOrder() {
  if (IsKaraoke() || status_ == StatusNone) return 0;
  std::vector<LyricLine> expanded;
  expanded.reserve(lines_.size() + displayLines_.size());
  for (int i = 0; i < LineCount(); ++i)
    if (IsHeaderLine(i)) expanded.push_back(lines_[i]);
  for (const DisplayLine& shown : displayLines_) {
    LyricLine line{lines_[shown.line].text, shown.tags};
    SortByPositionThenTime(line.tags);
    expanded.push_back(std::move(line));
  }
  lines_ = std::move(expanded);
  FinishDocumentEdit();
  return 1;
}

int LyricsTimeline::MakeKaraoke() {
  if (!IsTimed()) return 0;
  ExpandToPlaybackOrder();
  std::vector<std::vector<TimeTag>> completed(lines_.size());
  for (int i = 0; i < LineCount(); ++i) {
    if (lines_[i].tags.empty() || IsHeaderLine(i)) continue;
    DisplayLineTags(DisplayLineOfLine(i), completed[i]);
    // The stamps that complete a line become real stamps: give them their written
    // form, or a save would drop them from the file.
    for (TimeTag& tag : completed[i])
      if (tag.text.IsEmpty()) FormatTimeTag(tag, LongTagForm);
    SortByPositionThenTime(completed[i]);
  }
  for (int i = 0; i < LineCount(); ++i)
    if (!lines_[i].tags.empty() && !IsHeaderLine(i)) lines_[i].tags = std::move(completed[i]);
  FinishDocumentEdit();
  return 1;
}
