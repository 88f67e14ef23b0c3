// The time-tag adjustment: the fields' grammar, the end following the start, and the
// rescale and the shift on whole documents.
#include <gtest/gtest.h>

#include <climits>

#include "TestText.h"
#include "editor/core/TimeTagAdjust.h"
#include "lyrics/LyricsFormat.h"

namespace {

TEST(TimeField, Grammar) {
  const struct { const char* text; int32_t ms; } cases[] = {
      {"[00:10:00]", 10000},  {"  [01:02:03] ", 62030}, {"[1:2]", 62000},   {"[12]", 720000},
      {"[00:00:05:99]", 50},  {"[:]", 0},               {"[35791:23:64]", 2147483640},
      {"[35791:23:65]", -1},  {"[99999999:00]", -1},    {"[00000000000000000000001:00]", 60000},
      {"", -1},               {"[00:10", -1},           {"00:10]", -1},   {"[00: 10]", -1},
      {"[0a:10]", -1},        {"[]", 0},                {"[", -1},        {"[１:00]", -1}};
  for (const auto& c : cases) EXPECT_EQ(ParseTimeField(W(c.text)), c.ms) << c.text;
}

TimeTag At(int32_t ms) { return TimeTag(ms, 0, W("[set]")); }

TEST(TimeTagAdjust, EndFollowsStartAndRangesRescale) {
  RescaleTarget target;
  target.SetStart(At(10000));
  target.SetEnd(At(180000));
  target.MoveStart(5000);
  EXPECT_EQ(target.End().text.ToUtf8(), "[02:55:00]");
  target.MoveStart(INT32_MAX);  // B would pass the largest time
  EXPECT_EQ(target.End().time, INT32_MAX);
  target.TakeStartNow(100, -150);
  target.TakeEndNow(INT32_MAX, INT32_MAX);
  EXPECT_EQ(std::make_pair(target.Start().time, target.End().time), std::make_pair(0, INT32_MAX));

  LyricsTimeline timeline;
  timeline.ParseText(W("[00:05:00]x\n[00:10:00]a\n[01:35:00]b\nc\n[03:00:00]d\n[03:30:00]e"));
  int line = 3;  // untagged: the start list goes to the earliest tag's line
  TimeTag tag;
  ASSERT_TRUE(RangeStart(timeline, line, tag));
  EXPECT_EQ(std::make_pair(line, tag.time), std::make_pair(0, 5000));
  target.SetStart(At(12000));
  target.SetEnd(At(186000));
  EXPECT_TRUE(RescaleRange(timeline, target, 1, 4));
  EXPECT_EQ(LyricsFileText(timeline).ToUtf8(),
            "[00:05:00]x\r\n[00:12:00]a\r\n[01:39:00]b\r\nc\r\n[03:06:00]d\r\n[03:30:00]e");
  // An end before the start is raised to it: the whole range lands on one time.
  target.SetEnd(At(1000));
  EXPECT_TRUE(RescaleRange(timeline, target, 1, 2));
  EXPECT_EQ(timeline.TaggedLineText(2).ToUtf8(), "[00:12:00]b");

  LyricsTimeline shifted;
  shifted.ParseText(W("[00:00:10]a\n[00:05:00]b"));
  EXPECT_TRUE(ShiftByUnits(shifted, -25));
  EXPECT_EQ(LyricsFileText(shifted).ToUtf8(), "[00:00:00]a\r\n[00:04:75]b");
  EXPECT_TRUE(ShiftByUnits(shifted, INT64_MAX / 2));  // n x 10 past 32 bits
  EXPECT_EQ(shifted.TaggedLineText(0).ToUtf8(), "[35791:23:64]a");
}

}  // namespace
