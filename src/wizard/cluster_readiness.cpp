// The cluster readiness checks as Steps 2 and 3 run them: the one readiness run, then a box for what the user must
// weigh before going on.
#include "validation/readiness_box.h"
#include "wizard/readiness_run.h"
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_view.h"

bool WizardDialog::CheckClusterReadiness(int step, const std::wstring& question) {
  // The checks run only once the step's own comparison has passed; the probes go off the window's thread.
  ReadinessRequest request;
  request.step = step;
  request.validationLines = validationLines_;
  request.offWindowThread = [this](const auto& work) { return remoteCalls_.WhilePumping(work); };
  const ReadinessOutcome outcome = RunReadiness(platform_, log_, *this, Node1Info, Node2Info, request);
  const std::vector<Finding>& findings = outcome.findings;
  const SavedReport& saved = lastSavedReport_ = outcome.report;
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
