// Step 2: the two gathered servers compared, and the answers saved when they agree.
#include "log/install_log.h"
#include "validation/cross_node_report.h"
#include "validation/readiness_box.h"
#include "wizard/handler_guard.h"
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_view.h"

void WizardDialog::OnStep2() {
  const HandlerGuard guard(handlerRunning_);
  if (!guard.Entered()) return;
  if (ValidateNodeInformation() != status::Success) return;
  if (!CheckClusterReadiness(2, kSaveAnswersAnyway)) return;
  // The file records stage 2 for the next run; this window itself stays in stage 1.
  WizardStage = kStage2;
  if (SaveDefaults() == status::Success) {
    view_.ShowMessage(
        L"No problems have been found.\r\n\r\nYou must now exit the wizard and continue with the "
        L"installation/upgrade process.",
        L"Stage 1 Complete");
  }
  WizardStage = kStage1;
}

Status WizardDialog::ValidateNodeInformation() {
  // Whatever the read reports, the comparison goes on: it works on the records, not the entries.
  UpdateData(true);
  validationLines_ = CrossNodeReportLines(*this, Node1Info, Node2Info);
  if (validationLines_.empty()) {
    log_.Info(L"No validation errors detected.");
    return status::Success;
  }
  ShowValidationReport(JoinReportLines(validationLines_));
  return status::InvalidData;
}
