// The cluster readiness checks run once for the window's Steps 2 and 3, check and generate alike.
#include "wizard/readiness_run.h"

#include "common/program_info.h"
#include "log/install_log.h"
#include "platform/platform.h"
#include "report/readiness_report.h"
#include "validation/readiness_box.h"
#include "validation/readiness_checks.h"
#include "wizard/readiness_report_file.h"

namespace {
void LogFinding(InstallLog& log, const Finding& finding) {
  const std::wstring line = ReadinessFindingLine(finding);
  switch (finding.severity) {
    case Severity::Fail: log.Error(line); break;
    case Severity::Warn: log.Warning(line); break;
    case Severity::Info: log.Info(line); break;
  }
}
}  // namespace

ReadinessOutcome RunReadiness(Platform& platform, InstallLog& log, const Entries& entries, const NodeRecord& node1,
                              const NodeRecord& node2, const ReadinessRequest& request) {
  ReadinessOutcome outcome;
  // The checks of the records as gathered, then what the probes find on the wires.
  outcome.findings = RunReadinessChecks(entries, node1, node2);
  const LinkProbeResults links = ProbeLinks(platform, log, entries, node1, node2, request.probesTurnedOff,
                                            request.offWindowThread, outcome.findings);
  outcome.counts = CountFindings(outcome.findings);
  for (const Finding& finding : outcome.findings) LogFinding(log, finding);

  ReportInput input;
  input.run = {platform.machine.LocalTime(),
               LocalComputerName(platform.machine),
               ProgramVersion(),
               ProgramEdition(),
               entries.WizardStage == kStage2 ? 2 : 1,
               request.step,
               platform.machine.LabFolder()};
  input.entries = entries;
  input.node1 = node1;
  input.node2 = node2;
  input.validationPassed = request.validationLines.empty();
  input.validationLines = request.validationLines;
  input.findings = outcome.findings;
  input.links = links;
  outcome.report = request.reportFolder.empty()
                       ? SaveReadinessReport(platform, log, input)
                       : SaveReadinessReportIn(*request.folderFiles, request.reportFolder, log, input);
  return outcome;
}
