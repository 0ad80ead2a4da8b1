#include "host/text.h"

#include <windows.h>

#include <cstring>
#include <utility>

#include "host/memory.h"

namespace {

char* CopyOf(const char* bytes, int32_t length, int32_t room) {
  char* copy = static_cast<char*>(AllocateOrStop(room + 1));
  std::memcpy(copy, bytes, static_cast<size_t>(length));
  copy[length] = '\0';
  return copy;
}

}  // namespace

Text::Text(const char* bytes, int32_t length) {
  if (length > 0) {
    bytes_ = CopyOf(bytes, length, length);
    length_ = length;
  }
}

Text::Text(const char* zero_terminated) : Text(zero_terminated, lstrlenA(zero_terminated)) {}

Text::Text(Text&& other) noexcept
    : bytes_(std::exchange(other.bytes_, nullptr)), length_(std::exchange(other.length_, 0)) {}

Text& Text::operator=(Text&& other) noexcept {
  if (this != &other) {
    Release(bytes_);
    bytes_ = std::exchange(other.bytes_, nullptr);
    length_ = std::exchange(other.length_, 0);
  }
  return *this;
}

Text::~Text() { Release(bytes_); }

Text Join(const Text& directory, const char* literal) {
  const int32_t tail = lstrlenA(literal);
  Text joined;
  joined.length_ = directory.Length() + tail;
  if (joined.length_ > 0) {
    joined.bytes_ = CopyOf(directory.CStr(), directory.Length(), joined.length_);
    std::memcpy(joined.bytes_ + directory.Length(), literal, static_cast<size_t>(tail) + 1);
  }
  return joined;
}

int32_t LastSeparator(const char* bytes, int32_t length) {
  int32_t last = -1;
  for (int32_t i = 0; i < length; ++i) {
    if (bytes[i] == '\\') {
      last = i;
    } else if (IsDBCSLeadByte(static_cast<BYTE>(bytes[i])) && i + 1 < length) {
      ++i;  // the trail byte, whatever its value
    }
  }
  return last;
}

WideText::WideText(const Text& text) {
  const int32_t units = text.Length() + 1;
  units_ = static_cast<wchar_t*>(AllocateOrStop(units * static_cast<int32_t>(sizeof(wchar_t))));
  units_[0] = L'\0';
  MultiByteToWideChar(CP_ACP, 0, text.CStr(), -1, units_, units);
}

WideText::~WideText() { Release(units_); }
