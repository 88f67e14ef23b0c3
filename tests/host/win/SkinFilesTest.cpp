// The skin folder's files on the real file and GDI functions.
#include "host/SkinFiles.h"

#include <gtest/gtest.h>

#include <string>

#include "TestBitmaps.h"
#include "TestText.h"
#include "base/CodePage.h"

namespace {

TEST(SkinFiles, BitmapOnlyFromAFileTheCheckAcceptsColoursFromAnExistingFile) {
  TempDir dir;
  ScopedWindowDC screen(nullptr);
  const std::vector<uint8_t> good = SolidBmp(275, 20, RGB(255, 0, 0));
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    int width;  // 0: no bitmap
  } cases[] = {
      {"good.bmp", good, 275},
      {"missing.bmp", {}, 0},
      {"cut.bmp", WithField(good, 10, uint32_t(good.size() - 100)), 0},  // rows past the end
      {"large.bmp", SolidBmp(1000, 40, RGB(0, 0, 255)), 0},  // 120054 bytes: over the limit
  };
  for (const auto& c : cases) {
    if (!c.bytes.empty()) WriteFileBytes(dir.Path() / c.name, std::string(c.bytes.begin(), c.bytes.end()));
    OwnedBitmap bitmap = LoadBitmapFile(dir.Wide(c.name), screen.Get());
    BITMAP info = {};
    EXPECT_EQ(bitmap && GetObjectA(bitmap.Get(), sizeof info, &info) ? info.bmWidth : 0, c.width) << c.name;
  }

  // The colours come from an existing file, which stays as it was, in a folder whose
  // Shift-JIS name ends in a 0x5C trail byte on Japanese systems.
  const std::string txt = std::string(AnsiCodePage() == 932 ? "表" : "skin") + "/gen_mrlyrics.txt";
  const std::filesystem::path txtFile = dir.Path() / std::filesystem::u8path(txt);
  std::filesystem::create_directory(txtFile.parent_path());
  EXPECT_EQ(ReadSkinColors(dir.Wide(txt.c_str())), UnsetSkinColors());

  const std::string text = "[Skin]\r\nColor=FF0000\r\nInfoColor=garbage\r\n";
  WriteFileBytes(txtFile, text);
  SkinColorValues expected = UnsetSkinColors();
  expected[0] = RGB(255, 0, 0);
  EXPECT_EQ(ReadSkinColors(dir.Wide(txt.c_str())), expected);
  EXPECT_EQ(ReadFileBytes(txtFile), text);
}

}  // namespace
