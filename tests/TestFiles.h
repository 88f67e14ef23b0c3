#pragma once
// Small helpers shared by the tests: wide text from UTF-8 literals and a private
// temporary folder that is removed with everything in it.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "base/WString.h"

inline WString W(const char* utf8) { return WString::FromUtf8(utf8); }

class TempDir {
 public:
  TempDir() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("mrlyrics-test-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // A path inside the folder as the core takes it: wide text, the name given in UTF-8.
  WString File(const char* utf8Name) const { return FromPath(path_) .Append(Separator()).Append(W(utf8Name)); }
  WString Folder() const { return FromPath(path_); }

  static WString FromPath(const std::filesystem::path& path) {
#ifdef _WIN32
    return WString::FromW(path.wstring().c_str());
#else
    return W(path.u8string().c_str());
#endif
  }
  static WChar Separator() {
#ifdef _WIN32
    return u'\\';
#else
    return u'/';
#endif
  }

  // Names in the folder, as the platform spells them.
  size_t EntryCount() const {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(path_), {}));
  }

 private:
  std::filesystem::path path_;
};
