#pragma once
// The base of the Options sheet's pages. The sheet creates each page's dialog itself,
// when the page is first shown, so no creation of ours can arm the window base's hook
// for it. The page object travels in its PROPSHEETPAGE instead: the sheet hands that
// record to the page's WM_INITDIALOG, which attaches the object. The few messages
// before it (WM_SETFONT and the creation of the frame) find no object and get the
// dialog manager's default handling, which is what a page wants for them anyway.
//
// Apply follows the sheet: a page whose controls the user changed (MarkChanged)
// writes them into its settings when the sheet applies, once; leaving a page is
// always allowed. The sheet (which destroys the page dialogs) goes before the page
// objects; a page object that still has its dialog destroys it.

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>

#include "host/WindowBase.h"

class PropertyPageBase : public WindowBase {
 public:
  // A page from dialog resource dialogId of instance, under the tab title (null or
  // empty: the dialog's caption).
  PropertyPageBase(HINSTANCE instance, int dialogId, const char* title);
  // A page from a dialog template in memory, which must outlive the page.
  PropertyPageBase(const DLGTEMPLATE* dialog, const char* title);

  // The handle to hand to PropertySheet or PSM_ADDPAGE at once: the sheet owns it from
  // then on. Null when it cannot be made.
  HPROPSHEETPAGE CreatePage();

  bool Changed() const noexcept { return changed_; }

 protected:
  // Enables the sheet's Apply button and remembers that this page has values to write.
  void MarkChanged();
  // Check boxes hold the settings' 0/1 flags: checked exactly for 1.
  void SetCheck(int id, int value) const;
  int Check(int id) const;

  // Writes the page's controls into its settings (only for a changed page).
  virtual void Apply() {}

  // Derived pages handle their own messages and pass the rest here.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnNotify(const NMHDR& header);

  HINSTANCE instance_ = nullptr;
  int dialogId_ = 0;
  const DLGTEMPLATE* dialog_ = nullptr;
  std::string title_;
  bool changed_ = false;
};
