// What summarizing a large fleet costs: 10,000 readiness reports of 100 sites, one `summarize` over them.
//
//   fleet_summary_bench [--benchmark_filter=...]
//
// BM_SummarizeFleet: writes range(0) reports (100 sites, a fifth with a FAIL, a fifth with a WARN,
// the rest INFO only, as ReportJson writes them) into a temporary folder once, then times the whole
// command: walking the folders, reading and checking each report against the built-in schema, the
// rows sorted, both files written. The goal is 10,000 in under 5 s.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "cli/console.h"
#include "cli/exit_codes.h"
#include "cli/run_command_line.h"
#include "platform/lab/lab.h"
#include "support/discarding_sinks.h"
#include "support/readiness_pair.h"
#include "support/temp_lab.h"

namespace fs = std::filesystem;

namespace {

// The three kinds of report the fleet holds, as the program writes them.
std::string SiteReport(int kind) {
  ReadinessPair pair = HealthyPair();
  if (kind == 0) {
    SetLink(pair.node2.Hb1, L"192.168.102.12", L"255.255.255.0");
    SetLink(pair.node2.Hb2, L"192.168.101.12", L"255.255.255.0");
  } else if (kind == 1) {
    pair.entries.ManagedClanIp = L"10.9.1.5";
  }
  pair.node1.Clan.IpAddresses.push_back(L"10.1.1.101");
  return ReportJson(ReportInputFor(pair));
}

void BM_SummarizeFleet(benchmark::State& state) {
  const int reports = static_cast<int>(state.range(0));
  TempLab scratch;
  const std::unique_ptr<Lab> lab = scratch.Load();
  const fs::path fleet = scratch.Folder() / "reports";
  const std::string kinds[] = {SiteReport(0), SiteReport(1), SiteReport(2), SiteReport(2), SiteReport(2)};
  for (int i = 0; i < reports; ++i) {
    const fs::path site = fleet / ("site-" + std::to_string(i % 100));
    fs::create_directories(site);
    std::ofstream(site / ("readiness-20261208-" + std::to_string(100000 + i) + ".json"), std::ios::binary)
        << kinds[i % 5];
  }

  DiscardingLog log;
  std::ostringstream out;
  std::ostringstream err;
  StreamConsole console(out, err, false);
  Platform platform = lab->MakePlatform();
  CliContext context;
  context.platform = &platform;
  context.log = &log;
  context.console = &console;
  const fs::path summaries = scratch.Folder() / "summaries";
  for (auto _ : state) {
    const int exitCode = RunCommandLine({L"summarize", fleet.wstring(), L"out", summaries.wstring()}, context);
    if (exitCode != exitcode::Fail) state.SkipWithError("summarize did not find the FAIL reports");
  }
  state.counters["reports"] = reports;
}
BENCHMARK(BM_SummarizeFleet)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
