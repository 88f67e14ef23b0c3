#include "sources/WmaAttributes.h"

#include <gtest/gtest.h>

#include <string>

#include "TagBuilders.h"
#include "TestText.h"

namespace {

namespace AsfBuilder = tagbuild::asf;

class WmaAttributesTest : public ::testing::Test {
 protected:
  WString Write(const char* name, const std::string& bytes) {
    WriteFileBytes(temp_.Path() / name, bytes);
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
  std::string Get(const WmaAttributes& wma, std::initializer_list<const char*> names) {
    std::string values;
    for (const char* name : names) values += Get(wma, name) + "|";
    return values;
  }

  TempDir temp_;
};

TEST_F(WmaAttributesTest, ReadsOnlyStringAttributesAndExtendedOnesStandInForTheDescription) {
  WmaAttributes wma;
  ASSERT_TRUE(wma.Open(Write("song.wma", SongHeader() + std::string(64, '\0'))));
  // The description is stored empty, the genre as bytes, the year as a number, and
  // the track is not one we read.
  EXPECT_EQ(Get(wma, {"Title", "Author", "Copyright", "WM/AlbumTitle", "Description", "WM/Genre", "WM/Year",
                      "WM/TrackNumber"}),
            u8"夜空のうた|Band|(C) 2003 Label|アルバム|<none>|<none>|<none>|<none>|");
  // Some encoders write the four description fields as extended attributes.
  ASSERT_TRUE(wma.Open(Write("ext.wma", AsfBuilder::Header({AsfBuilder::ExtendedContentDescription({
                                            {u"Title", 0, AsfBuilder::Utf16(u"Extended Title")},
                                            {u"WM/Year", 0, AsfBuilder::Utf16(u"1999")},
                                            {u"WM/Genre", 0, AsfBuilder::Utf16(u"Rock")},
                                        })}))));
  EXPECT_EQ(Get(wma, {"Title", "WM/Year", "WM/Genre", "Author"}), "Extended Title|1999|Rock|<none>|");
}

TEST_F(WmaAttributesTest, OtherFilesGiveNothingAndForgetTheLastSong) {
  WmaAttributes wma;
  ASSERT_TRUE(wma.Open(Write("song.wma", SongHeader())));
  EXPECT_FALSE(wma.Open(Write("fake.wma", "ID3\x03" + std::string(200, 'x'))));
  EXPECT_EQ(Get(wma, "Title"), "<none>");
  // Missing, empty, and a folder.
  EXPECT_FALSE(wma.Open(temp_.Wide("missing.wma")) || wma.Open(Write("empty.wma", "")) || wma.Open(temp_.Wide()));
}

// A metadata object (C5F8CBEA-5BAF-4877-8467-AA8C44FA4CCA), whose values have 32-bit
// sizes, in a header extension object (5FBF03B5-A92E-11CF-8EE3-00C00C205365).
std::string MetadataInHeaderExtension(const std::vector<AsfBuilder::Attribute>& attributes) {
  namespace B = AsfBuilder;
  std::string body = B::Le16(uint16_t(attributes.size()));
  for (const B::Attribute& a : attributes) {
    const std::string name = B::Utf16(a.name);
    // Language and stream 0, name length, type, value length, name, value.
    body += B::Le16(0) + B::Le16(0) + B::Le16(uint16_t(name.size())) + B::Le16(a.type) +
            B::Le32(uint32_t(a.value.size())) + name + a.value;
  }
  const std::string metadata = B::Object("\xEA\xCB\xF8\xC5\xAF\x5B\x77\x48\x84\x67\xAA\x8C\x44\xFA\x4C\xCA", body);
  // A reserved GUID and word (18 bytes), the size of the objects inside, the objects.
  const std::string inside = std::string(18, '\0') + B::Le32(uint32_t(metadata.size())) + metadata;
  return B::Object("\xB5\x03\xBF\x5F\x2E\xA9\xCF\x11\x8E\xE3\x00\xC0\x0C\x20\x53\x65", inside);
}

TEST_F(WmaAttributesTest, ValuesLongerThanATagNeedsAreSteppedOverUnread) {
  const std::string header = AsfBuilder::Header({
      MetadataInHeaderExtension({{u"WM/AlbumTitle", 0, std::string(70000, 'a')},
                                 {u"WM/Genre", 0, AsfBuilder::Utf16(u"Rock")}}),
      AsfBuilder::ContentDescription(u"Title", u""),
  });
  WmaAttributes wma;
  ASSERT_TRUE(wma.Open(Write("big.wma", header)));
  // The album is stored, but nothing read; the genre behind it is read in step.
  EXPECT_EQ(Get(wma, {"WM/AlbumTitle", "WM/Genre", "Title"}), "|Rock|Title|");
}

}  // namespace
