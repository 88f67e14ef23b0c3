#include "options/AboutPage.h"

#include <string>

#include "host/PluginApp.h"
#include "resources/resource.h"

namespace {
constexpr int kTextCharacters = 1023;
}  // namespace

AboutPage::AboutPage(PluginApp& app) : OptionsPage(app, IDD_OPTIONS_ABOUT) {}

// The text in the dialog is the template: its "%s" takes the version, string 1.
void AboutPage::Fill() {
  std::wstring text(static_cast<size_t>(kTextCharacters) + 1, L'\0');
  text.resize(static_cast<size_t>(GetDlgItemTextW(Handle(), IDC_ABOUT_TEXT, text.data(), kTextCharacters + 1)));
  wchar_t version[32] = {};
  LoadStringW(app_.Instance(), IDS_VERSION, version, static_cast<int>(std::size(version)));
  const size_t at = text.find(L"%s");
  if (at != std::wstring::npos) text.replace(at, 2, version);
  SetDlgItemTextW(Handle(), IDC_ABOUT_TEXT, text.c_str());
}
