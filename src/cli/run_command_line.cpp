// The program run without a window: the command its words name, run to its exit code.
#include "cli/run_command_line.h"

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
#include "common/text_format.h"

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
      exitCode = RunCommand(command, context, output);
    }
    context.log->Info(FormatText(L"Exit code %d.", {exitCode}));
  });
  return exitCode;
}
