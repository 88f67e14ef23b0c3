// The four settings sections: defaults, read and write order, load-time corrections.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DefaultSections.h"
#include "TestText.h"
#include "settings/DisplayerSettings.h"
#include "settings/EditorSettings.h"
#include "settings/CommonSettings.h"
#include "settings/MemoryIniFile.h"
#include "settings/KaraokeSettings.h"

namespace {

// Builds all four objects in the application object's order and destroys them in
// reverse, so each writes its section once.
std::string WriteAllSections(MemoryIniFile& ini) {
  {
    CommonSettings common(ini);
    common.language = W("JPN");  // read from the system, never written
    DisplayerSettings displayer(ini);
    KaraokeSettings karaoke(ini);
    EditorSettings editor(ini);
  }
  return ini.Text();
}

}  // namespace

TEST(SettingsObjectsTest, AnEmptyFileGetsEverySectionInFullWithDefaultsAndARewriteChangesNothing) {
  MemoryIniFile ini;
  // Destroyed in reverse order of creation: Editor first, common last.
  const std::string first = WriteAllSections(ini);
  EXPECT_EQ(first, std::string(kDefaultEditorSection) + kDefaultKaraokeSection + kDefaultDisplayerSection +
                       kDefaultCommonSection);
  MemoryIniFile again(first);
  EXPECT_EQ(WriteAllSections(again), first);
}

TEST(SettingsObjectsTest, CommonValuesBecomeSourceOptions) {
  MemoryIniFile ini("[Mirabo's Lyrics Common]\nLyricsButton=0\nID3Exts=\nLyricsFolder=D:\\lyrics\\\nID3V2=0\n");
  CommonSettings common(ini);
  const SourceOptions options = common.ToSourceOptions();
  // ID3Exts present but empty: no tag files, not the default.
  EXPECT_EQ(std::to_string(common.lyricsButton) + "|" + options.lyricsFolder.ToUtf8() + "|" + options.id3Exts.ToUtf8() +
                "|" + std::to_string(options.id3V2),
            "0|D:\\lyrics\\||0");
}

TEST(SettingsObjectsTest, WaitOutsideItsRangeBecomesTwenty) {
  for (const auto& [text, expected] : std::vector<std::pair<const char*, int>>{
           {"0", 20}, {"501", 20}, {"-5", 20}, {"1", 1}, {"500", 500}, {"25", 25}}) {
    MemoryIniFile ini(std::string("[Mirabo's Lyrics Displayer]\nWait=") + text + "\n");
    DisplayerSettings displayer(ini);
    EXPECT_EQ(displayer.wait, expected) << text;
  }
}

TEST(SettingsObjectsTest, ShadeBarIsAtLeast275WideAndItsWorkingCopyIsNotSaved) {
  MemoryIniFile ini("[Mirabo's Lyrics Displayer]\nWSMWidth=100\nWSMHeight=20\n");
  {
    DisplayerSettings displayer(ini);
    EXPECT_EQ((std::vector<int>{displayer.wsmWidth, displayer.shadeWidth, displayer.shadeHeight}),
              (std::vector<int>{275, 275, 20}));
    displayer.shadeWidth = 400;
  }
  EXPECT_EQ(ini.ReadInt(DisplayerSettings::kSection, "WSMWidth", 0), 275);
  // A bar of no height works at the default height; the file keeps its value.
  MemoryIniFile flat("[Mirabo's Lyrics Displayer]\nWSMHeight=-3\n");
  EXPECT_EQ(DisplayerSettings(flat).shadeHeight, 16);
  EXPECT_EQ(flat.ReadInt(DisplayerSettings::kSection, "WSMHeight", 0), -3);
}

TEST(SettingsObjectsTest, EditorReadsFileNameButWritesItOnlyOnItsOwn) {
  MemoryIniFile ini("[Mirabo's Lyrics Editor]\nFileName=C:\\a.txt\nSync=-150\n");
  {
    EditorSettings editor(ini);
    EXPECT_EQ(editor.fileName, W("C:\\a.txt"));
    EXPECT_EQ(editor.sync, -150);
    EXPECT_EQ(std::string(editor.ReadOrder().back()), "FileName");

    editor.fileName = W("D:\\b.txt");
    ASSERT_TRUE(editor.SaveFileName());
    EXPECT_EQ(ini.ReadString(EditorSettings::kSection, "FileName", "", 100), "D:\\b.txt");
    editor.fileName = W("E:\\lost.txt");
  }
  // The destructor leaves the marker as it was last saved.
  EXPECT_EQ(ini.ReadString(EditorSettings::kSection, "FileName", "", 100), "D:\\b.txt");
}
