#include "player/PluginHost.h"

bool PluginHost::Load(const std::string& dllPath, HWND playerWindow) {
  Unload();
  module_ = LoadLibraryA(dllPath.c_str());
  if (!module_) return false;
  auto get = reinterpret_cast<GetGeneralPurposePluginProc>(
      reinterpret_cast<void*>(GetProcAddress(module_, kGeneralPurposePluginExport)));
  descriptor_ = get ? get() : nullptr;
  if (!descriptor_) {
    Unload();
    return false;
  }
  descriptor_->hwndParent = playerWindow;
  descriptor_->hDllInstance = module_;
  return true;
}

bool PluginHost::Init() {
  if (!descriptor_ || initialised_ || !descriptor_->init) return false;
  initialised_ = true;
  descriptor_->init();
  return true;
}

bool PluginHost::Config() {
  if (!initialised_ || !descriptor_->config) return false;
  descriptor_->config();
  return true;
}

bool PluginHost::Quit() {
  if (!initialised_) return false;
  initialised_ = false;
  if (descriptor_->quit) descriptor_->quit();
  return true;
}

void PluginHost::Unload() {
  if (initialised_) Quit();
  descriptor_ = nullptr;
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
}
