#pragma once

#include <cstdint>

// A byte string in the system's ANSI code page (936), always zero-terminated
// for the ...A calls. An absent text and the empty text are the same thing.
class Text {
 public:
  Text() = default;
  Text(const char* bytes, int32_t length);
  explicit Text(const char* zero_terminated);
  Text(Text&& other) noexcept;
  Text& operator=(Text&& other) noexcept;
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  ~Text();

  const char* CStr() const { return bytes_ != nullptr ? bytes_ : ""; }
  int32_t Length() const { return length_; }
  bool Empty() const { return length_ == 0; }

 private:
  friend Text Join(const Text& directory, const char* literal);
  char* bytes_ = nullptr;
  int32_t length_ = 0;
};

// Plain byte concatenation: no separator is added or removed.
Text Join(const Text& directory, const char* literal);

// The index of the last backslash that is a character of its own, or -1.
// In code page 936 a 0x5C may be the second byte of a double-byte character
// (0x81 0x5C is one character); such a byte never separates path elements.
int32_t LastSeparator(const char* bytes, int32_t length);

// UTF-16 for the few interfaces that take nothing else; the only place where
// text leaves code page 936.
class WideText {
 public:
  explicit WideText(const Text& text);
  WideText(const WideText&) = delete;
  WideText& operator=(const WideText&) = delete;
  ~WideText();

  const wchar_t* CStr() const { return units_; }

 private:
  wchar_t* units_;
};
