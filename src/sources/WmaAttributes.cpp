#include "sources/WmaAttributes.h"

#include <taglib/asffile.h>
#include <taglib/asftag.h>
#include <taglib/tiostream.h>

#include <cstring>
#include <memory>

#include "base/ByteSource.h"
#include "base/FileSystem.h"

namespace {

// The longest block read for a tag. The content description and the extended
// content description store a value's length in 16 bits, and so do the metadata
// objects for anything but pictures: no text we show is longer. Longer blocks (cover
// pictures, padding, an object whose crafted size claims the rest of the file) are
// stepped over unread, so a song's header never costs more memory than this.
constexpr unsigned long kMaxTagBlockBytes = 0xFFFF;

// TagLib reads the file through our file system, so the song path means the same
// here as everywhere else in the plug-in (ANSI on Windows, Windows naming rules
// natively) and the file is only ever opened for reading.
class ByteSourceStream : public TagLib::IOStream {
 public:
  explicit ByteSourceStream(ByteSource& source) : source_(source), size_(source.Size()) {}

  TagLib::FileName name() const override { return ""; }

  // Short reads at the end, as from a file; sizes claimed by the file never
  // allocate more than what is left of it, nor more than a tag value needs.
  TagLib::ByteVector readBlock(unsigned long length) override {
    if (length > kMaxTagBlockBytes) {
      // TagLib reads on behind the block, as after a read; never past the end.
      const uint64_t end = position_ < size_ ? size_ : position_;
      position_ = length < end - position_ ? position_ + length : end;
      return TagLib::ByteVector();
    }
    uint64_t left = position_ < size_ ? size_ - position_ : 0;
    unsigned long count = length < left ? length : static_cast<unsigned long>(left);
    if (count == 0) return TagLib::ByteVector();
    TagLib::ByteVector block(static_cast<unsigned int>(count), '\0');
    if (!source_.ReadAt(position_, block.data(), count)) return TagLib::ByteVector();
    position_ += count;
    return block;
  }

  void writeBlock(const TagLib::ByteVector&) override {}
  void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
  void removeBlock(unsigned long, unsigned long) override {}
  bool readOnly() const override { return true; }
  bool isOpen() const override { return true; }
  void truncate(long) override {}

  void seek(long offset, Position from) override {
    int64_t base = from == Beginning ? 0 : from == Current ? static_cast<int64_t>(position_) : static_cast<int64_t>(size_);
    int64_t target = base + offset;
    position_ = target < 0 ? 0 : static_cast<uint64_t>(target);
  }
  long tell() const override { return static_cast<long>(position_); }
  long length() override { return static_cast<long>(size_); }

 private:
  ByteSource& source_;
  uint64_t size_;
  uint64_t position_ = 0;
};

WString FromTagLib(const TagLib::String& text) { return WString::FromUtf8(text.to8Bit(true)); }

// The content description object holds these four; TagLib hands them out as the
// tag's own fields rather than as attributes.
TagLib::String ContentDescription(const TagLib::ASF::Tag& tag, const char* name) {
  if (std::strcmp(name, "Title") == 0) return tag.title();
  if (std::strcmp(name, "Author") == 0) return tag.artist();
  if (std::strcmp(name, "Description") == 0) return tag.comment();
  if (std::strcmp(name, "Copyright") == 0) return tag.copyright();
  return TagLib::String();
}

constexpr const char* kAttributeNames[] = {"Title",         "Author",   "Description", "Copyright",
                                           "WM/AlbumTitle", "WM/Genre", "WM/Year"};

// The first string value of the attribute; the attribute lists hold the extended
// content description and the metadata objects.
bool StringAttribute(const TagLib::ASF::Tag& tag, const char* name, TagLib::String& value) {
  const TagLib::ASF::AttributeListMap& attributes = tag.attributeListMap();
  auto found = attributes.find(name);
  if (found == attributes.end()) return false;
  for (const TagLib::ASF::Attribute& attribute : found->second) {
    if (attribute.type() != TagLib::ASF::Attribute::UnicodeType) continue;
    value = attribute.toString();
    return true;
  }
  return false;
}

// The ASF header object's GUID, 75B22630-668E-11CF-A6D9-00AA0062CE6C, whose first
// three groups are stored little-endian.
bool StartsWithHeaderObject(ByteSource& source) {
  static const unsigned char kHeaderGuid[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                                0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
  unsigned char start[16];
  return source.ReadAt(0, start, sizeof start) && std::memcmp(start, kHeaderGuid, sizeof start) == 0;
}

}  // namespace

bool WmaAttributes::Open(const WString& path) {
  strings_.clear();
  std::unique_ptr<ByteSource> source = PlatformFileSystem().OpenForReading(path);
  if (!source) return false;
  // TagLib reports trouble through isValid(); anything thrown all the same (an
  // allocation failure) must not reach the plug-in thread.
  try {
    if (!StartsWithHeaderObject(*source)) return false;
    ByteSourceStream stream(*source);
    // Only the header is wanted. TagLib calls a file without its stream objects
    // invalid, but it has read the attributes by then, so its tag is used as is.
    TagLib::ASF::File file(&stream, false);
    const TagLib::ASF::Tag* tag = file.tag();
    if (!tag) return false;
    for (const char* name : kAttributeNames) {
      TagLib::String value = ContentDescription(*tag, name);
      if (value.isEmpty() && !StringAttribute(*tag, name, value)) continue;
      strings_.emplace_back(name, FromTagLib(value));
    }
    return true;
  } catch (...) {
    strings_.clear();
    return false;
  }
}

bool WmaAttributes::GetString(const char* name, WString& value) const {
  for (const auto& [attributeName, text] : strings_) {
    if (attributeName != name) continue;
    value = text;
    return true;
  }
  return false;
}
