#include "host/PropertyPageBase.h"

namespace {
// The class name every dialog window has.
constexpr char kDialogClass[] = "#32770";
}  // namespace

PropertyPageBase::PropertyPageBase(HINSTANCE instance, int dialogId, const char* title)
    : WindowBase(kDialogClass), instance_(instance), dialogId_(dialogId), title_(title ? title : "") {}

PropertyPageBase::PropertyPageBase(const DLGTEMPLATE* dialog, const char* title)
    : WindowBase(kDialogClass), dialog_(dialog), title_(title ? title : "") {}

HPROPSHEETPAGE PropertyPageBase::CreatePage() {
  // The first version of the record is all a page needs, and its size is right for
  // both 32 and 64 bits on every comctl32.
  PROPSHEETPAGEA page{};
  page.dwSize = PROPSHEETPAGEA_V1_SIZE;
  // Without a title the tab shows the dialog's caption (wide, from the resource).
  page.dwFlags = title_.empty() ? 0 : PSP_USETITLE;
  if (dialog_) {
    page.dwFlags |= PSP_DLGINDIRECT;
    page.pResource = dialog_;
  } else {
    page.hInstance = instance_;
    page.pszTemplate = MAKEINTRESOURCEA(dialogId_);
  }
  if (!title_.empty()) page.pszTitle = title_.c_str();
  page.pfnDlgProc = &PropertyPageBase::PageProc;
  page.lParam = reinterpret_cast<LPARAM>(this);
  return CreatePropertySheetPageA(&page);
}

// WM_INITDIALOG carries the sheet's copy of the page's record, with our lParam.
INT_PTR CALLBACK PropertyPageBase::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG && lParam) {
    auto* page = reinterpret_cast<PropertyPageBase*>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
    if (page && !page->Handle()) page->AttachDialog(window);
  }
  return StaticDialogProc(window, message, wParam, lParam);
}

void PropertyPageBase::MarkChanged() {
  changed_ = true;
  SendMessageA(GetParent(Handle()), PSM_CHANGED, reinterpret_cast<WPARAM>(Handle()), 0);
}

void PropertyPageBase::SetCheck(int id, int value) const {
  CheckDlgButton(Handle(), id, value == 1 ? BST_CHECKED : BST_UNCHECKED);
}

int PropertyPageBase::Check(int id) const { return IsDlgButtonChecked(Handle(), id) == BST_CHECKED ? 1 : 0; }

LRESULT PropertyPageBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && lParam) return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
  return WindowBase::WindowProc(message, wParam, lParam);
}

// A dialog procedure answers notifications through DWLP_MSGRESULT and returns TRUE.
LRESULT PropertyPageBase::OnNotify(const NMHDR& header) {
  switch (header.code) {
    case PSN_KILLACTIVE:
      SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, FALSE);
      return TRUE;
    case PSN_APPLY:
      if (changed_) {
        Apply();
        changed_ = false;
      }
      SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, PSNRET_NOERROR);
      return TRUE;
    default: return FALSE;
  }
}
