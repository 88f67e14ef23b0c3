#include "lyrics/KaraokeLineSplit.h"

#include <algorithm>
#include <cstring>

#include "lyrics/LyricsDocument.h"

namespace {

constexpr WChar kSmallTsu = 0x3063;
constexpr WChar kParticleWo = 0x3092;

bool Contains(const char16_t* set, WChar c) {
  for (; *set; ++set)
    if (*set == c) return true;
  return false;
}

bool IsSpace(WChar c, bool japanese) { return c == u' ' || (japanese && c == 0x3000); }

bool IsPunctuation(WChar c, bool japanese) {
  static const char16_t kJapanese[] = u"　、，。？！＃＄％＆」／＼＞』〕］｝〉》】";
  static const char16_t kAscii[] = u" ,;.:/!#$%&']}>-=^~\\|@`+*?_";
  if (japanese ? Contains(kJapanese, c) : c == u')') return true;
  return Contains(kAscii, c);
}

bool IsClosingBracket(WChar c) { return c == 0xFF09 || c == u')'; }
bool IsHiragana(WChar c) { return c >= 0x3041 && c < 0x3094; }
bool IsKatakana(WChar c) { return (c >= 0x30A1 && c < 0x30F7) || c == 0x30FC; }
bool IsDigit(WChar c) { return (c >= u'0' && c <= u'9') || (c >= 0xFF10 && c <= 0xFF19); }
bool IsLatin(WChar c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= 0xFF21 && c <= 0xFF3A) ||
         (c >= 0xFF41 && c <= 0xFF5A);
}

// A change of script between x and y reads as a break in Japanese text.
bool IsScriptBreak(WChar x, WChar y) {
  if (IsHiragana(x) && x != kSmallTsu && !IsHiragana(y) && !IsClosingBracket(y)) return true;
  if (!IsKatakana(x) && IsKatakana(y)) return true;
  if (!IsLatin(x) && IsLatin(y)) return true;
  if (!IsDigit(x) && IsDigit(y)) return true;
  if (IsClosingBracket(x) && !IsHiragana(y)) return true;
  return x == kParticleWo;
}

// Tries b = h, h+1, h-1, h+2, ... within reach; the first b the rule accepts wins.
template <typename Rule>
int SearchAroundMiddle(int half, int reach, int length, Rule accepts) {
  for (int k = 0; k <= reach; ++k) {
    if (half + k >= 1 && half + k <= length - 1 && accepts(half + k)) return half + k;
    if (k > 0 && half - k >= 1 && accepts(half - k)) return half - k;
  }
  return -1;
}

TimeTag MakeTag(int64_t time, int position) {
  TimeTag tag(static_cast<int32_t>(std::clamp<int64_t>(time, 0, kMaxTime)), position);
  FormatTimeTag(tag, LongTagForm);
  return tag;
}

int64_t Interpolate(const TimeTag& from, const TimeTag& to, int64_t toTime, int at) {
  int64_t span = int64_t(to.position) - from.position;
  if (span == 0) return from.time;
  return from.time + (int64_t(at) - from.position) * (toTime - from.time) / span;
}

}  // namespace

int FindLineBreak(const WString& text, bool japanese) {
  const int length = static_cast<int>(text.Length());
  const int half = length / 2, quarter = length / 4, eighth = quarter / 2;
  // The character before the cut (a space or punctuation) stays with the first half.
  int b = SearchAroundMiddle(half, eighth, length, [&](int p) { return IsSpace(text[p - 1], japanese); });
  if (b < 0) b = SearchAroundMiddle(half, quarter, length, [&](int p) { return IsPunctuation(text[p - 1], japanese); });
  if (b < 0 && japanese)
    b = SearchAroundMiddle(half, quarter, length, [&](int p) { return IsScriptBreak(text[p - 1], text[p]); });
  return b < 0 ? half : b;
}

int SplitLongLine(LyricsDocument& document, int i, const WString& language) {
  if (!document.IsValidLine(i)) return 0;
  const LyricLine& line = document.Line(i);
  const int length = static_cast<int>(line.text.Length());
  const std::vector<TimeTag>& tags = line.tags;
  if (length < 2 || tags.empty()) return 0;
  const bool japanese = language.EqualsAsciiNoCase("jpn") || language.EqualsAsciiNoCase("japan");
  const int b = FindLineBreak(line.text, japanese);
  if (tags.front().position >= b) return 0;

  LyricLine first{line.text.Substr(0, b), {}};
  LyricLine second{line.text.Substr(b), {}};
  auto atCut = std::find_if(tags.begin(), tags.end(), [b](const TimeTag& t) { return t.position == b; });
  if (atCut != tags.end()) {
    // The stamp at the cut ends the first half and starts the second.
    first.tags.assign(tags.begin(), atCut + 1);
    auto lastAtCut = atCut;
    while (lastAtCut + 1 != tags.end() && lastAtCut[1].position == b) ++lastAtCut;
    for (auto it = lastAtCut; it != tags.end(); ++it) second.tags.emplace_back(it->time, it->position - b, it->text);
  } else {
    auto next = std::find_if(tags.begin(), tags.end(), [b](const TimeTag& t) { return t.position > b; });
    if (next == tags.end()) return 0;
    const TimeTag& previous = next[-1];
    const int64_t t = Interpolate(previous, *next, next->time, b);
    first.tags.assign(tags.begin(), next);
    first.tags.push_back(MakeTag(t, b));
    second.tags.push_back(MakeTag(t, 0));
    for (auto it = next; it != tags.end(); ++it) second.tags.emplace_back(it->time, it->position - b, it->text);
    // A line sung at once (start, start again at the end, end): each half is again
    // sung at once, the time divided in proportion to the characters.
    if (next + 1 != tags.end() && next[1].position == next->position && next[1].time > next->time &&
        previous.time == next->time) {
      const int64_t t2 = Interpolate(previous, *next, next[1].time, b);
      first.tags.push_back(MakeTag(t2, b));
      second.tags[0] = MakeTag(t2, 0);
      second.tags[1] = MakeTag(t2, second.tags[1].position);
    }
  }
  std::vector<LyricLine>& lines = document.MutableLines();
  lines[i] = std::move(first);
  document.InsertLine(i + 1, std::move(second));
  return 1;
}
