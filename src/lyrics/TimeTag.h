#pragma once
// One time stamp of a lyric line, such as [01:23:45]: its time in milliseconds, the
// index in the line's stamp-free text in front of which it stands, and its literal
// text exactly as it is written back into a file.

#include <cstdint>

#include "base/WString.h"

struct TimeTag {
  int32_t time = 0;
  int32_t position = 0;
  WString text;

  TimeTag() = default;
  TimeTag(int32_t time, int32_t position, WString text = WString())
      : time(time), position(position), text(std::move(text)) {}
};

constexpr int32_t kMaxTime = INT32_MAX;
constexpr unsigned ShortTagForm = 0x100;  // [mm:ss]
constexpr unsigned LongTagForm = 0x200;   // [mm:ss:cc]

// Finds the first well-formed stamp whose "[" lies at or after start. On success
// fills tag (position counted as if earlier well-formed stamps were removed), sets
// start to the index of its "[" and answers true. The text is not changed.
bool ScanTimeTag(const WString& line, int32_t& start, TimeTag& tag);

// Decides whether text[open] == '[' .. text[close] == ']' is a well-formed stamp and
// gives its time (saturated at kMaxTime). Shared by ScanTimeTag and the parser.
bool ReadStampGroup(const WChar* text, size_t open, size_t close, int32_t& time);

// Rewrites tag.text from tag.time: long form unless flags has ShortTagForm.
void FormatTimeTag(TimeTag& tag, unsigned flags);

// The two orders of stamps; both are used with stable sorts.
inline bool ByPositionThenTime(const TimeTag& a, const TimeTag& b) {
  return a.position != b.position ? a.position < b.position : a.time < b.time;
}
inline bool ByTimeThenPosition(const TimeTag& a, const TimeTag& b) {
  return a.time != b.time ? a.time < b.time : a.position < b.position;
}

// Unicode decimal digits (category Nd) of the Basic Multilingual Plane.
bool IsDecimalDigit(WChar c);
