// A command run on a lab as the lab edition runs it, with its console and install log recorded.
#include "support/cli_run.h"

#include <sstream>

#include "cli/console.h"
#include "cli/run_command_line.h"
#include "platform/lab/lab_files.h"
#include "platform/lab/lab_machine.h"

namespace {
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}
}  // namespace

CliRun RunCli(Lab& lab, const std::vector<std::wstring>& words, bool errIsTerminal) {
  CliRun run;
  std::ostringstream out;
  std::ostringstream err;
  StreamConsole console(out, err, errIsTerminal);
  Platform platform = lab.MakePlatform();
  CliContext context;
  HostFileSystem hostFiles;
  context.hostFiles = &hostFiles;
  context.platform = &platform;
  context.log = &run.log;
  context.console = &console;
  lab.MachineInfo().PinLocalTime({2026, 12, 8, 14, 30, 5});
  run.exitCode = RunCommandLine(words, context);
  run.out = Lines(out.str());
  run.err = Lines(err.str());
  return run;
}
