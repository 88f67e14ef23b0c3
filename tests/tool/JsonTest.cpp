#include <gtest/gtest.h>

#include "Json.h"

TEST(JsonWriter, PlacesCommasAndBreaksAndEscapesStrings) {
  JsonWriter json;
  json.BeginObject().Key("a").BeginArray().Int(-1).Null().Bool(false).EndArray();
  json.Break(" ").Key("b").BeginObject().EndObject().Key("c").BeginArray().EndArray().EndObject();
  EXPECT_EQ(json.Text(), "{\"a\":[-1,null,false],\n \"b\":{},\"c\":[]}");
  // Strings escape special characters and repair lone surrogates.
  JsonWriter escaped;
  escaped.String(WString::FromUtf8("say \"hi\" \\ back\tslash\rcr\x01"));
  EXPECT_EQ(escaped.Text(), "\"say \\\"hi\\\" \\\\ back\\tslash\\rcr\\u0001\"");
  const WChar text[] = {u'a', 0xD800, u'b', 0xDC00, 0xD83D, 0xDE00};  // the last two are one emoji
  JsonWriter lone;
  lone.String(WString(text, 6));
  EXPECT_EQ(lone.Text(), "\"a\xEF\xBF\xBD" "b\xEF\xBF\xBD\xF0\x9F\x98\x80\"");
}
