// generate: Step 3 without a window, from the answers of a finished stage 1.
#include "cli/generate_command.h"

#include "cli/answers.h"
#include "cli/cli_output.h"
#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "cli/headless_wizard.h"
#include "common/text_format.h"

namespace {
struct OutcomeCode {
  DefinitionOutcome outcome;
  int exitCode;
  const wchar_t* summary;
};
constexpr OutcomeCode kOutcomes[] = {
    {DefinitionOutcome::Confirmed, exitcode::Clean, L"the definition file was generated and confirmed"},
    {DefinitionOutcome::NotCollected, exitcode::NotGathered, L"an entry or a server stopped Step 3"},
    {DefinitionOutcome::NotValidated, exitcode::Fail, L"the servers do not agree"},
    {DefinitionOutcome::ProductMissing, exitcode::ProductMissing, L"the product is not installed for the domain"},
    // In stage 2 Step 2's comparison already stops at a service that is not running.
    {DefinitionOutcome::ServicesNotRunning, exitcode::Fail, L"a service is not running"},
    {DefinitionOutcome::Refused, exitcode::Fail, L"a FAIL finding stopped Step 3 (force goes on past it)"},
    {DefinitionOutcome::FileNotWritten, exitcode::FileNotWritten, L"an input file could not be written"},
    {DefinitionOutcome::InstallerNotRun, exitcode::InstallerNotRun, L"the installer was not run"},
    {DefinitionOutcome::NotConfirmed, exitcode::NotConfirmed, L"the definition file could not be confirmed"},
};
}  // namespace

int RunGenerate(const CommandLine& command, CliContext& context, CliOutput& output) {
  Platform& platform = *context.platform;
  Entries entries;
  if (const int rc = LoadAnswers(command.answersFile, platform, *context.hostFiles, output, &entries);
      rc != exitcode::Clean)
    return rc;
  // The window offers Step 3 only once Step 2 has saved the answers with the next stage.
  if (entries.WizardStage != kStage2) {
    output.Problem(FormatText(
        L"The answers are not those of a finished stage 1 (their stage line reads %ld, not %ld): run Steps 1 and 2 "
        L"first, or name a file of answers whose first line is 1: generate answers FILE.",
        {static_cast<long>(entries.WizardStage), static_cast<long>(kStage2)}));
    output.Say(FormatText(L"Summary: Step 3 was not run. Exit code %d.", {exitcode::NotStage2}));
    return exitcode::NotStage2;
  }

  // Step 3 asks whether to go on past a FAIL finding of the readiness checks: force answers Yes.
  HeadlessWizard wizard(platform, *context.log, output, command.force);
  const DefinitionOutcome outcome =
      wizard.Enter(entries) ? wizard.dialog().GenerateDefinition() : DefinitionOutcome::NotCollected;
  // The definition file is what generate is for, but a script that keeps the report must hear of its loss.
  if (outcome == DefinitionOutcome::Confirmed && wizard.dialog().LastSavedReport().htmlPath.empty()) {
    output.Say(
        FormatText(L"Summary: the definition file was generated and confirmed, but the readiness report was not saved. "
                   L"Exit code %d.",
                   {exitcode::ReportNotSaved}));
    return exitcode::ReportNotSaved;
  }
  for (const OutcomeCode& entry : kOutcomes) {
    if (entry.outcome != outcome) continue;
    output.Say(FormatText(L"Summary: %s. Exit code %d.", {entry.summary, entry.exitCode}));
    return entry.exitCode;
  }
  return exitcode::NotConfirmed;
}
