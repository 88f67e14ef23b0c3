// Files off Windows. Names follow Windows rules so that the same lyrics and song
// folders behave alike: "\" separates like "/", trailing dots and spaces of a name
// are ignored, and a name that does not exist as written matches an entry that
// differs only in ASCII case.
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "base/FileSystem.h"

namespace {

std::string NativePath(const WString& path) {
  std::string utf8 = path.ToUtf8();
  for (char& c : utf8)
    if (c == '\\') c = '/';
  return utf8;
}

bool StatPath(const std::string& path, struct stat& info) { return ::stat(path.c_str(), &info) == 0; }

std::string StripTrailingDotsAndSpaces(const std::string& name) {
  if (name == "." || name == "..") return name;
  size_t end = name.size();
  while (end > 0 && (name[end - 1] == '.' || name[end - 1] == ' ')) --end;
  return end == 0 ? name : name.substr(0, end);
}

// The real path of an existing file or folder named the Windows way, or "".
std::string Resolve(const std::string& path) {
  if (path.empty()) return std::string();
  struct stat info;
  if (StatPath(path, info)) return path;
  std::string current = path[0] == '/' ? "/" : "";
  size_t pos = 0;
  while (pos < path.size()) {
    size_t next = path.find('/', pos);
    std::string part = path.substr(pos, next == std::string::npos ? std::string::npos : next - pos);
    pos = next == std::string::npos ? path.size() : next + 1;
    if (part.empty()) continue;
    part = StripTrailingDotsAndSpaces(part);
    std::string candidate = current + part;
    if (!StatPath(candidate, info)) {
      DIR* dir = ::opendir(current.empty() ? "." : current.c_str());
      if (!dir) return std::string();
      std::string found;
      while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (strcasecmp(name.c_str(), part.c_str()) == 0 ||
            strcasecmp(StripTrailingDotsAndSpaces(name).c_str(), part.c_str()) == 0) {
          found = name;
          break;
        }
      }
      ::closedir(dir);
      if (found.empty()) return std::string();
      candidate = current + found;
    }
    current = candidate;
    if (pos < path.size()) current += '/';
  }
  if (!current.empty() && current.back() == '/' && current.size() > 1) current.pop_back();
  return StatPath(current, info) ? current : std::string();
}

class DirHandle {
 public:
  explicit DirHandle(DIR* dir) : dir_(dir) {}
  ~DirHandle() {
    if (dir_) ::closedir(dir_);
  }
  DirHandle(const DirHandle&) = delete;
  DirHandle& operator=(const DirHandle&) = delete;
  DIR* Get() const { return dir_; }

 private:
  DIR* dir_;
};

class FileByteSource : public ByteSource {
 public:
  FileByteSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
  ~FileByteSource() override { ::close(fd_); }
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* buffer, size_t count) override {
    if (offset > size_ || count > size_ - offset) return false;
    char* out = static_cast<char*>(buffer);
    while (count > 0) {
      ssize_t got = ::pread(fd_, out, count, static_cast<off_t>(offset));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;
      out += got;
      offset += static_cast<uint64_t>(got);
      count -= static_cast<size_t>(got);
    }
    return true;
  }

 private:
  int fd_;
  uint64_t size_;
};

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t put = ::write(fd, data, size);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    data += put;
    size -= static_cast<size_t>(put);
  }
  return true;
}

class PosixFileSystem : public FileSystem {
 public:
  bool Exists(const WString& path) override { return !Resolve(NativePath(path)).empty(); }

  bool IsDirectory(const WString& path) override {
    std::string real = Resolve(NativePath(path));
    struct stat info;
    return !real.empty() && StatPath(real, info) && S_ISDIR(info.st_mode);
  }

  std::unique_ptr<ByteSource> OpenForReading(const WString& path) override {
    std::string real = Resolve(NativePath(path));
    if (real.empty()) return nullptr;
    int fd = ::open(real.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<FileByteSource>(fd, static_cast<uint64_t>(info.st_size));
  }

  bool IsReadOnly(const WString& path) override {
    std::string real = Resolve(NativePath(path));
    struct stat info;
    return !real.empty() && StatPath(real, info) && !(info.st_mode & S_IWUSR);
  }

  bool ClearReadOnly(const WString& path) override {
    std::string real = Resolve(NativePath(path));
    struct stat info;
    if (real.empty() || !StatPath(real, info)) return false;
    return (info.st_mode & S_IWUSR) || ::chmod(real.c_str(), (info.st_mode & 07777) | S_IWUSR) == 0;
  }

  bool RemoveFile(const WString& path) override {
    std::string real = Resolve(NativePath(path));
    struct stat info;
    if (real.empty() || !StatPath(real, info) || S_ISDIR(info.st_mode)) return false;
    return ::unlink(real.c_str()) == 0;
  }

  bool WriteFileReplacing(const WString& path, const void* data, size_t size) override {
    std::string target = NativePath(path);
    std::string existing = Resolve(target);
    mode_t mode = 0644;
    if (!existing.empty()) {
      struct stat info;
      if (!StatPath(existing, info) || !S_ISREG(info.st_mode) || !(info.st_mode & S_IWUSR)) return false;
      target = existing;
      mode = info.st_mode & 07777;
    } else {
      // A new file in a folder that may be named the Windows way.
      size_t slash = target.rfind('/');
      if (slash != std::string::npos && slash > 0) {
        std::string folder = Resolve(target.substr(0, slash));
        if (folder.empty()) return false;
        target = folder + target.substr(slash);
      }
    }
    size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? std::string(".") : target.substr(0, slash == 0 ? 1 : slash);
    std::string temp = folder + (folder.back() == '/' ? "" : "/") + ".mrlyrics-save-XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) return false;
    bool ok = WriteAll(fd, static_cast<const char*>(data), size) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(name.data(), target.c_str()) == 0;
    if (!ok) ::unlink(name.data());
    return ok;
  }

  bool ListFolder(const WString& folder, std::vector<FolderEntry>& entries) override {
    entries.clear();
    std::string real = Resolve(NativePath(folder));
    if (real.empty()) return false;
    DirHandle dir(::opendir(real.c_str()));
    if (!dir.Get()) return false;
    if (real.back() != '/') real += '/';
    for (;;) {
      errno = 0;
      const dirent* entry = ::readdir(dir.Get());
      // A read error part-way counts as a folder that cannot be listed.
      if (!entry) return errno == 0;
      const char* name = entry->d_name;
      if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
      bool isFolder = entry->d_type == DT_DIR;
      if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
        // Links are followed, as Windows follows junctions.
        struct stat info;
        isFolder = StatPath(real + name, info) && S_ISDIR(info.st_mode);
      }
      entries.push_back({WString::FromUtf8(name), isFolder});
    }
  }

  bool Identify(const WString& path, FileIdentity& identity) override {
    std::string real = Resolve(NativePath(path));
    struct stat info;
    if (real.empty() || !StatPath(real, info)) return false;
    identity.volume = static_cast<uint64_t>(info.st_dev);
    identity.index = static_cast<uint64_t>(info.st_ino);
    return true;
  }
};

}  // namespace

FileSystem& PlatformFileSystem() {
  static PosixFileSystem fileSystem;
  return fileSystem;
}
