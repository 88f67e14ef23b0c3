#pragma once
// The sheet's "Displayer" page: the Displayer's switches, its font and its six
// colours. The font and the colours are edited on copies taken when the page starts
// and written only when the page is applied.

#include <windows.h>

#include <array>

#include "options/OptionsPage.h"

class DisplayerPage : public OptionsPage {
 public:
  explicit DisplayerPage(PluginApp& app);

 protected:
  void Fill() override;
  void OnCommand(int id, int code) override;
  void Apply() override;

 private:
  void PickFont();
  void OnCheckClicked(int id);

  LOGFONTA font_{};
  // Color, CurColor, CurColor2, BKCurColor, BKColor, InfoColor.
  std::array<ColorValue, 6> colours_{};
};
