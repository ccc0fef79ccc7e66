// The lab edition run with a command (check, generate, capture, help): no window, and no window system needed.
#include "wizard/qt/lab_command_line.h"

#include <unistd.h>

#include <csignal>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/setuplogkit_log.h"
#include "cli/console.h"
#include "cli/run_command_line.h"
#include "common/text_encoding.h"
#include "platform/lab/lab.h"
#include "platform/lab/lab_files.h"
#include "setuplogkit/setuplogkit_loader.h"
#include "wizard/qt/lab_startup.h"

int RunLabCommandLine(int argc, char* argv[]) {
  // A reader that stops early (check | head -1) must not end the run before its report is saved:
  // a write to a closed pipe fails, and the console goes on without it.
  std::signal(SIGPIPE, SIG_IGN);
  std::vector<std::wstring> words;
  for (int i = 1; i < argc; ++i) words.push_back(WideFromUtf8(argv[i]));

  std::string error;
  const std::unique_ptr<Lab> lab = LoadRunLab(&error);
  // A lab that does not load leaves the log where a run without a lab keeps it.
  SetupLogKitLibrary library(lab != nullptr ? lab->InstallLogFile().string() : std::string());
  SetupLogKitLog log(library.WriteFunction(), library.Problem(), DefaultFallbackLogFile(), std::cerr);
  StreamConsole console(std::cout, std::cerr, isatty(STDERR_FILENO) == 1);

  CliContext context;
  HostFileSystem hostFiles;
  context.hostFiles = &hostFiles;
  std::unique_ptr<Platform> platform;
  if (lab != nullptr) {
    platform = std::make_unique<Platform>(lab->MakePlatform());
    context.platform = platform.get();
  } else {
    context.platformProblem = L"The lab cannot be used: " + WideFromUtf8(error);
  }
  context.log = &log;
  context.console = &console;
  return RunCommandLine(words, context);
}
