// The computer's clock in local time, as the files a command writes name it.
#include <chrono>
#include <ctime>

#include "cli/cli_context.h"

ReportTime LocalWallTime() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  // Read on the command's own thread before any server is read, so the shared result is safe to copy.
  const std::tm* local = std::localtime(&now);
  if (local == nullptr) return {};
  return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour, local->tm_min, local->tm_sec};
}
