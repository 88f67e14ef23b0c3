#include "host/DialogHelpers.h"

#include <commdlg.h>

#include "host/ScopedHandles.h"

bool ChooseColorDialog(HWND owner, COLORREF& color) {
  COLORREF custom[16] = {};
  CHOOSECOLORA record{};
  record.lStructSize = sizeof record;
  record.hwndOwner = owner;
  record.rgbResult = color;
  record.lpCustColors = custom;
  record.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorA(&record)) return false;
  color = record.rgbResult;
  return true;
}

namespace {
// Releases the shell's allocator at the end of the scope.
struct ShellMalloc {
  IMalloc* malloc = nullptr;
  ~ShellMalloc() {
    if (malloc) malloc->Release();
  }
};
}  // namespace

bool BrowseForFolder(BROWSEINFOA& info, WString& path) {
  ShellMalloc shell;
  if (FAILED(SHGetMalloc(&shell.malloc)) || !shell.malloc) return false;
  info.pidlRoot = nullptr;
  info.lpfn = nullptr;
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
  if (!chosen) return false;
  char buffer[MAX_PATH] = {};
  bool isFolder = SHGetPathFromIDListA(chosen, buffer) != FALSE;
  shell.malloc->Free(chosen);
  if (!isFolder) return false;
  path = WString::FromAnsi(buffer);
  return true;
}

bool FileExists(const WString& path) {
  const DWORD attributes = GetFileAttributesW(path.W());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
