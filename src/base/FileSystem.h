#pragma once
// The few file operations the portable core needs. Paths are wide text; each
// platform converts them as it must (ANSI on Windows, UTF-8 elsewhere). Both follow
// Windows naming rules: "\" and "/" separate, names match without regard to ASCII
// case, and trailing dots and spaces of a name are ignored.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/ByteSource.h"
#include "base/WString.h"

// One entry of a folder listing.
struct FolderEntry {
  WString name;
  bool isFolder = false;  // a link or junction to a folder counts as a folder
};

// Which file or folder a path leads to, however it is reached (links, junctions,
// other spellings of the name): the same one gives the same identity.
struct FileIdentity {
  uint64_t volume = 0;
  uint64_t index = 0;
  bool operator==(const FileIdentity& other) const { return volume == other.volume && index == other.index; }
  bool operator<(const FileIdentity& other) const {
    return volume != other.volume ? volume < other.volume : index < other.index;
  }
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // A file or a folder of that name exists.
  virtual bool Exists(const WString& path) = 0;
  virtual bool IsDirectory(const WString& path) = 0;
  // Null when the file cannot be opened for reading (others may read it too).
  virtual std::unique_ptr<ByteSource> OpenForReading(const WString& path) = 0;
  // Replaces the file's content with these bytes, or creates it. The bytes go to a
  // temporary file in the same folder first, which replaces the target only after a
  // complete write; on failure the target is left as it was. A read-only target fails.
  virtual bool WriteFileReplacing(const WString& path, const void* data, size_t size) = 0;
  virtual bool IsReadOnly(const WString& path) = 0;
  // Lets the file be written again; true when it is writable afterwards.
  virtual bool ClearReadOnly(const WString& path) { return false; }
  // Deletes a file (never a folder); false when it is not there or stays.
  virtual bool RemoveFile(const WString& path) { return false; }
  // Replaces entries with the folder's entries in the order the file system gives
  // them, "." and ".." left out. False when the folder cannot be listed (a file
  // system that cannot list folders at all always answers false).
  virtual bool ListFolder(const WString& folder, std::vector<FolderEntry>& entries) { return false; }
  // False when the path leads nowhere or cannot be identified.
  virtual bool Identify(const WString& path, FileIdentity& identity) { return false; }
};

// The file system of the platform the program runs on.
FileSystem& PlatformFileSystem();

// Passes every operation on to another file system; a wrapper that watches or
// changes a few operations overrides only those.
class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& inner = PlatformFileSystem()) : inner_(inner) {}
  bool Exists(const WString& path) override { return inner_.Exists(path); }
  bool IsDirectory(const WString& path) override { return inner_.IsDirectory(path); }
  std::unique_ptr<ByteSource> OpenForReading(const WString& path) override { return inner_.OpenForReading(path); }
  bool WriteFileReplacing(const WString& path, const void* data, size_t size) override {
    return inner_.WriteFileReplacing(path, data, size);
  }
  bool IsReadOnly(const WString& path) override { return inner_.IsReadOnly(path); }
  bool ClearReadOnly(const WString& path) override { return inner_.ClearReadOnly(path); }
  bool RemoveFile(const WString& path) override { return inner_.RemoveFile(path); }
  bool ListFolder(const WString& folder, std::vector<FolderEntry>& entries) override {
    return inner_.ListFolder(folder, entries);
  }
  bool Identify(const WString& path, FileIdentity& identity) override { return inner_.Identify(path, identity); }

 private:
  FileSystem& inner_;
};
