#pragma once
// The string attributes of a Windows Media Audio (ASF) file that song information
// uses: "Title", "Author", "Description", "Copyright" (the content description)
// and "WM/AlbumTitle", "WM/Genre", "WM/Year" (the extended attributes). Attributes
// of any other type (numbers, bytes, flags) do not count, as the player's own
// reader answered only strings.

#include <string>
#include <utility>
#include <vector>

#include "base/WString.h"

class WmaAttributes {
 public:
  // False when the file cannot be read or is not an ASF file.
  bool Open(const WString& path);
  // False when the attribute is missing or not a string.
  bool GetString(const char* name, WString& value) const;

 private:
  std::vector<std::pair<std::string, WString>> strings_;
};
