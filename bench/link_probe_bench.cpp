// What a run of the live link probes costs in wall time, beside what gathering the pair costs.
//
//   link_probe_bench
//
// The pair of tests/support (NODE-A, this computer, and node-b) on a lab whose echoes take their
// real time, probed from NODE-A: nine targets (five links, two managed addresses, the CLAN test
// address, the switch), three echoes each.
//   NothingAnswers:    node-b blocks echoes, no host answers: every echo waits its whole second.
//                      Goal: at most 1500 ms (one time-out and the pace, whatever the number of targets).
//   EverythingAnswers: hosts answer for the managed, test and switch addresses; HB1 takes 5 ms a round
//                      trip. Goal: at most 50 ms beyond the longest round trip (counter overhead_ms, of the
//                      median run).
//   GatheringThenProbes: both servers gathered (node-b at 1 ms a remote call), then the probes where
//                      nothing answers, as Step 2 on a pair behind a firewall: gathering_ms beside probes_ms.
//   RepaintGapWhileProbing: the probes where nothing answers, run off the window's thread as the window
//                      runs them; max_gap_ms is the longest stretch without a repaint (goal under 100 ms).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "nodes/cnode.h"
#include "platform/lab/lab.h"
#include "platform/lab/lab_network.h"
#include "support/cluster_server.h"
#include "support/discarding_sinks.h"
#include "support/readiness_pair.h"
#include "support/temp_lab.h"
#include "wizard/link_probe_runner.h"
#include "wizard/responsive_remote_calls.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The pair on a lab, gathered, with its probe plan from NODE-A.
struct ProbedPair {
  explicit ProbedPair(bool answering, const std::string& partnerFaults = "") {
    AddClusterServer(temp, L"NODE-A", 1);
    AddClusterServer(temp, L"node-b", 2);
    temp.WriteServerFile(L"node-b", "faults.conf", answering ? "echo-delay-ms = HB1 5\n" : partnerFaults);
    if (answering) {
      for (const char* host : {"10.1.1.5 CLAN", "10.2.2.5 ELAN", "10.1.1.254 CLAN", "10.9.9.1 ELAN"}) {
        temp.AddLabConfLine(std::string("host = ") + host);
      }
    }
    lab = temp.Load();
    if (lab == nullptr) return;
    // Real time, as on a network: what is measured here.
    lab->Wires().SetWait({});
    platform = std::make_unique<Platform>(lab->MakePlatform());
    entries.ClanTestIp = L"10.1.1.254";
  }

  // Both servers gathered; false when either failed.
  bool Gather() {
    node1 = std::make_unique<cNode>(*platform, log, box);
    node2 = std::make_unique<cNode>(*platform, log, box);
    node1->HostName = entries.Node1HostName;
    node2->HostName = entries.Node2HostName;
    node1->AutoStartDomain = node2->AutoStartDomain = entries.AutoStartDomain;
    return node1->GetNodeInfo() == status::Success && node2->GetNodeInfo() == status::Success;
  }
  ProbePlan Plan() const { return MakeProbePlan(entries, *node1, *node2, L"NODE-A"); }

  TempLab temp{L"NODE-A"};
  std::unique_ptr<Lab> lab;
  std::unique_ptr<Platform> platform;
  Entries entries = DemoEntries();
  DiscardingLog log;
  DiscardingBox box;
  std::unique_ptr<cNode> node1;
  std::unique_ptr<cNode> node2;
};

int Answered(const LinkProbeResults& results) {
  int answered = 0;
  for (const TargetResult& target : results.targets) answered += target.answered;
  return answered;
}

void BM_ProbeRun(benchmark::State& state) {
  const bool answering = state.range(0) != 0;
  ProbedPair pair(answering, "echo-blocked = yes\n");
  if (pair.lab == nullptr || !pair.Gather()) {
    state.SkipWithError("the benchmark's pair did not load or gather");
    return;
  }
  const ProbePlan plan = pair.Plan();
  std::vector<double> runsMs;
  int answered = 0;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    const LinkProbeResults results = RunLinkProbes(plan, pair.platform->network, pair.platform->machine);
    runsMs.push_back(MillisecondsSince(start));
    answered = Answered(results);
  }
  // The median: a shared machine's odd stall says nothing about the probes.
  std::sort(runsMs.begin(), runsMs.end());
  const double medianMs = runsMs[runsMs.size() / 2];
  const double longestRoundTripMs = answering ? 5 : 0;
  state.counters["targets"] = static_cast<double>(plan.targets.size());
  state.counters["answered"] = answered;
  state.counters["median_ms"] = medianMs;
  state.counters["worst_ms"] = runsMs.back();
  if (answering) state.counters["overhead_ms"] = medianMs - longestRoundTripMs;
}
BENCHMARK(BM_ProbeRun)
    ->ArgName("answering")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(9)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_GatheringThenProbes(benchmark::State& state) {
  ProbedPair pair(false, "latency-ms = 1\necho-blocked = yes\n");
  if (pair.lab == nullptr) {
    state.SkipWithError("the benchmark's pair did not load");
    return;
  }
  double gatheringMs = 0;
  double probesMs = 0;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    if (!pair.Gather()) {
      state.SkipWithError("the gathering failed");
      return;
    }
    const Clock::time_point gathered = Clock::now();
    const LinkProbeResults results = RunLinkProbes(pair.Plan(), pair.platform->network, pair.platform->machine);
    benchmark::DoNotOptimize(results);
    gatheringMs = std::chrono::duration<double, std::milli>(gathered - start).count();
    probesMs = MillisecondsSince(gathered);
  }
  state.counters["gathering_ms"] = gatheringMs;
  state.counters["probes_ms"] = probesMs;
}
BENCHMARK(BM_GatheringThenProbes)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_RepaintGapWhileProbing(benchmark::State& state) {
  ProbedPair pair(false, "echo-blocked = yes\n");
  if (pair.lab == nullptr || !pair.Gather()) {
    state.SkipWithError("the benchmark's pair did not load or gather");
    return;
  }
  const ProbePlan plan = pair.Plan();
  std::vector<Clock::time_point> pumps;
  pumps.reserve(1024);
  ResponsiveRemoteCalls remoteCalls(*pair.platform, [&pumps] { pumps.push_back(Clock::now()); });
  double maxGapMs = 0;
  for (auto _ : state) {
    pumps.clear();
    const Clock::time_point start = Clock::now();
    LinkProbeResults results;
    (void)remoteCalls.WhilePumping([&] {
      results = RunLinkProbes(plan, pair.platform->network, pair.platform->machine);
      return status::Success;
    });
    pumps.push_back(Clock::now());
    Clock::time_point previous = start;
    for (const Clock::time_point pump : pumps) {
      maxGapMs = std::max(maxGapMs, std::chrono::duration<double, std::milli>(pump - previous).count());
      previous = pump;
    }
  }
  state.counters["max_gap_ms"] = maxGapMs;
  state.counters["pumps"] = static_cast<double>(pumps.size() - 1);
}
BENCHMARK(BM_RepaintGapWhileProbing)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
