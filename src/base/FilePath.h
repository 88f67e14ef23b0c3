#pragma once
// A path split into its parts: drive ("C:"), folder (up to and including its last
// separator, drive included), file name, base name and extension (without the dot).
// The setters replace one part and rebuild the path. Splitting works on wide text: in
// Shift-JIS the byte 0x5C can be the second byte of a character.

#include "base/WString.h"

class FilePath {
 public:
  FilePath() = default;
  explicit FilePath(const WString& path) { Set(path); }

  void Set(const WString& path);
  const WString& Path() const { return path_; }
  const WString& Drive() const { return drive_; }
  const WString& Folder() const { return folder_; }
  const WString& FileName() const { return fileName_; }
  const WString& BaseName() const { return baseName_; }
  const WString& Extension() const { return extension_; }
  bool HasExtension() const { return hasDot_; }
  // The path without the dot and extension of its file name.
  WString PathWithoutExtension() const;

  void SetFileName(const WString& fileName);
  void SetBaseName(const WString& baseName);
  // An empty extension removes the dot as well.
  void SetExtension(const WString& extension);
  void SetFolder(const WString& folder);

  static bool IsSeparator(WChar c) { return c == u'\\' || c == u'/'; }
  // "X:\..." is the one absolute form the lyrics header accepts.
  static bool IsDriveAbsolute(const WString& path);

 private:
  void Rebuild();
  WString path_, drive_, folder_, fileName_, baseName_, extension_;
  bool hasDot_ = false;
};
