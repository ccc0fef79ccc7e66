// Calls that cross the lab's pretend network: counted, and as slow as the server is told to be.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// The server a machine name reaches, in lower case, as the registry and the service manager
// both read the name: "node-b" or "\\node-b", in any letter case. Empty when the name can reach
// no server: empty, or a backslash left after the one leading "\\" (so "\\\\node-b", which the
// wizard makes of a node typed as "\\node-b", reaches nothing, as on Windows).
std::wstring ServerOfMachineName(const std::wstring& machineName);

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
