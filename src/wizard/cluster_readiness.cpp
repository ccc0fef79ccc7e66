// The cluster readiness checks as Steps 2 and 3 run them: every finding logged, the report saved
// beside the install log, and a box for what the user must weigh before going on.
#include "app/install_log.h"
#include "common/program_info.h"
#include "common/text_format.h"
#include "platform/platform.h"
#include "report/readiness_report.h"
#include "validation/readiness_box.h"
#include "validation/readiness_checks.h"
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_view.h"

namespace {
// Below %ProgramData%, each level made when missing (a lab's drive C may not even hold %ProgramData%).
constexpr const wchar_t* kReportsFolders[] = {L"", L"Zandor", L"Reports"};

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
  const std::vector<Finding> findings = RunReadinessChecks(*this, Node1Info, Node2Info);
  for (const Finding& finding : findings) LogFinding(log_, finding);
  const std::wstring reportPath = SaveReadinessReport(step, findings);
  // INFO findings are only logged and reported; with none of the others the step goes on as ever.
  if (!NeedsReadinessBox(findings)) return true;
  const std::wstring text = ReadinessBoxText(findings, reportPath, question);
  if (!HasFailFinding(findings)) {
    view_.ShowMessage(text, kReadinessCaption);
    return true;
  }
  // A cluster that can't work as configured is only set up when the user insists.
  return view_.AskYesNo(text, kReadinessCaption, Answer::No);
}

std::wstring WizardDialog::SaveReadinessReport(int step, const std::vector<Finding>& findings) {
  std::wstring folder;
  Status rc = platform_.machine.QueryProgramDataFolder(&folder);
  if (rc != status::Success) {
    log_.Error(FormatText(L"Unable to find the folder for the cluster readiness report. rc = %ld", {rc}));
    return {};
  }
  for (const wchar_t* level : kReportsFolders) {
    if (*level != L'\0') folder += std::wstring(L"\\") + level;
    rc = platform_.files.CreateFolder(folder);
    if (rc != status::Success && rc != status::AlreadyExists) {
      log_.Error(FormatText(L"Unable to save the cluster readiness report in %s. rc = %ld", {folder, rc}));
      return {};
    }
  }

  const LocalDateTime now = platform_.machine.LocalTime();
  ReportInput input;
  input.run = {now,
               LocalComputerName(),
               ProgramVersion(),
               ProgramEdition(),
               step == 3 ? 2 : 1,
               step};
  input.entries = *this;
  input.node1 = Node1Info;
  input.node2 = Node2Info;
  // The checks run only once the step's own comparison has passed.
  input.validationPassed = true;
  input.findings = findings;

  const std::wstring base = folder + L"\\" + ReportFileBaseName(input.run.time);
  for (const auto& [path, bytes] : {std::pair{base + L".json", ReportJson(input)},
                                     std::pair{base + L".html", ReportHtml(input)}}) {
    FileWriteStep failedStep = FileWriteStep::Open;
    rc = platform_.files.ReplaceWholeFile(path, bytes, &failedStep);
    if (rc != status::Success) {
      // A report is for later reading: its loss is logged and never stops the step.
      log_.Error(FormatText(L"Unable to save the cluster readiness report %s. rc = %ld", {path, rc}));
      return {};
    }
  }
  log_.Info(FormatText(L"Cluster readiness report saved to %s.html.", {base}));
  return base + L".html";
}
