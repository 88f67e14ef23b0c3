#pragma once
// The sheet's "Editor" page: the Editor's stamping switches, the karaoke view's font
// size in points and the stamps' Sync correction.

#include "options/OptionsPage.h"

class EditorPage : public OptionsPage {
 public:
  explicit EditorPage(PluginApp& app);

 protected:
  void Fill() override;
  void OnCommand(int id, int code) override;
  void Apply() override;
};
