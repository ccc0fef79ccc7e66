// One holder for every handle the program opens (registry key, service handle, kernel object, library, file).
#pragma once

#include <cassert>
#include <utility>

#include "common/status.h"

// Owns one handle and closes it on every path. What a handle is, which value means "none" and how
// it is closed come from `Traits`:
//
//   struct Traits {
//     using Handle = ...;
//     static Handle Null();              // what an empty holder holds
//     static bool IsValid(Handle h);     // false for Null() and for any other "no handle" value
//     Status Close(Handle h) const;      // 0, or the code of the failed close
//   };
//
// Traits may carry state (the interface that opened the handle and closes it again); a holder
// keeps its traits when it is closed or moved from, so that it can receive a new handle.
// Move-only: there is exactly one owner of each handle.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  // Empty, for an open call to write into through Receive(); `traits` closes what it receives.
  explicit UniqueHandle(Traits traits) : traits_(std::move(traits)) {}
  // Takes over `handle`, which may be a "no handle" value as an open call returned it.
  explicit UniqueHandle(Handle handle, Traits traits = Traits()) : traits_(std::move(traits)), handle_(handle) {}

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : traits_(other.traits_), handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Close();
      traits_ = other.traits_;
      handle_ = other.Release();
    }
    return *this;
  }
  ~UniqueHandle() { Close(); }

  Handle get() const { return handle_; }
  bool IsOpen() const { return Traits::IsValid(handle_); }

  // Where an open call writes the new handle. The holder must be empty (closed) already: a
  // handle it still held would be lost.
  Handle* Receive() {
    assert(!IsOpen());
    return &handle_;
  }

  // Closes the handle now and empties the holder. 0, or the code of the failed close: a failed
  // close of a written file can mean lost data. Closing an empty holder does nothing.
  Status Close() {
    if (!IsOpen()) {
      handle_ = Traits::Null();
      return status::Success;
    }
    return traits_.Close(std::exchange(handle_, Traits::Null()));
  }

  // Gives the handle up without closing it; the holder is empty afterwards.
  [[nodiscard]] Handle Release() { return std::exchange(handle_, Traits::Null()); }

 private:
  Traits traits_{};
  Handle handle_ = Traits::Null();
};
