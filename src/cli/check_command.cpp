// check: the entry rules, both servers, Step 2's comparison and the readiness checks, without a window.
#include "cli/check_command.h"

#include "log/install_log.h"
#include "cli/answers.h"
#include "cli/cli_output.h"
#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "cli/headless_wizard.h"
#include "common/text_format.h"
#include "platform/platform.h"
#include "validation/readiness_box.h"
#include "wizard/readiness_run.h"
#include "wizard/shown_path.h"

int RunCheck(const CommandLine& command, CliContext& context, CliOutput& output) {
  Platform& platform = *context.platform;
  Entries answers;
  if (const int rc = LoadAnswers(command.answersFile, platform, *context.hostFiles, output, &answers);
      rc != exitcode::Clean)
    return rc;

  HeadlessWizard wizard(platform, *context.log, output, false);
  WizardDialog& dialog = wizard.dialog();
  // Step 1 as the window runs it: its message names the entry or server at fault.
  if (!wizard.Enter(answers) || dialog.CollectNodeInformation() != status::Success) {
    output.Say(FormatText(L"Summary: the check stopped before the servers could be compared. Exit code %d.",
                          {exitcode::NotGathered}));
    return exitcode::NotGathered;
  }
  // Step 2's comparison, in the stage the answers hold: its report lists each of its findings.
  const bool validated = dialog.ValidateNodeInformation() == status::Success;
  if (validated) output.Say(L"Step 2 validation: no validation errors detected.");
  // The readiness checks run whatever the comparison found: a support engineer wants every finding at once.
  // FOLDER is this computer's, named as typed; the usual place is the platform's (in a lab, the lab's drive C).
  ReadinessRequest request;
  request.validationLines = dialog.ValidationLines();
  request.reportFolder = command.reportFolder;
  request.folderFiles = context.hostFiles;
  request.probesTurnedOff = command.noProbes;
  const ReadinessOutcome readiness = RunReadiness(platform, *context.log, dialog, dialog.Node1Info, dialog.Node2Info, request);
  // The run has logged each finding; here each is printed, one a line.
  for (const Finding& finding : readiness.findings) output.Show(ReadinessFindingLine(finding));
  const SavedReport& saved = readiness.report;
  const bool reportSaved = !saved.htmlPath.empty();
  const std::wstring line =
      SavedReportLine(saved, command.reportFolder.empty() ? ShownPath(platform.files, saved.htmlPath) : saved.htmlPath);
  if (reportSaved) {
    output.Say(line);
  } else {
    output.Problem(line);
  }

  // A cluster that can't work matters more than its lost report; a report a script will look for
  // and not find, more than a warning.
  int exitCode = exitcode::Clean;
  if (!validated || readiness.counts.fail > 0) {
    exitCode = exitcode::Fail;
  } else if (!reportSaved) {
    exitCode = exitcode::ReportNotSaved;
  } else if (readiness.counts.warn > 0) {
    exitCode = exitcode::Warn;
  }
  output.Say(FormatText(
      L"Summary: %s and %s; Step 2 validation %s; readiness %d FAIL, %d WARN, %d INFO%s. Exit code %d.",
      {dialog.Node1Info.HostName, dialog.Node2Info.HostName, validated ? L"passed" : L"failed", readiness.counts.fail,
       readiness.counts.warn, readiness.counts.info, reportSaved ? L"" : L"; the report was not saved", exitCode}));
  return exitCode;
}
