#pragma once
// The sheet's "Displayer2" page: following the player, the lyrics' timing switches,
// the space between lines, the Sync correction and the info strip's format.

#include "options/OptionsPage.h"

class Displayer2Page : public OptionsPage {
 public:
  explicit Displayer2Page(PluginApp& app);

 protected:
  void Fill() override;
  void OnCommand(int id, int code) override;
  void Apply() override;
};
