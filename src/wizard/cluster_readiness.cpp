// The cluster readiness checks as Steps 2 and 3 run them: every finding logged, the report saved
// beside the install log, and a box for what the user must weigh before going on.
#include "app/install_log.h"
#include "common/program_info.h"
#include "common/text_format.h"
#include "platform/platform.h"
#include "report/readiness_report.h"
#include "validation/readiness_box.h"
#include "validation/readiness_checks.h"
#include "wizard/link_probes.h"
#include "wizard/readiness_report_file.h"
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_view.h"

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

bool WizardDialog::CheckClusterReadiness(int step, const std::wstring& question) {
  std::vector<Finding> findings = RunReadinessChecks(*this, Node1Info, Node2Info);
  const LinkProbeResults links = ProbeLinks(
      platform_, log_, *this, Node1Info, Node2Info, false,
      [this](const auto& work) { return remoteCalls_.RunOffWindowThread(work); }, findings);
  for (const Finding& finding : findings) LogFinding(log_, finding);
  const SavedReport& saved = lastSavedReport_ = SaveReadinessReport(step, findings, links);
  const std::wstring reportLine = SavedReportLine(saved, view_.ShownPath(saved.htmlPath));
  // INFO findings are only logged and reported; with none of the others the step goes on as ever,
  // and a report that could not be saved gets a box of its own.
  if (!NeedsReadinessBox(findings)) {
    if (saved.htmlPath.empty()) view_.ShowMessage(reportLine, kReadinessCaption);
    return true;
  }
  const std::wstring text = ReadinessBoxText(findings, reportLine, question);
  if (!HasFailFinding(findings)) {
    view_.ShowMessage(text, kReadinessCaption);
    return true;
  }
  // A cluster that can't work as configured is only set up when the user insists.
  return view_.AskYesNo(text, kReadinessCaption, Answer::No);
}

SavedReport WizardDialog::SaveReadinessReport(int step, const std::vector<Finding>& findings,
                                              const LinkProbeResults& links) {
  const LocalDateTime now = platform_.machine.LocalTime();
  ReportInput input;
  input.run = {now,  LocalComputerName(),          ProgramVersion(), ProgramEdition(), step == 3 ? 2 : 1,
               step, platform_.machine.LabFolder()};
  input.entries = *this;
  input.node1 = Node1Info;
  input.node2 = Node2Info;
  // The checks run only once the step's own comparison has passed.
  input.validationPassed = true;
  input.findings = findings;
  input.links = links;
  return ::SaveReadinessReport(platform_, log_, input);
}
