// What the commands cost without a window: check against the gathering of its two servers one after the
// other, and capture as a server grows to 1,000 adapters.
//
//   cli_bench [--benchmark_filter=...]
//
// BM_CheckOnSlowNetwork: a pair on a lab where every remote call takes L = range(0) microseconds.
// It first gathers each server alone (cNode::GetNodeInfo, as Step 1 does, one after the other) and
// then times `check`, which reads both at once. Counters: sequential_ms = the two gatherings'
// wall times added up, ratio = check's wall time / sequential_ms (the goal is at most 0.55).
// BM_CaptureServer: `capture FOLDER nodes node-b` of a server with 5 + range(0) adapters and no
// latency; its complexity fit says whether the time grows linearly.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "app/install_log.h"
#include "cli/console.h"
#include "cli/run_command_line.h"
#include "nodes/cnode.h"
#include "nodes/ownerless_message_box.h"
#include "platform/lab/lab.h"
#include "platform/lab/lab_files.h"
#include "support/cluster_server.h"
#include "support/temp_lab.h"

namespace fs = std::filesystem;

namespace {

class DiscardingLog : public InstallLog {
 public:
  void Write(const std::wstring&, LogClass) override {}
};

class NoBox : public OwnerlessMessageBox {
 public:
  void Show(const std::wstring&) override {}
};

constexpr char kStage1Answers[] =
    "0\r\nha-managed\r\n10.1.1.5\r\n10.2.2.5\r\nnode-a\r\nnode-b\r\nadmin\r\nworkgroup\r\n3\r\nha1\r\n127.0.0.1\r\n";

struct PairLab {
  PairLab(int extraAdapters, double latencyMs) {
    AddClusterServer(temp, L"NODE-A", 1, extraAdapters);
    AddClusterServer(temp, L"node-b", 2, extraAdapters);
    for (const wchar_t* server : {L"NODE-A", L"node-b"}) {
      temp.WriteServerFile(server, "services.txt", ClusterServiceList(L"ha1"));
      if (latencyMs > 0)
        temp.WriteServerFile(server, "faults.conf", "latency-ms = " + std::to_string(latencyMs) + "\n");
    }
    temp.WriteDriveFile(L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat", kStage1Answers);
    lab = temp.Load();
  }
  TempLab temp;
  std::unique_ptr<Lab> lab;
};

// Runs a command on the lab with its output thrown away; its exit code.
int RunCommand(Lab& lab, const std::vector<std::wstring>& words) {
  std::ostringstream out;
  std::ostringstream err;
  StreamConsole console(out, err, false);
  DiscardingLog log;
  Platform platform = lab.MakePlatform();
  HostFileSystem hostFiles;
  CliContext context;
  context.platform = &platform;
  context.hostFiles = &hostFiles;
  context.log = &log;
  context.console = &console;
  return RunCommandLine(words, context);
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// One server gathered alone, as Step 1 gathers it: its wall time.
double GatherAloneMs(Lab& lab, const wchar_t* host) {
  DiscardingLog log;
  NoBox box;
  Platform platform = lab.MakePlatform();
  cNode node(platform, log, box);
  node.HostName = host;
  node.AutoStartDomain = L"ha1";
  const auto start = std::chrono::steady_clock::now();
  const Status rc = node.GetNodeInfo();
  return rc == 0 ? MillisecondsSince(start) : -1;
}

void BM_CheckOnSlowNetwork(benchmark::State& state) {
  PairLab setup(static_cast<int>(state.range(1)), static_cast<double>(state.range(0)) / 1000.0);
  if (!setup.lab) {
    state.SkipWithError("the benchmark's lab did not load");
    return;
  }
  double sequentialMs = 0;
  double checkMs = 0;
  std::int64_t runs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const double node1 = GatherAloneMs(*setup.lab, L"node-a");
    const double node2 = GatherAloneMs(*setup.lab, L"node-b");
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    const int exitCode = RunCommand(*setup.lab, {L"check"});
    const double wall = MillisecondsSince(start);
    if (node1 < 0 || node2 < 0 || exitCode != 0) {
      state.SkipWithError("a gathering or the check failed");
      return;
    }
    sequentialMs += node1 + node2;
    checkMs += wall;
    ++runs;
  }
  state.counters["sequential_ms"] = sequentialMs / static_cast<double>(runs);
  state.counters["check_ms"] = checkMs / static_cast<double>(runs);
  state.counters["ratio"] = checkMs / sequentialMs;
}
BENCHMARK(BM_CheckOnSlowNetwork)
    ->ArgNames({"latency_us", "extra"})
    ->Args({1000, 0})
    ->Args({5000, 0})
    ->Args({1000, 100})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_CaptureServer(benchmark::State& state) {
  PairLab setup(static_cast<int>(state.range(0)), 0.0);
  if (!setup.lab) {
    state.SkipWithError("the benchmark's lab did not load");
    return;
  }
  const fs::path folder = setup.temp.Folder() / "capture";
  for (auto _ : state) {
    if (RunCommand(*setup.lab, {L"capture", folder.wstring(), L"nodes", L"node-b"}) != 0) {
      state.SkipWithError("the capture failed");
      return;
    }
    state.PauseTiming();
    fs::remove_all(folder);
    state.ResumeTiming();
  }
  state.counters["adapters"] = static_cast<double>(5 + state.range(0));
  state.SetComplexityN(5 + state.range(0));
}
BENCHMARK(BM_CaptureServer)
    ->Arg(0)
    ->Arg(125)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
