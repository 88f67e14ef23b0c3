// The library's one export and the player's three entries. Everything here runs on
// the player's thread; nothing thrown may cross back into the player.

#include <windows.h>

#include <clocale>
#include <memory>

#include "host/Mp3Patch.h"
#include "host/PluginApp.h"
#include "host/PluginDescription.h"
#include "host/PluginWindow.h"
#include "settings/PrivateProfileIniFile.h"
#include "host/WinampLink.h"
#include "host/WinampProtocol.h"
#include "host/WindowBase.h"

namespace {

constexpr UINT kVersionString = 1;
constexpr UINT kProductString = 2;
constexpr UINT kOldPlayerString = 3;
constexpr LRESULT kRequiredPlayerVersion = 0x2005;
constexpr size_t kDescriptionBytes = 256;

int __cdecl Init();
void __cdecl Config();
void __cdecl Quit();

char gEmptyDescription[1] = "";
char gDescription[kDescriptionBytes] = "";
WinampGeneralPurposePlugin gPlugin = {
    kGeneralPurposePluginVersion, gEmptyDescription, Init, Config, Quit, nullptr, nullptr,
};

// What lives from init to quit, destroyed in the reverse order of creation.
struct PluginState {
  std::unique_ptr<PrivateProfileIniFile> ini;
  std::unique_ptr<WindowFactory> windows;
  std::unique_ptr<WinampLink> link;
  std::unique_ptr<PluginApp> app;
};

PluginState* gState = nullptr;
bool gDisabled = false;

// Multi-byte text functions of the C runtime follow the user's code page.
void SetUserLocale() {
  char language[100] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SABBREVLANGNAME, language, sizeof language)) {
    setlocale(LC_ALL, language);
  }
}

void SetDescription(HINSTANCE instance) {
  WString text = BuildDescription(LoadResourceString(instance, kProductString),
                                  LoadResourceString(instance, kVersionString), ModulePath(instance));
  CopyAnsiCut(text, gDescription, sizeof gDescription);
  gPlugin.description = gDescription;
}

void ShowOldPlayerMessage(HINSTANCE instance) {
  std::string text = LoadResourceString(instance, kOldPlayerString).ToAnsi();
  std::string caption = LoadResourceString(instance, kProductString).ToAnsi();
  MessageBoxA(gPlugin.hwndParent, text.c_str(), caption.c_str(), MB_OK);
}

void Start() {
  HINSTANCE instance = gPlugin.hDllInstance;
  WindowBase::SetInstance(instance);
  SetDescription(instance);
  LRESULT version = SendMessageA(gPlugin.hwndParent, kPlayerMessage, 0, kIpcGetVersion);
  if (version < kRequiredPlayerVersion) {
    gDisabled = true;
    ShowOldPlayerMessage(instance);
    return;
  }
  // The Windows Media Audio library of old systems is not loaded: the song
  // information readers bring their own reader for those files.
  auto state = std::make_unique<PluginState>();
  state->ini = std::make_unique<PrivateProfileIniFile>(PluginIniPath(instance));
  state->windows = MakeProductionWindowFactory();
  state->link = std::make_unique<WinampLink>(gPlugin.hwndParent, instance);
  PluginAppSetup setup;
  setup.link = state->link.get();
  setup.ini = state->ini.get();
  setup.windows = state->windows.get();
  setup.instance = instance;
  state->app = std::make_unique<PluginApp>(setup);
  // The MP3 time and seek correction; FixTimeMP3 off counts the clock in whole
  // milliseconds a block, as the player does.
  const CommonSettings& common = state->app->Common();
  if (common.fixSeekMP3) InstallMp3Correction(instance, common.fixTimeMP3 == 0);
  gState = state.release();
}

void Stop() {
  RemoveMp3Correction();
  if (gDisabled || !gState) return;
  std::unique_ptr<PluginState> state(gState);
  gState = nullptr;
  // The player's system menu holds a submenu of menu 114: off it goes before the
  // application object destroys that menu.
  state->link->RemoveSystemMenu();
  state->app.reset();
  state->link.reset();
}

int __cdecl Init() {
  try {
    SetUserLocale();
    Start();
  } catch (...) {
    // Out of memory on the way: whatever was made is dropped, the plug-in stays inert.
  }
  return 0;
}

void __cdecl Config() {
  try {
    if (gState && gState->app) gState->app->Post(TM_OPEN_WINDOW, kOptionsWindow, 0);
  } catch (...) {
  }
}

void __cdecl Quit() {
  try {
    Stop();
  } catch (...) {
  }
}

}  // namespace

extern "C" __declspec(dllexport) WinampGeneralPurposePlugin* __cdecl winampGetGeneralPurposePlugin() {
  return &gPlugin;
}
