#include "base/FilePath.h"

void FilePath::Set(const WString& path) {
  path_ = path;
  drive_.Clear();
  size_t start = 0;
  if (path.Length() >= 2 && path[1] == u':') {
    drive_ = path.Substr(0, 2);
    start = 2;
  }
  size_t lastSeparator = WString::npos;
  for (size_t i = start; i < path.Length(); ++i)
    if (IsSeparator(path[i])) lastSeparator = i;
  size_t nameStart = lastSeparator == WString::npos ? start : lastSeparator + 1;
  folder_ = path.Substr(0, nameStart);
  fileName_ = path.Substr(nameStart);
  size_t dot = fileName_.FindLast(u'.');
  hasDot_ = dot != WString::npos;
  baseName_ = hasDot_ ? fileName_.Substr(0, dot) : fileName_;
  extension_ = hasDot_ ? fileName_.Substr(dot + 1) : WString();
}

void FilePath::Rebuild() {
  WString fileName = baseName_;
  if (hasDot_) fileName.Append(u'.').Append(extension_);
  WString path = folder_;
  path.Append(fileName);
  Set(path);
}

WString FilePath::PathWithoutExtension() const {
  WString path = folder_;
  return path.Append(baseName_);
}

void FilePath::SetFileName(const WString& fileName) {
  WString path = folder_;
  Set(path.Append(fileName));
}

void FilePath::SetBaseName(const WString& baseName) {
  baseName_ = baseName;
  Rebuild();
}

void FilePath::SetExtension(const WString& extension) {
  extension_ = extension;
  hasDot_ = !extension.IsEmpty();
  Rebuild();
}

void FilePath::SetFolder(const WString& folder) {
  WString path = folder;
  if (!path.IsEmpty() && !IsSeparator(path[path.Length() - 1]) && !(path.Length() == 2 && path[1] == u':'))
    path.Append(u'\\');
  Set(path.Append(fileName_));
}

bool FilePath::IsDriveAbsolute(const WString& path) {
  return path.Length() >= 3 && path[1] == u':' && path[2] == u'\\';
}
