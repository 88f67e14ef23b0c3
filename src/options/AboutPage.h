#pragma once
// The sheet's last page, "バージョン情報": the product's name and version.

#include "options/OptionsPage.h"

class AboutPage : public OptionsPage {
 public:
  explicit AboutPage(PluginApp& app);

 protected:
  void Fill() override;
};
