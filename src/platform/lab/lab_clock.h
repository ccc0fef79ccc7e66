// The lab's time: what the lab's machine tells as its clock, and what waits for its slow processes move on.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

// This machine's steady clock plus an advance that only waits add to: a wait for a process that
// the lab makes slow (`process-delay-ms`) moves the clock on instead of sleeping.
class LabClock {
 public:
  std::uint64_t Now() const { return SteadyMilliseconds() + advance_.load(); }
  void Advance(std::uint64_t milliseconds) { advance_ += milliseconds; }

 private:
  static std::uint64_t SteadyMilliseconds() {
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
  }

  std::atomic<std::uint64_t> advance_{0};
};
