#include "player/InputModuleHost.h"

#include <vector>

#include "player/modules/ManualOutput.h"

namespace {

// The player's own functions in the table: visualisation, DSP and equaliser do
// nothing here, and the stream information is only taken note of.
void __cdecl SaVsaInit(int, int) {}
void __cdecl SaVsaDeInit() {}
void __cdecl AddPcm(void*, int, int, int) {}
int __cdecl GetMode() { return 0; }
int __cdecl SaAdd(void*, int, int) { return 0; }
int __cdecl VsaGetMode(int* spectrum, int* wave) {
  if (spectrum) *spectrum = 0;
  if (wave) *wave = 0;
  return 0;
}
int __cdecl VsaAdd(void*, int) { return 0; }
void __cdecl VsaSetInfo(int, int) {}
int __cdecl DspIsActive() { return 0; }
int __cdecl DspDoSamples(short*, int frames, int, int, int) { return frames; }
void __cdecl EqSet(int, char*, int) {}
void __cdecl SetInfo(int, int, int, int) {}

}  // namespace

bool InputModuleHost::Load(const std::string& dllPath, HWND playerWindow) {
  Unload();
  library_ = LoadLibraryA(dllPath.c_str());
  if (!library_) return false;
  auto get = reinterpret_cast<GetInModuleProc>(reinterpret_cast<void*>(GetProcAddress(library_, kInputModuleExport)));
  module_ = get ? get() : nullptr;
  if (!module_) {
    Unload();
    return false;
  }
  module_->hMainWindow = playerWindow;
  module_->hDllInstance = library_;
  module_->SAVSAInit = SaVsaInit;
  module_->SAVSADeInit = SaVsaDeInit;
  module_->SAAddPCMData = AddPcm;
  module_->SAGetMode = GetMode;
  module_->SAAdd = SaAdd;
  module_->VSAAddPCMData = AddPcm;
  module_->VSAGetMode = VsaGetMode;
  module_->VSAAdd = VsaAdd;
  module_->VSASetInfo = VsaSetInfo;
  module_->dsp_isactive = DspIsActive;
  module_->dsp_dosamples = DspDoSamples;
  module_->EQSet = EqSet;
  module_->SetInfo = SetInfo;
  module_->outMod = manual_output::Module();
  if (module_->Init) module_->Init();
  return true;
}

void InputModuleHost::Unload() {
  if (module_) {
    Stop();
    if (module_->Quit) module_->Quit();
  }
  module_ = nullptr;
  if (library_) FreeLibrary(library_);
  library_ = nullptr;
}

bool InputModuleHost::Play(const std::string& file) {
  if (!module_) return false;
  Stop();
  std::vector<char> name(file.begin(), file.end());
  name.push_back('\0');
  playing_ = module_->Play(name.data()) == 0;
  return playing_;
}

void InputModuleHost::Stop() {
  if (module_ && playing_) module_->Stop();
  playing_ = false;
}

void InputModuleHost::Pause(bool pause) {
  if (!module_ || !playing_) return;
  if (pause) {
    module_->Pause();
  } else {
    module_->UnPause();
  }
}

int InputModuleHost::OutputTimeMs() const { return module_ && playing_ ? module_->GetOutputTime() : -1; }
int InputModuleHost::LengthMs() const { return module_ ? module_->GetLength() : -1; }

void InputModuleHost::Seek(int ms) {
  if (module_ && playing_) module_->SetOutputTime(ms);
}
