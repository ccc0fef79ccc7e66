// This computer's name, its clocks and its data folder, from the real system.
#include "platform/win32/machine_win32.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <memory>

Status Win32Machine::QueryComputerName(std::wstring* name) {
  // Room for 255 characters, as the program has always asked for, beyond the NetBIOS limit of 15.
  wchar_t buffer[256] = {};
  DWORD chars = 256;
  if (!GetComputerNameW(buffer, &chars)) return GetLastError();
  name->assign(buffer, chars);
  return status::Success;
}

std::uint64_t Win32Machine::NowMilliseconds() { return GetTickCount64(); }

void Win32Machine::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

LocalDateTime Win32Machine::LocalTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

Status Win32Machine::QueryProgramDataFolder(std::wstring* folder) {
  PWSTR path = nullptr;
  const HRESULT result = SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &path);
  // The shell hands the text over whatever the result; it is ours to free on every path.
  const std::unique_ptr<wchar_t, decltype(&CoTaskMemFree)> owned(path, &CoTaskMemFree);
  if (FAILED(result)) return HRESULT_FACILITY(result) == FACILITY_WIN32 ? HRESULT_CODE(result) : status::FileNotFound;
  *folder = path;
  return status::Success;
}
