// check: the entry rules, both servers, Step 2's comparison and the readiness checks, without a window.
#include "cli/check_command.h"

#include "app/install_log.h"
#include "cli/answers.h"
#include "cli/cli_output.h"
#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "cli/headless_wizard.h"
#include "common/text_format.h"

int RunCheck(const CommandLine& command, CliContext& context, CliOutput& output) {
  Platform& platform = *context.platform;
  Entries entries;
  if (const int rc = LoadAnswers(command.answersFile, platform, output, &entries); rc != exitcode::Clean) return rc;

  HeadlessWizard wizard(platform, *context.log, output, false);
  wizard.Enter(entries);
  WizardDialog& dialog = wizard.dialog();
  // Step 1 as the window runs it: its message names the entry or server at fault.
  if (dialog.CollectNodeInformation() != status::Success) {
    output.Say(L"Summary: the check stopped before the servers could be compared.");
    return exitcode::NotGathered;
  }
  output.Say(FormatText(L"Node 1 %s and Node 2 %s were read.", {dialog.Node1Info.HostName, dialog.Node2Info.HostName}));
  // Step 2's comparison, in the stage the answers hold: its report lists every finding.
  const bool validated = dialog.ValidateNodeInformation() == status::Success;
  if (validated) output.Show(L"Step 2 validation: no problems found.");

  const int exitCode = validated ? exitcode::Clean : exitcode::Fail;
  output.Say(FormatText(L"Summary: Step 2 validation %s. Exit code %d.",
                        {validated ? L"passed" : L"found problems", exitCode}));
  return exitCode;
}
