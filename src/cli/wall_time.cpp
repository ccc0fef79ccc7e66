// The computer's clock in local time, as the files a command writes name it.
#include <chrono>
#include <ctime>

#include "cli/cli_context.h"
#include "common/text_format.h"

WallTime LocalWallTime() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  // The commands run on one thread when they read the clock, so the shared result is safe to copy.
  const std::tm* local = std::localtime(&now);
  if (local == nullptr) return {};
  return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour, local->tm_min, local->tm_sec};
}

std::wstring WallTimeText(const WallTime& time) {
  const auto two = [](int number) { return (number < 10 ? L"0" : L"") + std::to_wstring(number); };
  return FormatText(L"%d-%s-%s %s:%s:%s",
                    {time.year, two(time.month), two(time.day), two(time.hour), two(time.minute), two(time.second)});
}
