// Owns a kernel object handle (file, process, thread) and closes it on every path.
#pragma once

#ifdef _WIN32
#include <windows.h>

class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = other.handle_;
      other.handle_ = nullptr;
    }
    return *this;
  }
  ~ScopedHandle() { Reset(); }

  HANDLE get() const { return handle_; }
  // CreateFileW fails with INVALID_HANDLE_VALUE, most other calls with null.
  bool IsValid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

  // Closes the handle and reports whether the close succeeded (a failed close can lose written data).
  bool Close() {
    const bool ok = !IsValid() || ::CloseHandle(handle_) != FALSE;
    handle_ = nullptr;
    return ok;
  }
  void Reset() { Close(); }

 private:
  HANDLE handle_ = nullptr;
};
#endif
