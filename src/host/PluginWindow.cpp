#include "host/PluginWindow.h"

namespace {
// Windows arrive with their own subsystems; until then every request leaves its slot
// empty (the menu still records the request, as after a failed creation).
class ProductionWindowFactory : public WindowFactory {
 public:
  std::unique_ptr<PluginWindow> Create(WindowIndex, PluginApp&, HWND) override { return nullptr; }
};
}  // namespace

std::unique_ptr<WindowFactory> MakeProductionWindowFactory() { return std::make_unique<ProductionWindowFactory>(); }
