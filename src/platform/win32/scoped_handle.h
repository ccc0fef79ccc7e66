// Owns a kernel object handle (file, process, thread, event) and closes it on every path.
#pragma once

#include <windows.h>

#include "common/unique_handle.h"

struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Null() { return nullptr; }
  // CreateFileW fails with INVALID_HANDLE_VALUE, most other calls with null.
  static bool IsValid(Handle handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  Status Close(Handle handle) const { return ::CloseHandle(handle) ? status::Success : GetLastError(); }
};

using ScopedHandle = UniqueHandle<KernelHandleTraits>;
