// Owns a POSIX file descriptor and closes it on every path: the holder of the Linux-only files.
#pragma once

#include <unistd.h>

#include <cerrno>

#include "common/unique_handle.h"

struct FileDescriptorTraits {
  using Handle = int;
  static Handle Null() { return -1; }
  static bool IsValid(Handle fd) { return fd >= 0; }
  // errno of the failed close(2).
  Status Close(Handle fd) const { return ::close(fd) == 0 ? 0 : static_cast<Status>(errno); }
};

using ScopedFd = UniqueHandle<FileDescriptorTraits>;
