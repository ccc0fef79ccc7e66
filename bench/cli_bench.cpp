// What the commands cost without a window: check against the gathering of its two servers one after the
// other, and capture as a server grows to 1,000 adapters.
//
//   cli_bench [--benchmark_filter=...]
//
// BM_CheckOnSlowNetwork: a pair on a lab where every remote call takes L = range(0) microseconds.
// It first gathers each server alone (cNode::GetNodeInfo, as Step 1 does, one after the other) and
// then times `check`, which reads both at once. Counters: sequential_ms = the two gatherings'
// wall times added up, ratio = check's wall time / sequential_ms (the goal is at most 0.55).
// BM_WindowStep1OnSlowNetwork: the same pair at 20 ms a call, the window's Step 1 (WizardDialog::OnStep1, Node 1 on
// the window's thread and Node 2 beside it) timed side by side with the two servers gathered in turn; ratio =
// Step 1's wall time / sequential_ms (the goal is at most 0.6).
// BM_CaptureServer: `capture FOLDER nodes node-b` of a server with 5 + range(0) adapters and no
// latency; its complexity fit says whether the time grows linearly.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "cli/console.h"
#include "cli/run_command_line.h"
#include "nodes/cnode.h"
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_view.h"
#include "platform/lab/lab.h"
#include "platform/lab/lab_files.h"
#include "support/cluster_server.h"
#include "support/discarding_sinks.h"
#include "support/temp_lab.h"

namespace fs = std::filesystem;

namespace {

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
  DiscardingBox box;
  Platform platform = lab.MakePlatform();
  cNode node(platform, log, box);
  node.HostName = host;
  node.AutoStartDomain = L"ha1";
  const auto start = std::chrono::steady_clock::now();
  const Status rc = node.GetNodeInfo();
  return rc == 0 ? MillisecondsSince(start) : -1;
}

// Each iteration gathers the two servers alone, one after the other, then has `prepare` (untimed) make the work to
// time and times it. Counters: sequential_ms, `timedCounter` (the work's mean wall time), and ratio, the work's wall
// time over sequential_ms. The work answers whether it succeeded.
void CompareWithReadsInTurn(benchmark::State& state, Lab& lab, const char* timedCounter,
                            const std::function<std::function<bool()>()>& prepare) {
  double sequentialMs = 0;
  double timedMs = 0;
  std::int64_t runs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const double node1 = GatherAloneMs(lab, L"node-a");
    const double node2 = GatherAloneMs(lab, L"node-b");
    const std::function<bool()> work = prepare();
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    const bool done = work();
    const double wall = MillisecondsSince(start);
    if (node1 < 0 || node2 < 0 || !done) {
      state.SkipWithError("a gathering or the timed work failed");
      return;
    }
    sequentialMs += node1 + node2;
    timedMs += wall;
    ++runs;
  }
  state.counters["sequential_ms"] = sequentialMs / static_cast<double>(runs);
  state.counters[timedCounter] = timedMs / static_cast<double>(runs);
  state.counters["ratio"] = timedMs / sequentialMs;
}

void BM_CheckOnSlowNetwork(benchmark::State& state) {
  PairLab setup(static_cast<int>(state.range(1)), static_cast<double>(state.range(0)) / 1000.0);
  if (!setup.lab) {
    state.SkipWithError("the benchmark's lab did not load");
    return;
  }
  CompareWithReadsInTurn(state, *setup.lab, "check_ms", [&] {
    return std::function<bool()>([&] { return RunCommand(*setup.lab, {L"check"}) == 0; });
  });
}
BENCHMARK(BM_CheckOnSlowNetwork)
    ->ArgNames({"latency_us", "extra"})
    ->Args({1000, 0})
    ->Args({5000, 0})
    ->Args({1000, 100})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The window as Step 1 reads it: the entries it holds and the board counts of its list, nothing shown.
class EntriesView : public QuietWizardView {
 public:
  std::wstring EntryText(int controlId) override { return entries_[controlId]; }
  void SetEntryText(int controlId, const std::wstring& text) override { entries_[controlId] = text; }
  std::vector<std::wstring> BoardCountItems() override { return {L"1", L"3"}; }
  int BoardCountSelection() override { return selection_; }
  void SetBoardCountSelection(int index) override { selection_ = index; }

 private:
  std::map<int, std::wstring> entries_;
  int selection_ = -1;
};

void BM_WindowStep1OnSlowNetwork(benchmark::State& state) {
  PairLab setup(0, 20.0);
  if (!setup.lab) {
    state.SkipWithError("the benchmark's lab did not load");
    return;
  }
  DiscardingLog log;
  DiscardingBox box;
  Platform platform = setup.lab->MakePlatform();
  std::unique_ptr<EntriesView> view;
  std::unique_ptr<WizardDialog> dialog;
  CompareWithReadsInTurn(state, *setup.lab, "step1_ms", [&] {
    // The window as it opens on the saved stage-1 answers, ready for Step 1.
    dialog.reset();
    view = std::make_unique<EntriesView>();
    dialog = std::make_unique<WizardDialog>(platform, log, *view, box);
    dialog->OnInitDialog();
    return std::function<bool()>([&] { return dialog->CollectNodeInformation() == status::Success; });
  });
}
BENCHMARK(BM_WindowStep1OnSlowNetwork)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

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
