// Calls that cross the lab's pretend network: counted, and as slow as the server is told to be.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

// The server a machine name reaches, in lower case, as the registry and the service manager
// both read the name: "node-b" or "\\node-b", in any letter case. Empty when the name can reach
// no server: empty, or a backslash left after the one leading "\\" (so "\\\\node-b", which the
// wizard makes of a node typed as "\\node-b", reaches nothing, as on Windows).
std::wstring ServerOfMachineName(const std::wstring& machineName);

// Servers may be read on several threads at once; each thread's calls wait in turn, side by side
// with the other threads', as calls to different servers do on a network.
class RemoteCalls {
 public:
  // One remote call, which takes `latency` longer than the lab itself needs. Benchmarks of slow
  // networks add up thousands of these, so the wait ends within microseconds of its deadline.
  void Make(std::chrono::nanoseconds latency);
  std::uint64_t Count() const { return count_.load(); }

 private:
  std::atomic<std::uint64_t> count_{0};
};
