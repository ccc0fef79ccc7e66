// What gathering one server costs: remote calls, CPU time, and wall time on a slow network.
//
//   gathering_bench [--benchmark_filter=...]
//
// Each gathering runs GetNodeInfo against node-b of a lab in a temporary folder: the five named
// connections, the switch address, the feature switch and four services, plus EXTRA further
// adapters. Counters: calls = remote calls per gathering; with a latency of L per call,
// overhead_pct = (wall time - calls x L) / (calls x L), which is all the time the program itself
// adds to what the network costs.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "nodes/cnode.h"
#include "platform/lab/lab.h"
#include "support/cluster_server.h"
#include "support/discarding_sinks.h"
#include "support/temp_lab.h"

namespace {

struct GatheringLab {
  GatheringLab(int extraAdapters, double latencyMs) {
    AddClusterServer(temp, L"node-b", 2, extraAdapters);
    temp.WriteServerFile(L"node-b", "services.txt", ClusterServiceList(L"ha1"));
    if (latencyMs > 0)
      temp.WriteServerFile(L"node-b", "faults.conf", "latency-ms = " + std::to_string(latencyMs) + "\n");
    lab = temp.Load();
  }
  TempLab temp;
  std::unique_ptr<Lab> lab;
};

struct GatheringCost {
  double calls = 0;   // remote calls of one gathering
  double wallMs = 0;  // wall time of one gathering
};

// Runs gatherings for as long as the benchmark asks, and reports what one of them cost.
GatheringCost RunGatherings(benchmark::State& state, GatheringLab& setup) {
  if (!setup.lab) {
    state.SkipWithError("the benchmark's lab did not load");
    return {};
  }
  DiscardingLog log;
  DiscardingBox box;
  Platform platform = setup.lab->MakePlatform();
  cNode node(platform, log, box);
  node.HostName = L"node-b";
  node.AutoStartDomain = L"ha1";
  const auto callsBefore = setup.lab->RemoteCallCount();
  std::int64_t gatherings = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    if (node.GetNodeInfo() != 0 || box.shown) {
      state.SkipWithError("the gathering failed");
      return {};
    }
    ++gatherings;
  }
  const std::chrono::duration<double, std::milli> wall = std::chrono::steady_clock::now() - start;
  GatheringCost cost;
  if (gatherings > 0) {
    cost.calls = static_cast<double>(setup.lab->RemoteCallCount() - callsBefore) / static_cast<double>(gatherings);
    cost.wallMs = wall.count() / static_cast<double>(gatherings);
  }
  state.counters["calls"] = cost.calls;
  state.counters["adapters"] = static_cast<double>(5 + state.range(0));
  return cost;
}

// CPU cost on a network that answers at once, from the five connections up to 1,000 adapters.
void BM_GatherNode(benchmark::State& state) {
  GatheringLab setup(static_cast<int>(state.range(0)), 0.0);
  RunGatherings(state, setup);
  state.SetComplexityN(5 + state.range(0));
}
BENCHMARK(BM_GatherNode)->Arg(0)->Arg(100)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMicrosecond)->Complexity();

// Wall time when each remote call takes L = range(1) microseconds.
void BM_GatherNodeOnSlowNetwork(benchmark::State& state) {
  const double latencyMs = static_cast<double>(state.range(1)) / 1000.0;
  GatheringLab setup(static_cast<int>(state.range(0)), latencyMs);
  const GatheringCost cost = RunGatherings(state, setup);
  const double networkMs = cost.calls * latencyMs;
  state.counters["network_ms"] = networkMs;
  state.counters["overhead_pct"] = networkMs > 0 ? 100.0 * (cost.wallMs - networkMs) / networkMs : 0.0;
}
BENCHMARK(BM_GatherNodeOnSlowNetwork)
    ->Args({0, 1000})
    ->Args({0, 5000})
    ->Args({1000, 1000})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
