#pragma once
// Memory bytes that fail the test when a reader asks for anything outside them.

#include <gtest/gtest.h>

#include <string>

#include "base/ByteSource.h"

class CheckedSource : public ByteSource {
 public:
  explicit CheckedSource(std::string bytes) : bytes_(std::move(bytes)) {}
  uint64_t Size() const override { return bytes_.size(); }
  bool ReadAt(uint64_t offset, void* buffer, size_t count) override {
    if (offset > bytes_.size() || count > bytes_.size() - offset) {
      ADD_FAILURE() << "read of " << count << " bytes at " << offset << " outside " << bytes_.size();
      return false;
    }
    bytes_.copy(static_cast<char*>(buffer), count, static_cast<size_t>(offset));
    return true;
  }

 private:
  std::string bytes_;
};
