#include "karaoke/core/BackgroundImage.h"

#include <algorithm>
#include <new>

#include "base/FilePath.h"

bool ReadPictureFile(FileSystem& fileSystem, const WString& path, std::vector<uint8_t>& bytes) {
  bytes.clear();
  std::unique_ptr<ByteSource> file = fileSystem.OpenForReading(path);
  if (!file || file->Size() == 0 || file->Size() > kMaxPictureFileBytes) return false;
  try {
    bytes.resize(size_t(file->Size()));
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (file->ReadAt(0, bytes.data(), bytes.size())) return true;
  bytes.clear();
  return false;
}

void BackgroundImage::Clear() {
  path_.Clear();
  type_ = Type::None;
  progress_ = 0;
  failed_ = false;
  jpeg_.reset();
  bmp_ = PixelImage();
}

bool BackgroundImage::Fail() {
  jpeg_.reset();
  bmp_ = PixelImage();
  failed_ = true;
  return false;
}

bool BackgroundImage::Start(FileSystem& fileSystem, const WString& path) {
  Clear();
  fileSystem_ = &fileSystem;
  path_ = path;
  FilePath split(path);
  const WString& extension = split.Extension();
  if (!split.HasExtension()) return Fail();
  if (extension.EqualsAsciiNoCase("bmp")) {
    type_ = Type::Bmp;
    return true;
  }
  if (!extension.EqualsAsciiNoCase("jpg") && !extension.EqualsAsciiNoCase("jpeg")) return Fail();
  type_ = Type::Jpeg;
  std::vector<uint8_t> bytes;
  if (!ReadPictureFile(fileSystem, path, bytes)) return Fail();
  jpeg_.reset(new (std::nothrow) JpegDecoder());
  if (!jpeg_ || !jpeg_->Begin(std::move(bytes))) return Fail();
  return true;
}

bool BackgroundImage::Advance(int32_t permille, int32_t rowBudget) {
  lastRows_ = 0;
  if (failed_ || type_ == Type::None) return false;
  permille = std::clamp(permille, progress_, 1000);
  if (type_ == Type::Jpeg) {
    const int64_t height = jpeg_->Image().height;
    const int32_t before = jpeg_->RowsDecoded();
    const int64_t target = std::min(height * permille / 1000, int64_t(before) + std::max(rowBudget, 0));
    if (!jpeg_->DecodeUpTo(static_cast<int32_t>(target))) return Fail();
    lastRows_ = jpeg_->RowsDecoded() - before;
    if (jpeg_->RowsDecoded() < height) permille = std::min<int32_t>(permille, int32_t(jpeg_->RowsDecoded() * 1000 / height));
  } else if (permille == 1000 && progress_ < 1000) {
    std::vector<uint8_t> bytes;
    if (!ReadPictureFile(*fileSystem_, path_, bytes) || !DecodeBmp(bytes.data(), bytes.size(), bmp_)) return Fail();
  }
  progress_ = permille;
  return true;
}

bool BackgroundImage::IsLoaded() const {
  if (failed_ || progress_ < 1000) return false;
  return type_ == Type::Jpeg ? jpeg_->IsComplete() : bmp_.height > 0;
}

const PixelImage& BackgroundImage::Image() const {
  static const PixelImage kNone;
  if (failed_) return kNone;
  return type_ == Type::Jpeg && jpeg_ ? jpeg_->Image() : bmp_;
}
