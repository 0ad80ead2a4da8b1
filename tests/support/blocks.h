#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "host/bytes.h"

// A counted block laid out as the image lays one out, for tests that need
// blocks of their own.
class OwnedBytes {
 public:
  explicit OwnedBytes(std::string_view contents) : storage_(1 + (contents.size() + 3) / 4) {
    storage_[0] = static_cast<int32_t>(contents.size());
    std::memcpy(storage_.data() + 1, contents.data(), contents.size());
  }
  const Bytes& Get() const { return *reinterpret_cast<const Bytes*>(storage_.data()); }

 private:
  std::vector<int32_t> storage_;
};
