// Calls that cross the lab's pretend network: counted, and as slow as the server is told to be.
#include "platform/lab/remote_calls.h"

#include <algorithm>
#include <thread>

#include "common/text_case.h"

namespace {
using Clock = std::chrono::steady_clock;
// A sleep wakes some tens of microseconds late; the last stretch is spun instead.
constexpr std::chrono::microseconds kSpinMargin{100};

void WaitPrecisely(Clock::time_point deadline) {
  if (deadline - Clock::now() > kSpinMargin) std::this_thread::sleep_until(deadline - kSpinMargin);
  while (Clock::now() < deadline) {
  }
}
}  // namespace

void RemoteCalls::Make(std::chrono::nanoseconds latency) {
  ++count_;
  if (latency <= std::chrono::nanoseconds::zero()) return;
  // Even a spin now and then ends a little late (the thread was descheduled): making it up on
  // the thread's next call keeps its run of calls at calls x latency, which is what a benchmark
  // adds up. How late this thread's waits have ended so far:
  thread_local Clock::duration late{0};
  const Clock::duration wanted = std::chrono::duration_cast<Clock::duration>(latency);
  const Clock::duration repaid = std::min(late, wanted);
  const Clock::time_point deadline = Clock::now() + (wanted - repaid);
  WaitPrecisely(deadline);
  late += (Clock::now() - deadline) - repaid;
}

std::wstring ServerOfMachineName(const std::wstring& machineName) {
  const bool prefixed = machineName.size() >= 2 && machineName[0] == L'\\' && machineName[1] == L'\\';
  std::wstring host = prefixed ? machineName.substr(2) : machineName;
  if (host.find(L'\\') != std::wstring::npos) return {};
  return ToLowerAscii(std::move(host));
}
