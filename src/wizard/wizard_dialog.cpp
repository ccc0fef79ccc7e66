// The wizard window's logic: opening, stage and buttons, and the handlers of its buttons.
#include "wizard/wizard_dialog.h"

#include "app/install_log.h"
#include "platform/platform.h"
#include "resource.h"
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
  if (WizardStage == 1) CollectNodeInformation();
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

Status WizardDialog::CollectNodeInformation() {
  // The entry rules and the gathering of both servers come with the validation layer.
  return status::InvalidData;
}

void WizardDialog::OnStep1() {
  if (CollectNodeInformation() == status::Success) view_.EnableButton(IDC_STEP2, true);
}

void WizardDialog::OnStep2() {}

void WizardDialog::OnStep3() {}

void WizardDialog::OnReset() {}

void WizardDialog::OnExit() {
  if (!view_.AskYesNo(L"Are you sure that you want to exit?", L"Confirm Exit Request")) return;
  if (UpdateData(true)) view_.EndModal(kDialogResultOk);
}
