// How a C runtime file descriptor is held: one traits type for every system, given the system's close call.
#pragma once

#include <cerrno>

#include "common/status.h"

// UniqueHandle traits for a descriptor closed by `CloseFd` (close(2) on POSIX, _close on Windows).
template <int (*CloseFd)(int)>
struct DescriptorTraits {
  using Handle = int;
  static Handle Null() { return -1; }
  static bool IsValid(Handle fd) { return fd >= 0; }
  // errno of the failed close: a failing close may be the write that failed.
  Status Close(Handle fd) const { return CloseFd(fd) == 0 ? status::Success : static_cast<Status>(errno); }
};
