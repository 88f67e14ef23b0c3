#include "sources/WmaAttributes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "TestText.h"

namespace {

// Builds the header of an ASF (Windows Media) file: the header object holding a
// content description object and an extended content description object. Audio
// data and stream objects are left out: attributes live in the header alone.
class AsfBuilder {
 public:
  struct Attribute {
    const char* name;
    uint16_t type;  // 0 string, 1 bytes, 2 bool, 3 DWORD, 4 QWORD, 5 WORD
    std::string value;  // raw bytes; use Utf16 for strings
  };

  static std::string Le16(uint16_t v) { return std::string{char(v), char(v >> 8)}; }
  static std::string Le32(uint32_t v) { return Le16(uint16_t(v)) + Le16(uint16_t(v >> 16)); }
  static std::string Le64(uint64_t v) { return Le32(uint32_t(v)) + Le32(uint32_t(v >> 32)); }
  // NUL-terminated UTF-16LE, as ASF stores text.
  static std::string Utf16(const char* utf8) {
    std::string bytes;
    for (WChar c : W(utf8)) bytes += Le16(c);
    return bytes + Le16(0);
  }

  // Title, author, copyright, description; an empty one is stored with length 0.
  static std::string ContentDescription(const char* title, const char* author, const char* copyright,
                                        const char* description) {
    std::string texts[] = {Text(title), Text(author), Text(copyright), Text(description), std::string()};
    std::string body;
    for (const std::string& text : texts) body += Le16(uint16_t(text.size()));
    for (const std::string& text : texts) body += text;
    // 75B22633-668E-11CF-A6D9-00AA0062CE6C, GUIDs stored with their first three
    // groups little-endian.
    return Object("\x33\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", body);
  }

  static std::string ExtendedContentDescription(const std::vector<Attribute>& attributes) {
    std::string body = Le16(uint16_t(attributes.size()));
    for (const Attribute& attribute : attributes) {
      std::string name = Utf16(attribute.name);
      body += Le16(uint16_t(name.size())) + name + Le16(attribute.type) + Le16(uint16_t(attribute.value.size())) +
              attribute.value;
    }
    // D2D0A440-E307-11D2-97F0-00A0C95EA850
    return Object("\x40\xA4\xD0\xD2\x07\xE3\xD2\x11\x97\xF0\x00\xA0\xC9\x5E\xA8\x50", body);
  }

  // The header object: its own 30 bytes (GUID, size, object count, two reserved
  // bytes 1 and 2) and then the objects inside it.
  static std::string Header(const std::vector<std::string>& objects) {
    std::string inside;
    for (const std::string& object : objects) inside += object;
    // 75B22630-668E-11CF-A6D9-00AA0062CE6C
    return std::string("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16) +
           Le64(30 + inside.size()) + Le32(uint32_t(objects.size())) + "\x01\x02" + inside;
  }

 private:
  static std::string Text(const char* utf8) { return *utf8 ? Utf16(utf8) : std::string(); }
  // An object: GUID, 64-bit size counting these 24 bytes, body.
  static std::string Object(const char* guid, const std::string& body) {
    return std::string(guid, 16) + Le64(24 + body.size()) + body;
  }
};

class WmaAttributesTest : public ::testing::Test {
 protected:
  WString Write(const char* name, const std::string& bytes) {
    std::ofstream(temp_.Path() / name, std::ios::binary) << bytes;
    return temp_.Wide(name);
  }
  std::string SongHeader() {
    return AsfBuilder::Header({
        AsfBuilder::ContentDescription(u8"夜空のうた", "Band", "(C) 2003 Label", ""),
        AsfBuilder::ExtendedContentDescription({
            {"WM/AlbumTitle", 0, AsfBuilder::Utf16(u8"アルバム")},
            {"WM/Genre", 1, AsfBuilder::Utf16("Pop")},  // the right text, but as bytes
            {"WM/Year", 3, AsfBuilder::Le32(2003)},
            {"WM/TrackNumber", 0, AsfBuilder::Utf16("7")},
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
          {"Title", 0, AsfBuilder::Utf16("Extended Title")},
          {"WM/Year", 0, AsfBuilder::Utf16("1999")},
          {"WM/Genre", 0, AsfBuilder::Utf16("Rock")},
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

// A metadata object (C5F8CBEA-5BAF-4877-8467-AA8C44FA4CCA), whose values have 32-bit
// sizes, in a header extension object (5FBF03B5-A92E-11CF-8EE3-00C00C205365).
std::string MetadataInHeaderExtension(const std::vector<AsfBuilder::Attribute>& attributes) {
  using B = AsfBuilder;
  std::string body = B::Le16(uint16_t(attributes.size()));
  for (const B::Attribute& a : attributes) {
    const std::string name = B::Utf16(a.name);
    // Language and stream 0, name length, type, value length, name, value.
    body += B::Le16(0) + B::Le16(0) + B::Le16(uint16_t(name.size())) + B::Le16(a.type) +
            B::Le32(uint32_t(a.value.size())) + name + a.value;
  }
  const std::string metadata =
      std::string("\xEA\xCB\xF8\xC5\xAF\x5B\x77\x48\x84\x67\xAA\x8C\x44\xFA\x4C\xCA", 16) + B::Le64(24 + body.size()) + body;
  // A reserved GUID and word (18 bytes), the size of the objects inside, the objects.
  const std::string inside = std::string(18, '\0') + B::Le32(uint32_t(metadata.size())) + metadata;
  return std::string("\xB5\x03\xBF\x5F\x2E\xA9\xCF\x11\x8E\xE3\x00\xC0\x0C\x20\x53\x65", 16) +
         B::Le64(24 + inside.size()) + inside;
}

TEST_F(WmaAttributesTest, ValuesLongerThanATagNeedsAreSteppedOverUnread) {
  const std::string header = AsfBuilder::Header({
      MetadataInHeaderExtension({{"WM/AlbumTitle", 0, std::string(70000, 'a')},
                                 {"WM/Genre", 0, AsfBuilder::Utf16("Rock")}}),
      AsfBuilder::ContentDescription("Title", "", "", ""),
  });
  WmaAttributes wma;
  ASSERT_TRUE(wma.Open(Write("big.wma", header)));
  EXPECT_EQ(Get(wma, "WM/AlbumTitle").size(), 0u);  // stored, but nothing read
  EXPECT_EQ(Get(wma, "WM/Genre"), "Rock");  // read on in step behind it
  EXPECT_EQ(Get(wma, "Title"), "Title");
}

}  // namespace
