#pragma once
// Random-access bytes to parse: a file, or a memory buffer in tests and fuzzers.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads exactly count bytes at offset; false (and nothing promised in buffer) when
  // the range is not inside the source or the read fails.
  virtual bool ReadAt(uint64_t offset, void* buffer, size_t count) = 0;

  // The whole range [offset, offset + count) or false.
  bool ReadBytes(uint64_t offset, size_t count, std::string& out);
};

class MemoryByteSource : public ByteSource {
 public:
  MemoryByteSource(const void* data, size_t size)
      : data_(static_cast<const unsigned char*>(data)), size_(size) {}
  explicit MemoryByteSource(const std::string& bytes) : MemoryByteSource(bytes.data(), bytes.size()) {}
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* buffer, size_t count) override;

 private:
  const unsigned char* data_;
  size_t size_;
};
