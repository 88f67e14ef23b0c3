#include "base/WString.h"

#include <gtest/gtest.h>

#include <vector>

#include "TestText.h"

namespace {

TEST(WString, CopiesShareUntilOneChangesAndMovedFromStringsStayUsable) {
  WString original = W("a line long enough to live on the heap");
  WString copy = original;
  EXPECT_EQ(original.CStr(), copy.CStr());
  copy.Append(u'!');
  EXPECT_EQ(original.ToUtf8() + "|" + copy.ToUtf8(), "a line long enough to live on the heap|a line long enough to live on the heap!");
  copy.Erase(0, 2);
  EXPECT_EQ(original.Length(), 38u);
  // A moved-from string is empty and usable.
  WString target = std::move(original);
  EXPECT_TRUE(original.IsEmpty());  // NOLINT(bugprone-use-after-move): documented state
  original.Append(u'x');
  EXPECT_EQ(original.ToUtf8() + "|" + std::to_string(target.Length()), "x|38");
}

TEST(WString, GrowsFromInlineToHeapAndStaysTerminated) {
  WString text;
  EXPECT_EQ(text.CStr()[0], 0);
  for (int i = 0; i < 100; ++i) {
    text.Append(static_cast<WChar>(u'a' + i % 26));
    ASSERT_EQ(text.Length(), static_cast<size_t>(i + 1));
    ASSERT_EQ(text.CStr()[text.Length()], 0);
  }
  EXPECT_EQ(text.At(27), u'b');
  EXPECT_EQ(text.At(1000), 0);
}

TEST(WString, EditsClipToTheString) {
  WString text = W("abcdef");
  EXPECT_EQ(text.Substr(2).ToUtf8() + "|" + text.Substr(4, 100).ToUtf8() + "|" + text.Substr(7).ToUtf8(), "cdef|ef|");
  EXPECT_EQ((std::vector<size_t>{text.Find(u'z'), text.Find(u'c', 3), text.FindLast(u'a')}),
            (std::vector<size_t>{WString::npos, WString::npos, 0}));
  text.Insert(100, W("!"));
  EXPECT_EQ(text, W("abcdef!"));
  text.Erase(5, 100);
  text.Erase(9, 1);
  EXPECT_EQ(text, W("abcde"));
}

TEST(WString, AppendAndInsertOfItselfAreSafe) {
  WString text = W("0123456789abcdef");
  text.Append(text);
  EXPECT_EQ(text, W("0123456789abcdef0123456789abcdef"));
  WString shortText = W("ab");
  shortText.Insert(1, shortText);
  EXPECT_EQ(shortText, W("aabb"));
  WString piece = W("a longer text that is on the heap");
  piece.Assign(piece.CStr() + 2, 6);
  EXPECT_EQ(piece, W("longer"));
}

TEST(WString, Utf8RoundTripAndRepair) {
  WString text = W("歌詞 🎤 ok");
  EXPECT_EQ(text.Length(), 8u);  // the microphone is a surrogate pair
  EXPECT_EQ(text.ToUtf8(), "歌詞 🎤 ok");
  EXPECT_EQ(WString::FromUtf8("a\xC3").ToUtf8(), "a\xEF\xBF\xBD");
  EXPECT_EQ(WString::FromUtf8("\xED\xA0\x80").ToUtf8(), "\xEF\xBF\xBD");  // an encoded surrogate
  const WChar lone[] = {0xD800, u'x'};
  EXPECT_EQ(WString(lone, 2).ToUtf8(), "\xEF\xBF\xBDx");
}

}  // namespace
