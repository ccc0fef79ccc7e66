// SetupLogKit: appends each call as one line to the installation log, one write per line.
#include "setuplogkit/setuplogkit.h"

#include <chrono>
#include <ctime>
#include <string>

#include "setuplogkit/log_file.h"
#include "setuplogkit/log_line.h"

namespace {
LogTime Now() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  const std::tm local = LocalCalendarTime(seconds);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,           local.tm_hour,
          local.tm_min,         local.tm_sec,     static_cast<int>(millis)};
}
}  // namespace

extern "C" int KOVA_WriteToInstallLogFile(const wchar_t* source, const wchar_t* message, int messageClass,
                                          int /*target*/) {
  const std::string line =
      FormatLogLine(Now(), source ? source : L"", messageClass, message ? message : L"", kLogLineEnd);
  return AppendToLogFile(line);
}
