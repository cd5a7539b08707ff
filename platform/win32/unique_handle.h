// Owning wrapper for kernel handles that are released with CloseHandle.
#pragma once

#include <windows.h>

#include <utility>

namespace notavo::win32 {

class UniqueHandle {
 public:
  UniqueHandle() = default;
  // Takes ownership; both nullptr and INVALID_HANDLE_VALUE count as empty.
  explicit UniqueHandle(HANDLE handle) : FHandle(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : FHandle(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  HANDLE Get() const { return FHandle; }
  bool Valid() const { return FHandle != nullptr && FHandle != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return Valid(); }

  HANDLE Release() { return std::exchange(FHandle, nullptr); }
  void Reset(HANDLE handle = nullptr) {
    HANDLE old = std::exchange(FHandle, handle);
    if (old != nullptr && old != INVALID_HANDLE_VALUE) ::CloseHandle(old);
  }
  // Closes now and reports whether CloseHandle succeeded; a failed close of a
  // file just written means the data may not have reached the disk.
  bool Close() {
    HANDLE old = std::exchange(FHandle, nullptr);
    return old == nullptr || old == INVALID_HANDLE_VALUE || ::CloseHandle(old) != 0;
  }

 private:
  HANDLE FHandle = nullptr;
};

}  // namespace notavo::win32
