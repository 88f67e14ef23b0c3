#pragma once
// Small modal choosers shared by the option pages and the Editor.

#include <windows.h>
#include <shlobj.h>

#include "base/WString.h"

// The system colour chooser, opened full with the colour preselected; the custom
// colours start black every time. On OK stores the choice and answers true.
bool ChooseColorDialog(HWND owner, COLORREF& color);

// The shell's folder browser over the caller's record (its root and callback are
// cleared). False on cancel or when the choice is not a file-system folder.
bool BrowseForFolder(BROWSEINFOA& info, WString& path);

// True when a file (not a folder) of exactly that name exists: the name is asked
// for by its wide form and never read as a pattern, so "*" or "?" match nothing.
bool FileExists(const WString& path);
