#include "lyrics/TimeTag.h"

#include <gtest/gtest.h>

#include <string>

#include "TestText.h"

namespace {

// "time:position@start" of every stamp ScanTimeTag answers when called from start,
// without removing any.
std::string ScanAll(const char* utf8, int32_t start = 0) {
  WString line = W(utf8);
  std::string found;
  TimeTag tag;
  while (ScanTimeTag(line, start, tag)) {
    found += std::to_string(tag.time) + ":" + std::to_string(tag.position) + tag.text.ToUtf8() + "@" +
             std::to_string(start) + " ";
    start += 1;
  }
  return found;
}

// Stamp groups and their times; -1 where the group is no stamp.
TEST(ReadStampGroup, FieldsCountMinutesSecondsHundredths) {
  struct Case {
    const char* text;
    int32_t time;
  } cases[] = {
      {"[01:23:45]", 83450}, {"[1:2]", 62000}, {"[:]", 0}, {"[00:75]", 75000}, {"[00:00:5]", 50},
      {"[00:00:123]", 1230}, {"[00:01:5]", 1050}, {"[::]", 0}, {"[000000000000001:00]", 60000},
      {"[01:02:03:04]", 62030},  // a fourth field is ignored
      {"[１２:34]", 34000},      // a full-width digit counts as a digit, value 0
      {"[1２3:00]", 60000},      // only the leading ASCII run has a value
      {"[12]", -1}, {"[]", -1}, {"[1a:2]", -1}, {"[ 01:02]", -1}, {"[01:02 ]", -1}, {"[01.02]", -1},
      {"[-1:00]", -1}, {"[+1:00]", -1}, {"[01：02]", -1},  // full-width colon
      // Products beyond 32 bits neither wrap nor overflow (UBSan watches the build).
      {"[99999999999:00]", kMaxTime}, {"[00:99999999999]", kMaxTime}, {"[00:00:99999999999]", kMaxTime},
      {"[99999999999999999999999999999999:99999999999999999999:999999999999999]", kMaxTime},
      {"[35791:23:65]", kMaxTime}, {"[35791:23:64]", 2147483640},  // the largest time a stamp can write
  };
  for (const Case& c : cases) {
    WString text = W(c.text);
    int32_t time = -1;
    const bool stamp = ReadStampGroup(text.CStr(), 0, text.Length() - 1, time);
    EXPECT_EQ(stamp ? time : -1, c.time) << c.text;
  }
}

TEST(ScanTimeTag, FindsStampsAndDiscountsEarlierOnesBeforeStart) {
  struct Case {
    const char* line;
    int32_t start;
    const char* found;
  } cases[] = {
      {"no stamps here", 0, ""},
      {"only ] a closing bracket", 0, ""},
      {"[00:01 never closed", 0, ""},
      {"x[00:0[00:01", 0, ""},  // a "[" with no later "]" ends the scan
      {"[00:01]text", 0, "1000:0[00:01]@0 "},
      {"[a[00:01]", 0, ""},  // "[" pairs with the first "]" after it: one malformed group
      {"[a][00:02]b", 0, "2000:3[00:02]@3 "},
      // Scanning again after an answer reports the next stamp as if the first were
      // already removed.
      {"a[00:01]b[00:02]", 0, "1000:1[00:01]@1 2000:2[00:02]@9 "},
      {"[00:01][00:05]text", 0, "1000:0[00:01]@0 5000:0[00:05]@7 "},
      {"[x][00:01]", 3, "1000:3[00:01]@3 "},  // malformed groups stay as text
      {"[00:01]abc", 1, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ScanAll(c.line, c.start), c.found) << c.line;
}

TEST(FormatTimeTag, WritesLongAndShortForms) {
  struct Case {
    int32_t time;
    unsigned flags;
    const char* text;
  } cases[] = {
      {61234, LongTagForm, "[01:01:23]"},
      {61234, ShortTagForm, "[01:01]"},
      {1050, LongTagForm, "[00:01:05]"},
      {0, LongTagForm, "[00:00:00]"},
      {125 * 60000, LongTagForm, "[125:00:00]"},  // minutes are not reduced to hours
      {59999, LongTagForm, "[00:59:99]"},
      {61234, ShortTagForm | 0x1, "[01:01]"},
      {61234, 0, "[01:01:23]"},
      {kMaxTime, LongTagForm, "[35791:23:64]"},
  };
  for (const Case& c : cases) {
    TimeTag tag(c.time, 3, W("[stale]"));
    FormatTimeTag(tag, c.flags);
    EXPECT_EQ(tag.text.ToUtf8(), c.text) << c.time;
    EXPECT_TRUE(tag.time == c.time && tag.position == 3) << c.time;
  }
}

TEST(IsDecimalDigit, AcceptsDecimalDigitsOfEveryScript) {
  for (WChar c : {u'0', u'9', u'\uFF10', u'\uFF19', u'\u0660', u'\u0966'}) EXPECT_TRUE(IsDecimalDigit(c)) << int(c);
  for (WChar c : {u'a', u':', u'/', u'\uFF1A', u'\u00B2', u'\u2460', u'\u4E00'}) EXPECT_FALSE(IsDecimalDigit(c)) << int(c);
}

}  // namespace
