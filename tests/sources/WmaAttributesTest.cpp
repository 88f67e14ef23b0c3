#include "sources/WmaAttributes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "TagBuilders.h"
#include "TestText.h"

namespace {

namespace AsfBuilder = tagbuild::asf;

class WmaAttributesTest : public ::testing::Test {
 protected:
  WString Write(const char* name, const std::string& bytes) {
    std::ofstream(temp_.Path() / name, std::ios::binary) << bytes;
    return temp_.Wide(name);
  }
  std::string SongHeader() {
    return AsfBuilder::Header({
        AsfBuilder::ContentDescription(u"夜空のうた", u"Band", u"(C) 2003 Label", u""),
        AsfBuilder::ExtendedContentDescription({
            {u"WM/AlbumTitle", 0, AsfBuilder::Utf16(u"アルバム")},
            {u"WM/Genre", 1, AsfBuilder::Utf16(u"Pop")},  // the right text, but as bytes
            {u"WM/Year", 3, AsfBuilder::Le32(2003)},
            {u"WM/TrackNumber", 0, AsfBuilder::Utf16(u"7")},
        }),
    });
  }
  // The attribute's text, "<none>" when GetString fails.
  std::string Get(const WmaAttributes& wma, const char* name) {
    WString value = W("unchanged");
    return wma.GetString(name, value) ? value.ToUtf8() : "<none>";
  }

  TempDir temp_;
};

TEST_F(WmaAttributesTest, ReadsOnlyStringAttributes) {
  WmaAttributes wma;
  ASSERT_TRUE(wma.Open(Write("song.wma", SongHeader() + std::string(64, '\0'))));
  EXPECT_EQ(Get(wma, "Title"), u8"夜空のうた");
  EXPECT_EQ(Get(wma, "Author"), "Band");
  EXPECT_EQ(Get(wma, "Copyright"), "(C) 2003 Label");
  EXPECT_EQ(Get(wma, "WM/AlbumTitle"), u8"アルバム");
  EXPECT_EQ(Get(wma, "Description"), "<none>");  // stored empty
  EXPECT_EQ(Get(wma, "WM/Genre"), "<none>");     // bytes
  EXPECT_EQ(Get(wma, "WM/Year"), "<none>");      // a number
  EXPECT_EQ(Get(wma, "WM/TrackNumber"), "<none>");  // not one we read
}

TEST_F(WmaAttributesTest, ExtendedAttributesStandInForAnEmptyContentDescription) {
  // Some encoders write the four description fields as extended attributes.
  std::string header = AsfBuilder::Header({
      AsfBuilder::ExtendedContentDescription({
          {u"Title", 0, AsfBuilder::Utf16(u"Extended Title")},
          {u"WM/Year", 0, AsfBuilder::Utf16(u"1999")},
          {u"WM/Genre", 0, AsfBuilder::Utf16(u"Rock")},
      }),
  });
  WmaAttributes wma;
  ASSERT_TRUE(wma.Open(Write("ext.wma", header)));
  EXPECT_EQ(Get(wma, "Title"), "Extended Title");
  EXPECT_EQ(Get(wma, "WM/Year"), "1999");
  EXPECT_EQ(Get(wma, "WM/Genre"), "Rock");
  EXPECT_EQ(Get(wma, "Author"), "<none>");
}

TEST_F(WmaAttributesTest, OtherFilesGiveNothingAndForgetTheLastSong) {
  WmaAttributes wma;
  ASSERT_TRUE(wma.Open(Write("song.wma", SongHeader())));
  EXPECT_FALSE(wma.Open(Write("fake.wma", "ID3\x03" + std::string(200, 'x'))));
  EXPECT_EQ(Get(wma, "Title"), "<none>");
  EXPECT_FALSE(wma.Open(temp_.Wide("missing.wma")));
  EXPECT_FALSE(wma.Open(Write("empty.wma", "")));
  EXPECT_FALSE(wma.Open(temp_.Wide()));  // a folder

  // Cut anywhere, and with sizes that claim far more than the file holds: no
  // crash, and never more than what is in the file (a cut title keeps its start).
  const std::string whole = SongHeader();
  const std::string title = u8"夜空のうた";
  for (size_t cut = 0; cut < whole.size(); cut += 7) {
    wma.Open(Write("cut.wma", whole.substr(0, cut)));
    std::string got = Get(wma, "Title");
    EXPECT_TRUE(got == "<none>" || title.compare(0, got.size(), got) == 0) << cut << ": " << got;
  }
  std::string huge = whole;
  huge.replace(16, 8, AsfBuilder::Le64(~0ull >> 1));
  huge.replace(30 + 16, 8, AsfBuilder::Le64(0x7FFFFFF0));
  wma.Open(Write("huge.wma", huge));
}

}  // namespace
