#pragma once
// One background picture being loaded, with a budget in per mille: a JPEG decodes
// its scanlines in proportion to the budget, frame by frame, while a BMP is read in
// one go when the budget is complete. A failed load leaves no partial picture.

#include <cstdint>
#include <memory>

#include "base/FileSystem.h"
#include "base/WString.h"
#include "karaoke/core/PictureDecoder.h"

class BackgroundImage {
 public:
  enum class Type { None = 0, Bmp = 1, Jpeg = 2 };

  // Starts loading `path` from nothing; false when its extension is not a picture's,
  // or a JPEG cannot be read or is refused.
  bool Start(FileSystem& fileSystem, const WString& path);
  // Loads up to `permille` (0..1000) of the picture, a JPEG at most `rowBudget`
  // scanlines in this call (the progress then stops short); false once the load
  // failed.
  bool Advance(int32_t permille, int32_t rowBudget = INT32_MAX);
  // Scanlines decoded by the last Advance.
  int32_t LastRows() const { return lastRows_; }
  void Clear();

  const WString& Path() const { return path_; }
  Type GetType() const { return type_; }
  int32_t Progress() const { return progress_; }
  bool IsLoaded() const;
  // The whole picture once IsLoaded(), else empty or partly decoded.
  const PixelImage& Image() const;

 private:
  bool Fail();

  FileSystem* fileSystem_ = nullptr;
  WString path_;
  Type type_ = Type::None;
  int32_t progress_ = 0;
  bool failed_ = false;
  int32_t lastRows_ = 0;
  std::unique_ptr<JpegDecoder> jpeg_;
  PixelImage bmp_;
};

// The whole file, when it opens and is at most kMaxPictureFileBytes.
bool ReadPictureFile(FileSystem& fileSystem, const WString& path, std::vector<uint8_t>& bytes);
