// The skin folder's files on the real file and GDI functions.
#include "host/SkinFiles.h"

#include <gtest/gtest.h>

#include <string>

#include "TestBitmaps.h"
#include "TestText.h"
#include "base/CodePage.h"

namespace {

std::string Bytes(const std::vector<uint8_t>& file) { return std::string(file.begin(), file.end()); }

TEST(SkinFiles, BitmapIsMadeOnlyFromAFileTheCheckAccepts) {
  TempDir dir;
  ScopedWindowDC screen(nullptr);
  const WString path = dir.Wide("gen_mrlyrics.bmp");
  EXPECT_FALSE(LoadBitmapFile(path, screen.Get()));

  const std::vector<uint8_t> good = SolidBmp(275, 20, RGB(255, 0, 0));
  WriteFileBytes(dir.Path() / "gen_mrlyrics.bmp", Bytes(good));
  OwnedBitmap bitmap = LoadBitmapFile(path, screen.Get());
  BITMAP info = {};
  ASSERT_TRUE(GetObjectA(bitmap.Get(), sizeof info, &info));
  EXPECT_EQ(info.bmWidth, 275);
  EXPECT_EQ(info.bmHeight, 20);

  // The rows said to start 100 bytes before the end of the file.
  WriteFileBytes(dir.Path() / "gen_mrlyrics.bmp", Bytes(WithField(good, 10, uint32_t(good.size() - 100))));
  EXPECT_FALSE(LoadBitmapFile(path, screen.Get()));
}

TEST(SkinFiles, ColoursComeFromAnExistingFileThatStaysAsItWas) {
  TempDir dir;
  // A folder whose Shift-JIS name ends in a 0x5C trail byte, on Japanese systems.
  const std::string folder = AnsiCodePage() == 932 ? "表" : "skin";
  const std::filesystem::path txtFile = dir.Path() / std::filesystem::u8path(folder + "/gen_mrlyrics.txt");
  std::filesystem::create_directory(txtFile.parent_path());
  const WString txt = SkinColorsPathFor(dir.Wide((folder + "/gen_mrlyrics.bmp").c_str()));
  EXPECT_EQ(ReadSkinColors(txt), UnsetSkinColors());

  const std::string text = "[Skin]\r\nColor=FF0000\r\nInfoColor=garbage\r\n";
  WriteFileBytes(txtFile, text);
  SkinColorValues expected = UnsetSkinColors();
  expected[0] = RGB(255, 0, 0);
  EXPECT_EQ(ReadSkinColors(txt), expected);
  EXPECT_EQ(ReadFileBytes(txtFile), text);
}

}  // namespace
