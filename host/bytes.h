#pragma once

#include <cstdint>

// A counted block of bytes exactly as the image holds an embedded file: a
// signed 32-bit length, then that many bytes right behind it. Blocks are only
// ever referred to where they lie, never copied.
struct Bytes {
  int32_t length;

  const unsigned char* Data() const { return reinterpret_cast<const unsigned char*>(this) + sizeof(length); }
};
