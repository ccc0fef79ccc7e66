// SetupLogKit's log file on Windows: %ProgramData%\Zandor\Logs\InstallLog.txt, appended with CreateFileW.
#include <windows.h>

#include "platform/win32/scoped_handle.h"
#include "setuplogkit/log_file.h"
#include "setuplogkit/setuplogkit.h"

const char* const kLogLineEnd = "\r\n";

std::tm LocalCalendarTime(std::time_t seconds) {
  std::tm local{};
  localtime_s(&local, &seconds);
  return local;
}

namespace {
std::wstring LogFilePath() {
  wchar_t buffer[32768];
  DWORD length = GetEnvironmentVariableW(L"" SETUPLOGKIT_LOG_FILE_VARIABLE, buffer, 32768);
  if (length > 0 && length < 32768) return std::wstring(buffer, length);
  length = GetEnvironmentVariableW(L"ProgramData", buffer, 32768);
  std::wstring folder = (length > 0 && length < 32768) ? std::wstring(buffer, length) : L"C:\\ProgramData";
  folder += L"\\Zandor";
  CreateDirectoryW(folder.c_str(), nullptr);
  folder += L"\\Logs";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder + L"\\InstallLog.txt";
}
}  // namespace

int AppendToLogFile(const std::string& line) {
  const std::wstring path = LogFilePath();
  // Append access without write access makes every WriteFile land at the end, so nothing is
  // ever overwritten or truncated. Writers also take turns through a lock on one byte far past
  // any real log's end: Windows already appends each call whole, but not every implementation of
  // its API does, and two processes' lines must never mix.
  ScopedHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA | FILE_READ_DATA | SYNCHRONIZE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) return static_cast<int>(GetLastError());
  OVERLAPPED turn{};
  turn.Offset = 0xFFFFFFF0u;
  const bool locked = LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &turn) != FALSE;
  DWORD written = 0;
  const BOOL ok = WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  const int rc = ok && written == line.size() ? 0 : static_cast<int>(GetLastError());
  if (locked) UnlockFileEx(file.get(), 0, 1, 0, &turn);
  return rc;
}
