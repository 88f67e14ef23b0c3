#pragma once
// The names the Editor's open and save dialogs start from and give back: the filter
// list, which filter a proposed name selects, and the name a save goes to when the
// user typed no extension while the text filter was chosen.

#include <cstddef>

#include "base/FileSystem.h"
#include "base/WString.h"

// The dialogs' filter list in the form the file dialogs take: pairs of a label and a
// pattern, each ending in NUL, and one more NUL at the end.
extern const char kLyricsFileFilter[];
extern const size_t kLyricsFileFilterSize;  // including every NUL

enum LyricsFilter : int { kFilterText = 1, kFilterAll = 2 };

// The filter a dialog starts with: the text filter for a ".txt" name in any case.
int FilterForName(const WString& path);

struct SaveTarget {
  WString path;
  // ".txt" was added to the typed name and that file exists: the dialog asked about the
  // typed name only, so the Editor asks once more before overwriting.
  bool askOverwrite = false;
};

// The file a save dialog's answer saves to. With the text filter, a name whose
// extension is not "txt" (in any case: "song.TXT" is a text file already) gets ".txt".
SaveTarget SaveTargetFor(const WString& chosen, int chosenFilter, FileSystem& files);
