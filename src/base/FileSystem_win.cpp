// Files on Windows: ANSI paths, as the player hands them to us.
#include <windows.h>

#include <cstring>
#include <string>

#include "base/FilePath.h"
#include "base/FileSystem.h"

namespace {

class ScopedFileHandle {
 public:
  explicit ScopedFileHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedFileHandle() { Close(); }
  ScopedFileHandle(const ScopedFileHandle&) = delete;
  ScopedFileHandle& operator=(const ScopedFileHandle&) = delete;
  bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  bool Close() {
    if (!IsValid()) return true;
    bool ok = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE handle_;
};

class ScopedFindHandle {
 public:
  explicit ScopedFindHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedFindHandle() {
    if (IsValid()) FindClose(handle_);
  }
  ScopedFindHandle(const ScopedFindHandle&) = delete;
  ScopedFindHandle& operator=(const ScopedFindHandle&) = delete;
  bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

class FileByteSource : public ByteSource {
 public:
  FileByteSource(HANDLE handle, uint64_t size) : file_(handle), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* buffer, size_t count) override {
    if (offset > size_ || count > size_ - offset) return false;
    char* out = static_cast<char*>(buffer);
    while (count > 0) {
      OVERLAPPED at = {};
      at.Offset = static_cast<DWORD>(offset);
      at.OffsetHigh = static_cast<DWORD>(offset >> 32);
      DWORD chunk = count > 0x10000000 ? 0x10000000 : static_cast<DWORD>(count);
      DWORD got = 0;
      if (!ReadFile(file_.Get(), out, chunk, &got, &at) || got == 0) return false;
      out += got;
      offset += got;
      count -= got;
    }
    return true;
  }

 private:
  ScopedFileHandle file_;
  uint64_t size_;
};

DWORD Attributes(const WString& path) { return GetFileAttributesA(path.Ansi()); }

bool WriteAll(HANDLE file, const char* data, size_t size) {
  while (size > 0) {
    DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
    DWORD put = 0;
    if (!WriteFile(file, data, chunk, &put, nullptr) || put != chunk) return false;
    data += put;
    size -= put;
  }
  return true;
}

class Win32FileSystem : public FileSystem {
 public:
  bool Exists(const WString& path) override { return !path.IsEmpty() && Attributes(path) != INVALID_FILE_ATTRIBUTES; }

  bool IsDirectory(const WString& path) override {
    DWORD attributes = path.IsEmpty() ? INVALID_FILE_ATTRIBUTES : Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  std::unique_ptr<ByteSource> OpenForReading(const WString& path) override {
    if (path.IsEmpty()) return nullptr;
    HANDLE handle = CreateFileA(path.Ansi(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle, &size) || size.QuadPart < 0) {
      CloseHandle(handle);
      return nullptr;
    }
    return std::make_unique<FileByteSource>(handle, static_cast<uint64_t>(size.QuadPart));
  }

  bool IsReadOnly(const WString& path) override {
    DWORD attributes = path.IsEmpty() ? INVALID_FILE_ATTRIBUTES : Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
  }

  bool ClearReadOnly(const WString& path) override {
    DWORD attributes = path.IsEmpty() ? INVALID_FILE_ATTRIBUTES : Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if (!(attributes & FILE_ATTRIBUTE_READONLY)) return true;
    return SetFileAttributesA(path.Ansi(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY)) != 0;
  }

  bool RemoveFile(const WString& path) override { return !path.IsEmpty() && DeleteFileA(path.Ansi()) != 0; }

  bool WriteFileReplacing(const WString& path, const void* data, size_t size) override {
    if (path.IsEmpty()) return false;
    std::string target = path.ToAnsi();
    DWORD attributes = GetFileAttributesA(target.c_str());
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) return false;

    FilePath split(path);
    std::string folder = split.Folder().IsEmpty() ? std::string(".") : split.Folder().ToAnsi();
    char temp[MAX_PATH + 1];
    if (!GetTempFileNameA(folder.c_str(), "mrl", 0, temp)) return false;
    bool ok;
    {
      ScopedFileHandle file(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
      ok = file.IsValid() && WriteAll(file.Get(), static_cast<const char*>(data), size) &&
           FlushFileBuffers(file.Get()) && file.Close();
    }
    if (ok) {
      // ReplaceFile keeps the target's attributes and security; a new file is moved.
      ok = exists ? ReplaceFileA(target.c_str(), temp, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                  : MoveFileExA(temp, target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
      if (!ok && exists)
        ok = MoveFileExA(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    if (!ok) DeleteFileA(temp);
    return ok;
  }

  bool ListFolder(const WString& folder, std::vector<FolderEntry>& entries) override {
    entries.clear();
    if (folder.IsEmpty()) return false;
    // The separator test is made on wide text: in Shift-JIS 0x5C can be a trail byte.
    WString wide = folder;
    if (!FilePath::IsSeparator(wide[wide.Length() - 1])) wide.Append(u'\\');
    std::string pattern = wide.ToAnsi() + "*.*";
    WIN32_FIND_DATAA found;
    ScopedFindHandle find(FindFirstFileA(pattern.c_str(), &found));
    if (!find.IsValid()) return false;
    do {
      if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0) continue;
      entries.push_back({WString::FromAnsi(found.cFileName), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(find.Get(), &found));
    return true;
  }

  bool Identify(const WString& path, FileIdentity& identity) override {
    if (path.IsEmpty()) return false;
    // Backup semantics opens folders too; junctions and links are followed to
    // what they lead to.
    ScopedFileHandle file(CreateFileA(path.Ansi(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (!file.IsValid() || !GetFileInformationByHandle(file.Get(), &information)) return false;
    identity.volume = information.dwVolumeSerialNumber;
    identity.index = (static_cast<uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    return true;
  }
};

}  // namespace

FileSystem& PlatformFileSystem() {
  static Win32FileSystem fileSystem;
  return fileSystem;
}
