// What the readiness checks and their report cost: the eleven checks on two nodes, the report built and written.
//
//   readiness_bench [--benchmark_filter=...]
//
// Goals (docs/readiness.md): the checks under 100 us, the report (HTML and JSON built, both
// files written) under 20 ms. Each case runs in repetitions and reports the median.
// Pairs: "healthy" (no finding), "crossed" (one FAIL), "many" (a finding of nearly every check).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "report/readiness_report.h"
#include "support/readiness_pair.h"
#include "validation/readiness_checks.h"

namespace {

ReadinessPair Pair(int which) {
  ReadinessPair pair = HealthyPair();
  if (which >= 1) {
    SetLink(pair.node2.Hb1, L"192.168.102.12", L"255.255.255.0");
    SetLink(pair.node2.Hb2, L"192.168.101.12", L"255.255.255.0");
  }
  if (which >= 2) {
    pair.entries.ManagedClanIp = L"10.9.1.5";
    pair.entries.ClanTestIp = L"10.1.1.11";
    pair.node2.Clan = cNIC{};
    pair.node1.Clan.DefaultGateway = L"10.1.1.255";
    SetLink(pair.node1.Mirror, L"10.1.1.50", L"255.255.255.0");
    pair.node2.Elan.SubnetMask = L"255.255.0.255";
    SetLink(pair.node1.Elan, L"10.2.2.011", L"255.255.255.0");
    pair.node1.Hb1.IpAddresses.push_back(L"192.168.101.111");
  }
  return pair;
}

const char* PairName(int which) { return which == 0 ? "healthy" : which == 1 ? "crossed" : "many"; }

void BM_ReadinessChecks(benchmark::State& state) {
  const ReadinessPair pair = Pair(static_cast<int>(state.range(0)));
  std::size_t findings = 0;
  for (auto _ : state) {
    const std::vector<Finding> result = RunReadinessChecks(pair.entries, pair.node1, pair.node2);
    findings = result.size();
    benchmark::DoNotOptimize(result.data());
  }
  state.SetLabel(PairName(static_cast<int>(state.range(0))));
  state.counters["findings"] = static_cast<double>(findings);
}

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

// The whole report of a run: checks already done, both texts built, both files written.
void BM_ReportWritten(benchmark::State& state) {
  const ReportInput input = ReportInputFor(Pair(static_cast<int>(state.range(0))));
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("readiness-bench-" + std::to_string(state.thread_index()));
  std::filesystem::create_directories(folder);
  const std::filesystem::path base = folder / ReportFileBaseName(input.run.time);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string html = ReportHtml(input);
    const std::string json = ReportJson(input);
    if (!WriteFile(base.string() + ".html", html) || !WriteFile(base.string() + ".json", json)) {
      state.SkipWithError("cannot write the report");
      break;
    }
    bytes = html.size() + json.size();
  }
  std::filesystem::remove_all(folder);
  state.SetLabel(PairName(static_cast<int>(state.range(0))));
  state.counters["bytes"] = static_cast<double>(bytes);
}

// The two writers alone, without the disk.
void BM_ReportHtml(benchmark::State& state) {
  const ReportInput input = ReportInputFor(Pair(2));
  for (auto _ : state) benchmark::DoNotOptimize(ReportHtml(input));
}

void BM_ReportJson(benchmark::State& state) {
  const ReportInput input = ReportInputFor(Pair(2));
  for (auto _ : state) benchmark::DoNotOptimize(ReportJson(input));
}

}  // namespace

BENCHMARK(BM_ReadinessChecks)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ReportWritten)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ReportHtml)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReportJson)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
