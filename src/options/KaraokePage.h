#pragma once
// The sheet's "Karaoke Displayer" page: the screen's display mode and font face
// (lists made when the page is first shown), the background switches, the lyrics'
// size, the six text colours and the background file and folder. The open karaoke
// screen is not told: it reads its settings when it starts.

#include <array>
#include <string>
#include <vector>

#include "options/OptionsPage.h"
#include "options/core/KaraokeChoices.h"

class KaraokePage : public OptionsPage {
 public:
  explicit KaraokePage(PluginApp& app);

 protected:
  void Fill() override;
  void OnCommand(int id, int code) override;
  void Apply() override;

 private:
  void FillModes();
  void FillFaces();
  void BrowseFile();
  void BrowseFolder();

  std::vector<DisplayMode> modes_;
  std::vector<FontFamily> faces_;
  // LyricsColor1A, 1B, 2A, 2B, MusicInfoColorA, B.
  std::array<ColorValue, 6> colours_{};
};
