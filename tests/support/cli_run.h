// A command run on a lab as the lab edition runs it, with its console and install log recorded.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/lab/lab.h"
#include "support/recording_view.h"

struct CliRun {
  int exitCode = -1;
  std::vector<std::string> out;  // standard output, a line each
  std::vector<std::string> err;  // standard error, a line each
  RecordingLog log;
};

// Runs the command `words` on `lab`, at 2026-12-08 14:30:05 by the run's clock; standard error is
// taken for a terminal when `errIsTerminal`, so that progress lines are written. `onFirstError`, when
// given, is called once, as the first text reaches standard error (a progress line, while the
// servers are still being read).
CliRun RunCli(Lab& lab, const std::vector<std::wstring>& words, bool errIsTerminal = false,
              const std::function<void()>& onFirstError = {});

// The words of `line`, split at its spaces.
std::vector<std::wstring> Words(const std::wstring& line);
// Whether a line of `lines` holds `text`.
bool AnyLineHolds(const std::vector<std::string>& lines, const std::string& text);
// Whether a line of the run's standard output or error holds `text`.
inline bool Printed(const CliRun& run, const std::string& text) {
  return AnyLineHolds(run.out, text) || AnyLineHolds(run.err, text);
}
