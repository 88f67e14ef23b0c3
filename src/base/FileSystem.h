#pragma once
// The few file operations the portable core needs. Paths are wide text; each
// platform converts them as it must (ANSI on Windows, UTF-8 elsewhere). Both follow
// Windows naming rules: "\" and "/" separate, names match without regard to ASCII
// case, and trailing dots and spaces of a name are ignored.

#include <cstddef>
#include <memory>

#include "base/ByteSource.h"
#include "base/WString.h"

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
};

// The file system of the platform the program runs on.
FileSystem& PlatformFileSystem();
