// The lab's answer to "which computer is this" and "what time is it".
#include "platform/lab/lab_machine.h"

#include <ctime>

LocalDateTime LabMachine::LocalTime() {
  if (pinnedTime_) return *pinnedTime_;
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  if (local == nullptr) return {};
  return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour, local->tm_min, local->tm_sec};
}
