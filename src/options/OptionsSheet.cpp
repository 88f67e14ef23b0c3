#include "options/OptionsSheet.h"

#include <commctrl.h>
#include <prsht.h>

#include "host/PluginApp.h"
#include "options/AboutPage.h"
#include "options/CommonPage.h"
#include "options/Displayer2Page.h"
#include "options/DisplayerPage.h"
#include "options/EditorPage.h"
#include "options/KaraokePage.h"
#include "resources/resource.h"

namespace {
// Every property sheet is a dialog.
constexpr char kDialogClass[] = "#32770";
}  // namespace

OptionsSheet::OptionsSheet(PluginApp& app) : WindowBase(kDialogClass), app_(app) {}

OptionsSheet::~OptionsSheet() {
  Destroy();
  pages_.clear();
}

bool OptionsSheet::Open() {
  pages_.push_back(std::make_unique<CommonPage>(app_));
  pages_.push_back(std::make_unique<DisplayerPage>(app_));
  pages_.push_back(std::make_unique<Displayer2Page>(app_));
  pages_.push_back(std::make_unique<KaraokePage>(app_));
  pages_.push_back(std::make_unique<EditorPage>(app_));
  pages_.push_back(std::make_unique<AboutPage>(app_));
  std::vector<HPROPSHEETPAGE> handles;
  for (const auto& page : pages_) {
    HPROPSHEETPAGE handle = page->CreatePage();
    if (!handle) {
      for (HPROPSHEETPAGE made : handles) DestroyPropertySheetPage(made);
      return false;
    }
    handles.push_back(handle);
  }
  InitCommonControls();
  char caption[64] = {};
  LoadStringA(app_.Instance(), IDS_OPTIONS_CAPTION, caption, sizeof caption);
  // The first version of the header has all a modeless sheet needs, at the right
  // size for 32 and 64 bits alike.
  PROPSHEETHEADERA header{};
  header.dwSize = PROPSHEETHEADERA_V1_SIZE;
  // The header's icon becomes the sheet's small one; the big one is set on WM_CREATE.
  header.dwFlags = PSH_MODELESS | PSH_USEHICON | PSH_NOCONTEXTHELP;
  header.hInstance = app_.Instance();
  header.hIcon = LoadIconA(app_.Instance(), MAKEINTRESOURCEA(IDI_PLUGIN));
  header.pszCaption = caption;
  header.nPages = static_cast<UINT>(handles.size());
  header.phpage = handles.data();
  // The sheet's own window is the first one made while the hook is armed: it is
  // subclassed, so this object sees its WM_CREATE. The sheet owns the pages' handles
  // from here on, also when it fails.
  if (!ArmCreationHook(this, false)) {
    for (HPROPSHEETPAGE made : handles) DestroyPropertySheetPage(made);
    return false;
  }
  const INT_PTR sheet = PropertySheetA(&header);
  DisarmCreationHook();
  return sheet != 0 && sheet != -1 && WindowBase::Handle() != nullptr;
}

// A modeless sheet stays after OK or Cancel with no current page: the user closed it.
bool OptionsSheet::HasEnded() { return !Handle() || PropSheet_GetCurrentPageHwnd(Handle()) == nullptr; }

bool OptionsSheet::PreTranslate(MSG& msg) { return Handle() && PropSheet_IsDialogMessage(Handle(), &msg); }

LRESULT OptionsSheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const LRESULT result = WindowBase::WindowProc(message, wParam, lParam);
      OnCreate();
      return result;
    }
    case WM_DESTROY: OnDestroy(); break;
    case WM_COMMAND:
    case WM_SYSCOMMAND:
    case PSM_PRESSBUTTON: {
      // OK, Cancel and the close box end the sheet here; the thread's loop notices at
      // its next message, so make sure one comes even when the user stays still.
      const LRESULT result = WindowBase::WindowProc(message, wParam, lParam);
      if (Handle() && HasEnded()) Post(WM_NULL);
      return result;
    }
    default: break;
  }
  return WindowBase::WindowProc(message, wParam, lParam);
}

void OptionsSheet::OnCreate() {
  SetWindowPos(Handle(), app_.Displayer().topMost == 1 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE);
  HICON icon = LoadIconA(app_.Instance(), MAKEINTRESOURCEA(IDI_PLUGIN));
  previousIcon_ = reinterpret_cast<HICON>(Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon)));
}

// The icon is the library's shared one: the window gets its own back and nothing is freed.
void OptionsSheet::OnDestroy() { Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(previousIcon_)); }
