#include "host/SkinFiles.h"

#include <vector>

#include "base/BitmapFileCheck.h"
#include "settings/PrivateProfileIniFile.h"

namespace {

bool IsFile(const WString& path) {
  const DWORD attributes = GetFileAttributesW(path.W());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

OwnedBitmap LoadBitmapFile(const WString& path, HDC compatibleWith) {
  FileHandle file(CreateFileW(path.W(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > LONGLONG(kMaxBitmapFileBytes))
    return OwnedBitmap();
  // Stored two bytes into 32-bit words, so that the info header at byte 14 of the
  // file is aligned as GDI expects.
  const size_t bytes = static_cast<size_t>(size.QuadPart);
  std::vector<uint32_t> storage((bytes + 2 + 3) / 4);
  uint8_t* data = reinterpret_cast<uint8_t*>(storage.data()) + 2;
  DWORD read = 0;
  if (!ReadFile(file.Get(), data, static_cast<DWORD>(bytes), &read, nullptr) || read != bytes) return OwnedBitmap();
  if (!IsUsableBitmapFile(data, bytes)) return OwnedBitmap();
  const auto* info = reinterpret_cast<const BITMAPINFO*>(data + 14);
  return OwnedBitmap(CreateDIBitmap(compatibleWith, &info->bmiHeader, CBM_INIT, data + BitmapPixelOffset(data),
                                    info, DIB_RGB_COLORS));
}

SkinColorValues ReadSkinColors(const WString& txtPath) {
  // A skin without the file sets nothing.
  if (!IsFile(txtPath)) return UnsetSkinColors();
  PrivateProfileIniFile file(txtPath);
  return SkinColors(file).Values();
}
