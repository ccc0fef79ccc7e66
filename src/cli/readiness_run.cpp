// The readiness checks as check runs them: every finding printed and logged, the report saved.
#include "cli/readiness_run.h"

#include "app/install_log.h"
#include "cli/cli_context.h"
#include "cli/cli_output.h"
#include "common/program_info.h"
#include "common/text_format.h"
#include "platform/platform.h"
#include "report/readiness_report.h"
#include "validation/readiness_box.h"
#include "validation/readiness_checks.h"
#include "wizard/link_probes.h"
#include "wizard/readiness_report_file.h"
#include "wizard/shown_path.h"

ReadinessRun RunReadiness(const Entries& entries, const NodeRecord& node1, const NodeRecord& node2,
                          const std::vector<std::wstring>& validationLines, const std::wstring& folder, bool noProbes,
                          CliContext& context, CliOutput& output) {
  Platform& platform = *context.platform;
  ReadinessRun run;
  run.findings = RunReadinessChecks(entries, node1, node2);
  const LinkProbeResults links = ProbeLinks(platform, *context.log, entries, node1, node2, noProbes, {}, run.findings);
  run.counts = CountFindings(run.findings);
  for (const Finding& finding : run.findings) {
    const std::wstring line = ReadinessFindingLine(finding);
    switch (finding.severity) {
      case Severity::Fail: context.log->Error(line); break;
      case Severity::Warn: context.log->Warning(line); break;
      case Severity::Info: context.log->Info(line); break;
    }
    output.Show(line);
  }

  ReportInput input;
  input.run.time = platform.machine.LocalTime();
  platform.machine.QueryComputerName(&input.run.computer);
  input.run.version = ProgramVersion();
  input.run.edition = ProgramEdition();
  input.run.stage = entries.WizardStage == kStage2 ? 2 : 1;
  input.run.step = 2;
  input.run.lab = platform.machine.LabFolder();
  input.entries = entries;
  input.node1 = node1;
  input.node2 = node2;
  input.validationPassed = validationLines.empty();
  input.validationLines = validationLines;
  input.findings = run.findings;
  input.links = links;

  // FOLDER is this computer's, named as typed; the usual place is the platform's (in a lab, the lab's drive C).
  const SavedReport saved = folder.empty() ? SaveReadinessReport(platform, *context.log, input)
                                           : SaveReadinessReportIn(*context.hostFiles, folder, *context.log, input);
  run.reportPath = saved.htmlPath;
  const std::wstring line =
      SavedReportLine(saved, folder.empty() ? ShownPath(platform.files, saved.htmlPath) : saved.htmlPath);
  if (run.reportPath.empty()) {
    output.Problem(line);
  } else {
    output.Say(line);
  }
  return run;
}
