// The wizard window's logic: opening, stage and buttons, and the handlers of its buttons.
#include "wizard/wizard_dialog.h"

#include "app/install_log.h"
#include "platform/platform.h"
#include "resource.h"
#include "wizard/busy_scope.h"
#include "wizard/handler_guard.h"
#include "wizard/node_info_list.h"
#include "wizard/wizard_view.h"

WizardDialog::WizardDialog(Platform& platform, InstallLog& log, WizardView& view)
    : Node2Info(platform, log), Node1Info(platform, log), platform_(platform), log_(log), view_(view) {}

void WizardDialog::OnInitDialog() {
  UpdateData(false);
  Node1HostName = LocalComputerName();
  LoadDefaults();
  EnableButtonsForStage();
  BuildNodeInfoList(view_, WizardStage == 1);
  UpdateData(false);
  if (WizardStage == 1) {
    const HandlerGuard guard(handlerRunning_);
    CollectShowingBusy();
  }
  CheckLocalFeature();
}

void WizardDialog::EnableButtonsForStage() {
  // A stored stage other than 0 or 1 leaves the buttons as the template has them.
  if (WizardStage == 0) {
    view_.EnableButton(IDC_STEP1, true);
    view_.EnableButton(IDC_STEP2, false);
    view_.EnableButton(IDC_STEP3, false);
  } else if (WizardStage == 1) {
    view_.EnableButton(IDC_STEP1, false);
    view_.EnableButton(IDC_STEP2, false);
    view_.EnableButton(IDC_STEP3, true);
  }
}

std::wstring WizardDialog::LocalComputerName() {
  std::wstring name;
  if (platform_.machine.QueryComputerName(&name) != status::Success) return {};
  if (name.size() > 255) name.resize(255);
  return name;
}

Status WizardDialog::CollectShowingBusy() {
  BusyScope busy(view_);
  return CollectNodeInformation();
}

void WizardDialog::OnStep1() {
  const HandlerGuard guard(handlerRunning_);
  if (!guard.Entered()) return;
  // A failed Step 1 changes no button, so it can be run again at once.
  if (CollectShowingBusy() == status::Success) view_.EnableButton(IDC_STEP2, true);
}

void WizardDialog::OnStep2() {
  const HandlerGuard guard(handlerRunning_);
  if (!guard.Entered()) return;
  if (ValidateNodeInformation() != status::Success) return;
  // The file records stage 2 for the next run; this window itself stays in stage 1.
  WizardStage = 1;
  if (SaveDefaults() == status::Success) {
    view_.ShowMessage(
        L"No problems have been found.\r\n\r\nYou must now exit the wizard and continue with the "
        L"installation/upgrade process.",
        L"Stage 1 Complete");
  }
  WizardStage = 0;
}

void WizardDialog::OnStep3() {
  const HandlerGuard guard(handlerRunning_);
  if (!guard.Entered()) return;
  const BusyScope busy(view_);
  GenerateDefinition();
}
