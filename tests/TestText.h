#pragma once
// Small helpers shared by the unit tests: wide text from UTF-8 literals (wchar_t is
// 32 bits off Windows, so tests never spell UTF-16 as L"..."), a scratch folder that
// disappears with the test, and whole-file reads and writes.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <system_error>

#include "base/CodePage.h"
#include "base/WString.h"

inline WString W(const char* utf8) { return WString::FromUtf8(utf8); }

// Lets test failures show wide text readably.
inline void PrintTo(const WString& text, std::ostream* out) { *out << '"' << text.ToUtf8() << '"'; }

// A whole file's bytes, and a file made of exactly these bytes.
inline std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A fresh folder under the system's temporary folder, removed with everything in it
// (read-only files included) when the object goes.
class TempDir {
 public:
  TempDir() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (;;) {
      path_ = base / ("mrlyrics-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
      std::error_code error;
      if (std::filesystem::create_directory(path_, error)) break;
      if (error) throw std::filesystem::filesystem_error("TempDir", path_, error);
    }
  }
  ~TempDir() {
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, error))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                   std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(path_, error);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The folder, or a file in it, as wide text for the code under test.
  WString Wide(const char* utf8Name = nullptr) const {
    std::filesystem::path full = utf8Name ? path_ / std::filesystem::u8path(utf8Name) : path_;
    return WString::FromUtf8(full.u8string());
  }

 private:
  std::filesystem::path path_;
};
