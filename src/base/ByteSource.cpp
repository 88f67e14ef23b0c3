#include "base/ByteSource.h"

#include <cstring>

bool ByteSource::ReadBytes(uint64_t offset, size_t count, std::string& out) {
  uint64_t size = Size();
  if (offset > size || count > size - offset) return false;
  out.resize(count);
  return count == 0 || ReadAt(offset, &out[0], count);
}

bool MemoryByteSource::ReadAt(uint64_t offset, void* buffer, size_t count) {
  if (offset > size_ || count > size_ - offset) return false;
  if (count) std::memcpy(buffer, data_ + offset, count);
  return true;
}
