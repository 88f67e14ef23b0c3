// The settings objects on the real private-profile functions: values survive them, and
// the memory file used by the portable tests reads like them. (What the plug-in puts
// in plugin.ini byte for byte is the lifecycle test's.)
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "TestText.h"
#include "settings/DisplayerSettings.h"
#include "settings/EditorSettings.h"
#include "settings/CommonSettings.h"
#include "settings/MemoryIniFile.h"
#include "settings/PrivateProfileIniFile.h"

namespace {

std::string AnsiPath(const TempDir& dir) { return dir.Wide("plugin.ini").ToAnsi(); }

}  // namespace

TEST(PrivateProfileIniFileTest, ChangedValuesSurviveAQuitAndAStart) {
  TempDir dir;
  PrivateProfileIniFile ini(AnsiPath(dir));
  {
    DisplayerSettings displayer(ini);
    displayer.windowRect = {-20, 30, 700, 180};
    displayer.color = 0x000080FF;
    displayer.wait = 35;
    EditorSettings editor(ini);
    editor.fileName = W("C:\\歌詞\\表.txt");
    editor.SaveFileName();
    CommonSettings common(ini);
    common.lyricsFolder = W("D:\\表示\\");
  }
  DisplayerSettings displayer(ini);
  EXPECT_TRUE(displayer.windowRect == (SettingsRect{-20, 30, 700, 180}) && displayer.color == 0x000080FFu &&
              displayer.wait == 35);
  EXPECT_EQ(EditorSettings(ini).fileName, W("C:\\歌詞\\表.txt"));
  EXPECT_EQ(CommonSettings(ini).lyricsFolder, W("D:\\表示\\"));
  EXPECT_NE(ReadFileBytes(ini.Path()).find("Color=FF8000\r\n"), std::string::npos);
}

TEST(PrivateProfileIniFileTest, MemoryFileReadsLikeThePlatform) {
  TempDir dir;
  const std::string text =
      "[S]\r\nA=42\r\nB=-25\r\nC= 12abc\r\nD=abc\r\nE=\r\nF=FF0000\r\n"
      "R=0A000000140000001E0000002800000064\r\nBad=0A000000140000001E0000002800000065\r\n"
      "Short=0A00000014000000\r\n";
  WriteFileBytes(AnsiPath(dir), text);
  PrivateProfileIniFile real(AnsiPath(dir));
  MemoryIniFile memory(text);
  for (const char* key : {"A", "B", "C", "D", "E", "Missing"}) {
    EXPECT_EQ(memory.ReadInt("S", key, 7), real.ReadInt("S", key, 7)) << key;
  }
  for (const char* key : {"A", "F", "E", "Missing"}) {
    EXPECT_EQ(memory.ReadString("S", key, "dflt", 4), real.ReadString("S", key, "dflt", 4)) << key;
  }
  for (const char* key : {"R", "Bad", "Short", "Missing"}) {
    // The platform may scribble on the buffer before it finds a bad checksum, so the
    // store reads into a scratch buffer; only successful reads are compared.
    uint8_t a[16] = {}, b[16] = {};
    const bool ok = real.ReadStruct("S", key, b, 16);
    EXPECT_EQ(memory.ReadStruct("S", key, a, 16), ok) << key;
    if (ok) {
      EXPECT_EQ(0, memcmp(a, b, 16)) << key;
    }
  }
}
