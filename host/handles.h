#pragma once

#include <windows.h>

#include <utility>

// One move-only owner per kind of handle, each with its own empty value and
// its own way of closing.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Detach()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.Detach();
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Close(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Empty(); }
  Handle Detach() { return std::exchange(handle_, Traits::Empty()); }

  // Closes now and tells whether closing succeeded; an empty owner has
  // nothing to close and succeeds.
  bool Close() {
    if (!*this) return true;
    return Traits::Close(Detach());
  }

 private:
  Handle handle_ = Traits::Empty();
};

struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static bool Close(Handle handle) { return CloseHandle(handle) != FALSE; }
};

struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static bool Close(Handle handle) { return FindClose(handle) != FALSE; }
};

using FileHandle = UniqueHandle<FileHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;

// A COM interface pointer that releases what it holds. Creation goes through
// the plain API calls, whose HRESULT the caller keeps and tests.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { Reset(); }

  Interface* operator->() const { return pointer_; }
  Interface* Get() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // For the void** out-parameter of CoCreateInstance and QueryInterface.
  void** PutVoid() {
    Reset();
    return reinterpret_cast<void**>(&pointer_);
  }

  void Reset() {
    if (pointer_ != nullptr) std::exchange(pointer_, nullptr)->Release();
  }

 private:
  Interface* pointer_ = nullptr;
};
