// The wizard window's logic: opening, stage and buttons.
#include "wizard/wizard_dialog.h"

#include "log/install_log.h"
#include "platform/platform.h"
#include "resource.h"
#include "wizard/busy_scope.h"
#include "wizard/handler_guard.h"
#include "wizard/node_info_list.h"
#include "wizard/wizard_view.h"

WizardDialog::WizardDialog(Platform& platform, InstallLog& log, WizardView& view, OwnerlessMessageBox& ownerlessBox)
    : remoteCalls_(platform, [this] { view_.RepaintWhileBusy(); }),
      Node2Info(remoteCalls_.ForGathering(), log, ownerlessBox),
      Node1Info(remoteCalls_.ForGathering(), log, ownerlessBox),
      platform_(platform),
      log_(log),
      view_(view),
      pairReader_(platform, log, ownerlessBox, remoteCalls_) {}

void WizardDialog::OnInitDialog() {
  UpdateData(false);
  Node1HostName = LocalComputerName(platform_.machine);
  // Without the file (a first run) the window opens in stage 1 with the entries as they are.
  static_cast<void>(LoadDefaults());
  EnableButtonsForStage();
  BuildNodeInfoList(view_, WizardStage == kStage2);
  UpdateData(false);
  if (WizardStage == kStage2) {
    const HandlerGuard guard(handlerRunning_);
    // A failed gathering has told the user in its own box; the list stays empty and Step 3 can be pressed.
    static_cast<void>(CollectShowingBusy());
  }
  CheckLocalFeature();
}

void WizardDialog::EnableButtonsForStage() {
  // A stored stage other than 0 or 1 leaves the buttons as the template has them.
  if (WizardStage == kStage1) {
    view_.EnableButton(IDC_STEP1, true);
    view_.EnableButton(IDC_STEP2, false);
    view_.EnableButton(IDC_STEP3, false);
  } else if (WizardStage == kStage2) {
    view_.EnableButton(IDC_STEP1, false);
    view_.EnableButton(IDC_STEP2, false);
    view_.EnableButton(IDC_STEP3, true);
  }
}
