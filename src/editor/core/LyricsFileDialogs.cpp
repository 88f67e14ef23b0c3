#include "editor/core/LyricsFileDialogs.h"

#include "base/FilePath.h"

const char kLyricsFileFilter[] = "Text File(*.txt)\0*.txt\0All Files(*.*)\0*.*\0";
// The literal's own terminating NUL is the list's final one.
const size_t kLyricsFileFilterSize = sizeof(kLyricsFileFilter);

int FilterForName(const WString& path) {
  return FilePath(path).Extension().EqualsAsciiNoCase("txt") ? kFilterText : kFilterAll;
}

SaveTarget SaveTargetFor(const WString& chosen, int chosenFilter, FileSystem& files) {
  SaveTarget target;
  target.path = chosen;
  if (chosenFilter != kFilterText || FilterForName(chosen) == kFilterText) return target;
  target.path.AppendAscii(".txt");
  target.askOverwrite = files.Exists(target.path);
  return target;
}
