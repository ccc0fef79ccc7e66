// What a planted stand-in does once it is loaded or run: it leaves a line in the marker file, so a test sees it.
#pragma once

#include <windows.h>

#include "platform/win32/scoped_handle.h"

// The variable naming the marker file; the tests set it for themselves and the processes they start.
inline constexpr wchar_t kPlantedMarkerVariable[] = L"DUPLEX_TEST_PLANTED_MARKER";

// Appends "<who>\r\n" to the marker file. Kernel calls only: it also runs inside DllMain.
inline void LeavePlantedMarker(const char* who) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(kPlantedMarkerVariable, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  const ScopedHandle file(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) return;
  DWORD written = 0;
  WriteFile(file.get(), who, static_cast<DWORD>(lstrlenA(who)), &written, nullptr);
  WriteFile(file.get(), "\r\n", 2, &written, nullptr);
}
