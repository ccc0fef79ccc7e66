// The program run without a window: the command its words name, run to its exit code.
#include "cli/run_command_line.h"

#include <exception>

#include "app/install_log.h"
#include "app/wizard_app.h"
#include "cli/capture_command.h"
#include "cli/check_command.h"
#include "cli/cli_output.h"
#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "cli/generate_command.h"
#include "cli/summarize_command.h"
#include "common/program_info.h"
#include "common/text_encoding.h"
#include "common/text_format.h"
#include "platform/platform.h"

namespace {
std::wstring Joined(const std::vector<std::wstring>& words) {
  std::wstring text;
  for (const std::wstring& word : words) {
    if (!text.empty()) text += L' ';
    text += word.find(L' ') == std::wstring::npos ? word : L"\"" + word + L"\"";
  }
  return text;
}

int RunCommand(const CommandLine& command, CliContext& context, CliOutput& output) {
  // A run on a lab is a rehearsal: it says so before anything else, lest it pass for a server's.
  // summarize reads report files on this computer only, never the servers of the lab.
  const bool onPlatform = command.kind != CommandKind::Help && command.kind != CommandKind::Version &&
                          command.kind != CommandKind::Summarize;
  if (onPlatform && !context.platform->machine.LabFolder().empty()) {
    output.Say(FormatText(L"Lab run: %s", {context.platform->machine.LabFolder()}));
  }
  switch (command.kind) {
    case CommandKind::Help:
      for (const std::wstring& line : UsageLines()) output.Say(line);
      return exitcode::Clean;
    case CommandKind::Version: output.Say(VersionLine()); return exitcode::Clean;
    case CommandKind::Check: return RunCheck(command, context, output);
    case CommandKind::Generate: return RunGenerate(command, context, output);
    case CommandKind::Capture: return RunCapture(command, context, output);
    case CommandKind::Summarize: return RunSummarize(command, context, output);
  }
  return exitcode::Usage;
}

// The last resort: the system's code throws nothing, but the libraries under it may (memory, a
// stream); a script then gets a message and an exit code of its own, never an abort.
int RunGuarded(const CommandLine& command, CliContext& context, CliOutput& output) {
  std::wstring what;
  try {
    return RunCommand(command, context, output);
  } catch (const std::exception& error) {
    what = WideFromUtf8(error.what());
  } catch (...) {
    what = L"an unknown error";
  }
  try {
    output.Problem(
        FormatText(L"The command stopped on an unexpected error: %s. Exit code %d.", {what, exitcode::Unexpected}));
  } catch (...) {
    // Nowhere left to say it: the exit code does.
  }
  return exitcode::Unexpected;
}
}  // namespace

int RunCommandLine(const std::vector<std::wstring>& words, CliContext& context) {
  CliOutput output(*context.console, *context.log);
  int exitCode = exitcode::Usage;
  // The same banners as a run of the window, so that readers of the log find every run's start and end.
  WizardApp(*context.log).InitInstance([&] {
    context.log->Info(FormatText(L"Command line: %s", {Joined(words)}));
    CommandLine command;
    std::wstring error;
    if (!ParseCommandLine(words, &command, &error)) {
      output.Problem(error);
      output.Problem(L"Run \"DuplexSetupAssistant help\" for the commands and their options.");
      exitCode = exitcode::Usage;
    } else if (command.kind != CommandKind::Help && command.kind != CommandKind::Version &&
               context.platform == nullptr) {
      output.Problem(context.platformProblem);
      exitCode = exitcode::Usage;
    } else {
      exitCode = RunGuarded(command, context, output);
    }
    context.log->Info(FormatText(L"Exit code %d.", {exitCode}));
  });
  return exitCode;
}
