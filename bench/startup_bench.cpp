// How long the lab edition takes from launch to its window on screen, and how much memory it peaks at.
//
//   startup_bench [RUNS]        (default 7; QT_QPA_PLATFORM=offscreen is set for the runs)
//
// The benchmark launches itself RUNS times (after one unmeasured warm-up run) with --run. Each run
// starts as the program does: the lab (DUPLEX_SETUP_LAB, or the per-user copy of the demo lab beside
// this executable), SetupLogKit, the opening log lines and the window's opening, and stops at the
// window's first paint. "launch" is the parent's CLOCK_MONOTONIC reading just before posix_spawn
// (the clock is system-wide, so the child can compare against it); "main" is read at the top of
// main. Peak memory is the run's ru_maxrss once the window has painted. Without DUPLEX_SETUP_LAB the
// runs get a temporary XDG_STATE_HOME, so the demo lab copy they make is removed afterwards.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/executable_path.h"
#include "platform/lab/lab_location.h"
#include "programs/lab/lab_edition.h"
#include "wizard/qt/qt_wizard_window.h"

extern char** environ;

namespace {

constexpr char kLaunchVariable[] = "DUPLEX_BENCH_LAUNCH_NS";

long long MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct RunFigures {
  double launchToMainMs = 0;
  double mainToShownMs = 0;
  double peakRssMb = 0;
  double TotalMs() const { return launchToMainMs + mainToShownMs; }
};

// Stops the run at the window's first paint: the next turn of the loop, once painting is over.
class FirstPaintWatcher : public QObject {
 public:
  explicit FirstPaintWatcher(QtWizardWindow& window) : window_(window) { window.installEventFilter(this); }
  long long shownAt = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &window_ && event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      QTimer::singleShot(0, this, [this] {
        shownAt = MonotonicNanoseconds();
        window_.reject();
      });
    }
    return false;
  }

 private:
  QtWizardWindow& window_;
  bool seen_ = false;
};

int RunOnce(int argc, char* argv[], long long mainAt) {
  QApplication application(argc, argv);
  // The edition the program runs, so that the benchmark measures exactly what the program does.
  LabEdition edition;
  if (edition.platform() == nullptr) {
    std::cerr << "startup_bench: " << edition.Problem() << '\n';
    return 1;
  }
  std::unique_ptr<FirstPaintWatcher> watcher;
  edition.RunWindow([&](QtWizardWindow& window) { watcher = std::make_unique<FirstPaintWatcher>(window); });
  if (watcher == nullptr || watcher->shownAt == 0) {
    std::cerr << "startup_bench: the window closed before it was painted\n";
    return 1;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const char* launch = std::getenv(kLaunchVariable);
  const long long launchAt = launch != nullptr ? std::atoll(launch) : mainAt;
  std::printf("%lld %lld %ld\n", mainAt - launchAt, watcher->shownAt - mainAt, usage.ru_maxrss);
  return 0;
}

bool Launch(const std::string& self, RunFigures* figures) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
  char runFlag[] = "--run";
  char* childArgs[] = {const_cast<char*>(self.c_str()), runFlag, nullptr};
  setenv(kLaunchVariable, std::to_string(MonotonicNanoseconds()).c_str(), 1);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, childArgs, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  std::string output;
  char buffer[256];
  for (ssize_t got; spawned == 0 && (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
    output.append(buffer, static_cast<std::size_t>(got));
  }
  close(pipeEnds[0]);
  int waitStatus = 0;
  if (spawned != 0 || waitpid(child, &waitStatus, 0) != child || !WIFEXITED(waitStatus) ||
      WEXITSTATUS(waitStatus) != 0) {
    return false;
  }
  long long launchToMain = 0;
  long long mainToShown = 0;
  long peakKb = 0;
  if (std::sscanf(output.c_str(), "%lld %lld %ld", &launchToMain, &mainToShown, &peakKb) != 3) return false;
  figures->launchToMainMs = static_cast<double>(launchToMain) / 1e6;
  figures->mainToShownMs = static_cast<double>(mainToShown) / 1e6;
  figures->peakRssMb = static_cast<double>(peakKb) / 1024.0;
  return true;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

int Measure(int runs) {
  const std::string self = (ExecutableFolder() / "startup_bench").string();
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::filesystem::path stateHome;
  if (NamedLabFolder().empty()) {
    char pattern[] = "/tmp/duplex-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return 1;
    stateHome = pattern;
    setenv("XDG_STATE_HOME", pattern, 1);
  }

  RunFigures warmUp;
  bool ok = Launch(self, &warmUp);
  std::vector<RunFigures> measured;
  std::printf("%-6s %14s %14s %12s %14s\n", "run", "launch->main", "main->shown", "total", "peak RSS");
  for (int run = 1; ok && run <= runs; ++run) {
    RunFigures figures;
    ok = Launch(self, &figures);
    if (!ok) break;
    measured.push_back(figures);
    std::printf("%-6d %11.1f ms %11.1f ms %9.1f ms %11.1f MB\n", run, figures.launchToMainMs, figures.mainToShownMs,
                figures.TotalMs(), figures.peakRssMb);
  }
  if (!stateHome.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(stateHome, ignored);
  }
  if (!ok) {
    std::cerr << "startup_bench: a run failed (see above)\n";
    return 1;
  }
  auto column = [&](auto field) {
    std::vector<double> values;
    for (const RunFigures& figures : measured) values.push_back(field(figures));
    return Median(values);
  };
  std::printf("%-6s %11.1f ms %11.1f ms %9.1f ms %11.1f MB\n", "median",
              column([](const RunFigures& f) { return f.launchToMainMs; }),
              column([](const RunFigures& f) { return f.mainToShownMs; }),
              column([](const RunFigures& f) { return f.TotalMs(); }),
              column([](const RunFigures& f) { return f.peakRssMb; }));
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  const long long mainAt = MonotonicNanoseconds();
  if (argc == 2 && std::string(argv[1]) == "--run") return RunOnce(argc, argv, mainAt);
  const int runs = argc == 2 ? std::atoi(argv[1]) : 7;
  if (argc > 2 || runs < 1) {
    std::cerr << "usage: startup_bench [RUNS]\n";
    return 2;
  }
  return Measure(runs);
}
