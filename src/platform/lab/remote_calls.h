// Calls that cross the lab's pretend network: counted, and as slow as the server is told to be.
#pragma once

#include <chrono>
#include <cstdint>

class RemoteCalls {
 public:
  // One remote call, which takes `latency` longer than the lab itself needs. Benchmarks of slow
  // networks add up thousands of these, so the wait ends within microseconds of its deadline.
  void Make(std::chrono::nanoseconds latency);
  std::uint64_t Count() const { return count_; }

 private:
  std::uint64_t count_ = 0;
  // How much later than asked the waits so far have ended; the next call is that much shorter.
  std::chrono::steady_clock::duration late_{0};
};
