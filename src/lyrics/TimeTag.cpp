#include "lyrics/TimeTag.h"

#include <cstdio>

namespace {

// First code unit of every run of ten decimal digits in the BMP.
constexpr WChar kDigitRuns[] = {
    0x0030, 0x0660, 0x06F0, 0x07C0, 0x0966, 0x09E6, 0x0A66, 0x0AE6, 0x0B66, 0x0BE6, 0x0C66,
    0x0CE6, 0x0D66, 0x0DE6, 0x0E50, 0x0ED0, 0x0F20, 0x1040, 0x1090, 0x17E0, 0x1810, 0x1946,
    0x19D0, 0x1A80, 0x1A90, 0x1B50, 0x1BB0, 0x1C40, 0x1C50, 0xA620, 0xA8D0, 0xA900, 0xA9D0,
    0xA9F0, 0xAA50, 0xABF0, 0xFF10,
};

// Field values are read without a range check; anything beyond this is already
// past the largest time, so saturating here keeps the arithmetic in 64 bits.
constexpr int64_t kSaturated = int64_t(1) << 40;

constexpr int64_t kFieldScale[] = {60000, 1000, 10};

}  // namespace

bool IsDecimalDigit(WChar c) {
  if (c < 0x80) return c >= u'0' && c <= u'9';
  for (WChar first : kDigitRuns)
    if (c >= first && c < first + 10) return true;
  return false;
}

bool ReadStampGroup(const WChar* text, size_t open, size_t close, int32_t& time) {
  // One pass: a field's value is its leading ASCII digits; any other decimal digit
  // is allowed in the group but ends the part of the field that counts.
  int64_t total = 0, value = 0;
  bool counting = true;
  size_t field = 0;
  for (size_t i = open + 1; i < close; ++i) {
    WChar c = text[i];
    if (c >= u'0' && c <= u'9') {
      if (counting) {
        value = value * 10 + (c - u'0');
        if (value > kSaturated) value = kSaturated;
      }
    } else if (c == u':') {
      if (field < 3) total += value * kFieldScale[field];
      ++field;
      value = 0;
      counting = true;
    } else if (IsDecimalDigit(c)) {
      counting = false;
    } else {
      return false;
    }
  }
  // The last field counts seconds after one colon and hundredths after two; a
  // fourth or later field is ignored.
  if (field == 1 || field == 2) {
    total += value * kFieldScale[field];
    ++field;
  }
  if (field < 2) return false;
  time = total > kMaxTime ? kMaxTime : static_cast<int32_t>(total);
  return true;
}

bool ScanTimeTag(const WString& line, int32_t& start, TimeTag& tag) {
  const WChar* text = line.CStr();
  size_t length = line.Length();
  size_t skipped = 0;
  size_t from = 0;
  for (;;) {
    size_t open = line.Find(u'[', from);
    if (open == WString::npos) return false;
    size_t close = line.Find(u']', open + 1);
    if (close == WString::npos) return false;
    int32_t time;
    if (ReadStampGroup(text, open, close, time)) {
      if (start < 0 || open >= static_cast<size_t>(start)) {
        tag.time = time;
        tag.position = static_cast<int32_t>(open - skipped);
        tag.text = line.Substr(open, close - open + 1);
        start = static_cast<int32_t>(open);
        return true;
      }
      skipped += close - open + 1;
    }
    from = close + 1;
    if (from >= length) return false;
  }
}

void FormatTimeTag(TimeTag& tag, unsigned flags) {
  int32_t t = tag.time < 0 ? 0 : tag.time;
  char buffer[32];
  int n;
  if (flags & ShortTagForm)
    n = std::snprintf(buffer, sizeof buffer, "[%02d:%02d]", t / 60000, (t / 1000) % 60);
  else
    n = std::snprintf(buffer, sizeof buffer, "[%02d:%02d:%02d]", t / 60000, (t / 1000) % 60, (t / 10) % 100);
  WString text;
  text.AppendAscii(std::string_view(buffer, n > 0 ? static_cast<size_t>(n) : 0));
  tag.text = std::move(text);
}
