// This computer's name and the tick clock, from the real system.
#include "platform/win32/machine_win32.h"

#include <windows.h>

Status Win32Machine::QueryComputerName(std::wstring* name) {
  // Room for 255 characters, as the program has always asked for, beyond the NetBIOS limit of 15.
  wchar_t buffer[256] = {};
  DWORD chars = 256;
  if (!GetComputerNameW(buffer, &chars)) return GetLastError();
  name->assign(buffer, chars);
  return status::Success;
}

std::uint64_t Win32Machine::NowMilliseconds() { return GetTickCount64(); }
