#pragma once
// The Options sheet, window 3: a modeless property sheet with one page per window and
// a page of common settings. It lives on the plug-in thread, whose loop offers it the
// dialog keys and notices when the user has closed it (OK, Cancel or the close box),
// then destroys it. Its z-order follows the Displayer's TopMost.

#include <windows.h>

#include <memory>
#include <vector>

#include "host/PluginWindow.h"
#include "host/WindowBase.h"

class OptionsPage;
class PluginApp;

class OptionsSheet : public WindowBase, public PluginWindow {
 public:
  explicit OptionsSheet(PluginApp& app);
  // Destroys the sheet (and the page dialogs with it) before the page objects.
  ~OptionsSheet() override;

  // Builds the pages and shows the sheet; false when it cannot.
  bool Open();

  // PluginWindow
  HWND Handle() const override { return WindowBase::Handle(); }
  bool HasEnded() override;
  bool PreTranslate(MSG& msg) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnCreate();
  void OnDestroy();

  PluginApp& app_;
  std::vector<std::unique_ptr<OptionsPage>> pages_;
  HICON previousIcon_ = nullptr;
};
