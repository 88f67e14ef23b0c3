// The windows the plug-in ships, for the plug-in thread to open. Built into the
// library itself (and the tests that run the real windows), above every window folder.

#include "displayer/DisplayerFrame.h"
#include "editor/LyricsEditor.h"
#include "host/PluginWindow.h"

namespace {

class ProductionWindowFactory : public WindowFactory {
 public:
  std::unique_ptr<PluginWindow> Create(WindowIndex index, PluginApp& app, HWND owner) override {
    switch (index) {
      case kDisplayerWindow: return Opened(std::make_unique<DisplayerFrame>(app, owner));
      // A top-level window of its own, with a taskbar button: not owned by the dummy.
      case kEditorWindow: return Opened(std::make_unique<LyricsEditor>(app));
      // The Karaoke Displayer and the Options sheet arrive with their own
      // folders; until then a request leaves the slot empty.
      default: return nullptr;
    }
  }

 private:
  template <class Window>
  static std::unique_ptr<PluginWindow> Opened(std::unique_ptr<Window> window) {
    if (!window->Open()) return nullptr;
    return window;
  }
};

}  // namespace

std::unique_ptr<WindowFactory> MakeProductionWindowFactory() { return std::make_unique<ProductionWindowFactory>(); }
