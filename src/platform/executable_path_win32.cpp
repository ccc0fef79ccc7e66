// The running executable's path, from GetModuleFileNameW.
#include "platform/executable_path.h"

#include <windows.h>

#include <string>

std::filesystem::path ExecutablePath() {
  // A path may be longer than MAX_PATH; a full buffer means the name was cut, so try a larger one.
  for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
    std::wstring path(size, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
    if (length == 0) return {};
    if (length < size) {
      path.resize(length);
      return std::filesystem::path(path);
    }
  }
  return {};
}
