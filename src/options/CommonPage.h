#pragma once
// The sheet's first page, "共通": the settings every window shares (tray icon, the
// Lyrics button, tag reading, the player's MP3 fixes, the lyrics folder).

#include "options/OptionsPage.h"

class CommonPage : public OptionsPage {
 public:
  explicit CommonPage(PluginApp& app);

 protected:
  void Fill() override;
  void OnCommand(int id, int code) override;
  void Apply() override;

 private:
  void BrowseFolder();
};
