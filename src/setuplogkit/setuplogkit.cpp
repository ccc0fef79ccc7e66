// SetupLogKit: appends each call as one line to the installation log, one write per line.
#include "setuplogkit/setuplogkit.h"

#include <chrono>
#include <ctime>
#include <string>

#include "setuplogkit/log_line.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

LogTime Now() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
          local.tm_min,         local.tm_sec,     static_cast<int>(millis)};
}

#ifdef _WIN32

constexpr const char* kLineEnd = "\r\n";

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

int AppendLine(const std::string& line) {
  const std::wstring path = LogFilePath();
  // Append access without write access makes every WriteFile land at the end, so nothing is
  // ever overwritten or truncated. Writers also take turns through a lock on one byte far past
  // any real log's end: Windows already appends each call whole, but not every implementation of
  // its API does, and two processes' lines must never mix.
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA | FILE_READ_DATA | SYNCHRONIZE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
  OVERLAPPED turn{};
  turn.Offset = 0xFFFFFFF0u;
  const bool locked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &turn) != FALSE;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  const int rc = ok && written == line.size() ? 0 : static_cast<int>(GetLastError());
  if (locked) UnlockFileEx(file, 0, 1, 0, &turn);
  CloseHandle(file);
  return rc;
}

#else

constexpr const char* kLineEnd = "\n";

std::string LogFilePath() {
  if (const char* path = std::getenv(SETUPLOGKIT_LOG_FILE_VARIABLE); path != nullptr && *path != '\0') return path;
  std::string folder;
  if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state != '\0') {
    folder = state;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    folder = std::string(home) + "/.local/state";
  } else {
    folder = "/tmp";
  }
  folder += "/duplex-setup";
  ::mkdir(folder.c_str(), 0755);
  return folder + "/install.log";
}

int AppendLine(const std::string& line) {
  // O_APPEND makes each write(2) land at the end as one piece: no interleaving, no truncation.
  const int fd = ::open(LogFilePath().c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return errno;
  const ssize_t written = ::write(fd, line.data(), line.size());
  const int rc = written == static_cast<ssize_t>(line.size()) ? 0 : (written < 0 ? errno : EIO);
  ::close(fd);
  return rc;
}

#endif

}  // namespace

extern "C" int KOVA_WriteToInstallLogFile(const wchar_t* source, const wchar_t* message, int messageClass,
                                          int /*target*/) {
  const std::string line =
      FormatLogLine(Now(), source ? source : L"", messageClass, message ? message : L"", kLineEnd);
  return AppendLine(line);
}
