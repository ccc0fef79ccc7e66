// How long the window goes without repainting while a server on a slow network is gathered.
//
//   repaint_gap_bench
//
// One gathering (GetNodeInfo) of node-b, a bare server whose every remote call (20 of them) takes the
// benchmark's argument in milliseconds (2000), made the way the wizard makes it: through its responsive remote calls,
// whose pump here only notes the time. Counters: max_gap_ms = the longest stretch without a pump, from the gathering's
// start to its end (the window's repaints; the goal is under 100 ms); mean_gap_ms; pumps; calls. At 2 s a call one run
// takes about 40 s, so it is a program of its own and gathering_bench stays short.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "nodes/cnode.h"
#include "platform/lab/lab.h"
#include "support/cluster_server.h"
#include "support/discarding_sinks.h"
#include "support/temp_lab.h"
#include "wizard/responsive_remote_calls.h"

namespace {

using Clock = std::chrono::steady_clock;

void BM_RepaintGapWhileGathering(benchmark::State& state) {
  const auto latencyMs = state.range(0);
  TempLab temp;
  AddBareServer(temp, L"node-b");
  temp.WriteServerFile(L"node-b", "faults.conf", "latency-ms = " + std::to_string(latencyMs) + "\n");
  const std::unique_ptr<Lab> lab = temp.Load();
  if (!lab) {
    state.SkipWithError("the benchmark's lab did not load");
    return;
  }
  DiscardingLog log;
  DiscardingBox box;
  Platform platform = lab->MakePlatform();
  std::vector<Clock::time_point> pumps;
  pumps.reserve(4096);
  ResponsiveRemoteCalls remoteCalls(platform, [&pumps] { pumps.push_back(Clock::now()); });
  cNode node(remoteCalls.ForGathering(), log, box);
  node.HostName = L"node-b";
  node.AutoStartDomain = L"ha1";

  double maxGapMs = 0;
  double sumGapsMs = 0;
  std::size_t gaps = 0;
  const auto callsBefore = lab->RemoteCallCount();
  for (auto _ : state) {
    pumps.clear();
    const Clock::time_point start = Clock::now();
    const Status rc = node.GetNodeInfo();
    const Clock::time_point end = Clock::now();
    if (rc != 0 || box.shown) {
      state.SkipWithError("the gathering failed");
      return;
    }
    // The stretches the window went unpainted: start to first pump, pump to pump, last pump to end.
    Clock::time_point previous = start;
    pumps.push_back(end);
    for (const Clock::time_point pump : pumps) {
      const double gapMs = std::chrono::duration<double, std::milli>(pump - previous).count();
      maxGapMs = std::max(maxGapMs, gapMs);
      sumGapsMs += gapMs;
      ++gaps;
      previous = pump;
    }
  }
  state.counters["max_gap_ms"] = maxGapMs;
  state.counters["mean_gap_ms"] = gaps > 0 ? sumGapsMs / static_cast<double>(gaps) : 0.0;
  state.counters["pumps"] = static_cast<double>(gaps > 0 ? gaps - 1 : 0);
  state.counters["calls"] = static_cast<double>(lab->RemoteCallCount() - callsBefore);
}
BENCHMARK(BM_RepaintGapWhileGathering)->Arg(2000)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
