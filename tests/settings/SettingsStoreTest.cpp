#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "TestText.h"
#include "settings/MemoryIniFile.h"

namespace {

constexpr const char* kSection = "Test";

// A small settings object with one key of every type.
class SampleSettings : public SettingsStore {
 public:
  explicit SampleSettings(IniFile& ini) : SettingsStore(ini, kSection) { ResetToDefaults(); }

  int32_t number = 0;
  uint8_t flag = 0;
  char face[8] = {};
  WString folder;
  ColorValue color = 0;
  SettingsRect rect;
  WString marker;
  int32_t tail = 0;

 protected:
  std::vector<SettingEntry> Table() override {
    return {
        IntSetting("Number", number, -7),
        WrittenLast(IntSetting("Tail", tail, 9)),
        ByteSetting("Flag", flag, 1),
        AnsiSetting("Face", face, u"Arial"),
        WideSetting("Folder", folder, u"c:\\lyrics"),
        ColorSetting("Color", color, 0x0000FF),
        RectSetting("Rect", rect, {1, 2, 3, 4}),
        NeverWritten(WideSetting("Marker", marker, u"")),
    };
  }
};

// Every field but the marker: number|flag|face|folder|color|rect.
std::string Fields(const SampleSettings& s) {
  char color[16];
  snprintf(color, sizeof color, "%06X", s.color);
  return std::to_string(s.number) + "|" + std::to_string(s.flag) + "|" + s.face + "|" + s.folder.ToUtf8() + "|" +
         color + "|" + std::to_string(s.rect.left) + "," + std::to_string(s.rect.top) + "," +
         std::to_string(s.rect.right) + "," + std::to_string(s.rect.bottom);
}

}  // namespace

// Encoding and whole rectangles are the store's tests below.
TEST(ProfileStructTest, DecodingRefusesDamageAndLeavesTheBytes) {
  uint8_t bytes[3] = {7, 7, 7};
  // Not hex, a wrong checksum (0x1AB mod 256 is AB), too short, too long.
  for (const char* bad : {"01ABFGAB", "01ABFFAC", "01ABFF", "01ABFFAB00"}) EXPECT_FALSE(DecodeProfileStruct(bad, bytes, 3)) << bad;
  EXPECT_EQ(bytes[0] + bytes[1] + bytes[2], 21);
  ASSERT_TRUE(DecodeProfileStruct("01abffab", bytes, 3));
  EXPECT_EQ(bytes[0] + bytes[1] + bytes[2], 0x1AB);
}

TEST(MemoryIniFileTest, StringsAreCutToTheBufferAndKeysKeepTheirPlace) {
  MemoryIniFile ini;
  ini.WriteString("S", "B", "hello");
  ini.WriteString("S", "A", "1");
  ini.WriteString("T", "X", "2");
  ini.WriteString("s", "b", "again");
  EXPECT_EQ(ini.ReadString("S", "B", "x", 4), "aga");
  EXPECT_EQ(ini.ReadString("S", "Z", "fallback", 100), "fallback");
  EXPECT_EQ(ini.Text(), "[S]\r\nB=again\r\nA=1\r\n[T]\r\nX=2\r\n");
}

TEST(SettingsStoreTest, ReadsEveryTypeAndMissingKeysOrBadRectanglesKeepTheCurrentValues) {
  MemoryIniFile ini("[Test]\nUnrelated=1\nRect=050000000200000003000000040000000A\n");  // checksum of 1,2,3,4
  SampleSettings s(ini);
  s.number = 3;
  s.color = 0x123456;
  s.Load();
  EXPECT_EQ(Fields(s), "3|1|Arial|c:\\lyrics|123456|1,2,3,4");

  MemoryIniFile every(
      "[Test]\nNumber=-2147483648\nFlag=257\nFace=TooLongForEight\nFolder=\nColor=FF8000\n"
      "Rect=010000000200000003000000040000000A\n");
  SampleSettings t(every);
  t.Load();
  // The flag is cut to 8 bits, the face to its buffer; an empty folder is not the default.
  EXPECT_EQ(Fields(t), "-2147483648|1|TooLong||0080FF|1,2,3,4");
}

TEST(SettingsStoreTest, WideStringsAreAnsiOnDiskAndCutAt1024Bytes) {
  MemoryIniFile ini;
  SampleSettings s(ini);
  s.folder = W("C:\\歌詞\\表");  // 表 ends in 0x5C in Shift-JIS
  s.Save();
  EXPECT_EQ(ini.ReadString("Test", "Folder", "", 100), "C:\\\x89\xcc\x8e\x8c\\\x95\x5c");
  s.folder = WString();
  s.Load();
  EXPECT_EQ(s.folder, W("C:\\歌詞\\表"));

  ini.WriteString("Test", "Folder", std::string(2000, 'a'));
  s.Load();
  EXPECT_EQ(s.folder.Length(), 1024u);
}

TEST(SettingsStoreTest, SavesInTableOrderWithLastKeysAtTheEnd) {
  MemoryIniFile ini;
  SampleSettings s(ini);
  s.marker = W("x");
  s.Save();
  EXPECT_EQ(ini.Text(),
            "[Test]\r\nNumber=-7\r\nFlag=1\r\nFace=Arial\r\nFolder=c:\\lyrics\r\nColor=FF0000\r\n"
            "Rect=010000000200000003000000040000000A\r\nTail=9\r\n");
  EXPECT_FALSE(ini.Has("Test", "Marker"));
  EXPECT_TRUE(s.SaveKey("Marker"));
  EXPECT_EQ(ini.ReadString("Test", "Marker", "", 10), "x");
  EXPECT_FALSE(s.SaveKey("NoSuchKey"));
}
