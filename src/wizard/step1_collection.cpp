// Step 1: the entry rules, then both servers gathered and shown side by side.
#include "log/install_log.h"
#include "common/text_format.h"
#include "resource.h"
#include "validation/entry_characters.h"
#include "validation/entry_rules.h"
#include "wizard/busy_scope.h"
#include "wizard/handler_guard.h"
#include "wizard/node_info_list.h"
#include "wizard/node_reader.h"
#include "wizard/wizard_controls.h"
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_view.h"

namespace {
// "occured" is the wording the install log has always carried.
constexpr wchar_t kGatheringFailed[] = L"Errors occured trying to obtain information from server %s.";
}  // namespace

void WizardDialog::OnStep1() {
  const HandlerGuard guard(handlerRunning_);
  if (!guard.Entered()) return;
  // A failed Step 1 changes no button, so it can be run again at once.
  if (CollectShowingBusy() == status::Success) view_.EnableButton(IDC_STEP2, true);
}

Status WizardDialog::CollectShowingBusy() {
  BusyScope busy(view_);
  return CollectNodeInformation();
}

std::wstring WizardDialog::FirstUnstorableEntry() {
  const auto fields = EntryFields();
  for (const WizardControl& control : kWizardControls) {
    for (const auto& [controlId, field] : fields) {
      if (controlId != control.id) continue;
      if (const auto found = FindUnstorableCharacter(*field)) {
        const std::string_view label = ControlLabel(control.id);
        return UnstorableCharacterMessage(std::wstring(label.begin(), label.end()), *found);
      }
    }
  }
  return {};
}

Status WizardDialog::CollectNodeInformation() {
  // A failed read has shown its own prompt; the rules below then judge what was read.
  UpdateData(true);
  log_.Info(L"Validating configuration information entered by the user.");
  // After the sixteen rules, the characters: every entry ends up one a line in a single-byte file.
  std::wstring broken = FirstBrokenEntryRule(*this);
  if (broken.empty()) broken = FirstUnstorableEntry();
  if (!broken.empty()) {
    log_.Info(broken);
    view_.ShowMessage(broken, L"");
    return status::InvalidData;
  }

  const NodesRead read = nodeReader_->ReadNodes({Node1HostName, Node2HostName, AutoStartDomain}, Node1Info, Node2Info);
  if (read.status != status::Success) {
    // The list keeps what the last complete collection showed.
    const std::wstring message = FormatText(kGatheringFailed, {read.failed->HostName});
    log_.Error(message);
    view_.ShowMessage(message, L"");
    return status::InvalidData;
  }

  FillNodeInfoList(view_, Node1Info, Node2Info, WizardStage == kStage2);
  UpdateData(false);
  return status::Success;
}
