// Step 1's work: the entry rules, then both servers gathered and shown side by side.
#include "app/install_log.h"
#include "common/text_format.h"
#include "validation/entry_rules.h"
#include "wizard/node_info_list.h"
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_view.h"

namespace {
constexpr wchar_t kGatheringFailed[] = L"Errors occured trying to obtain information from server %s.";
}  // namespace

Status WizardDialog::CollectNodeInformation() {
  // A failed read has shown its own prompt; the rules below then judge what was read.
  UpdateData(true);
  log_.Info(L"Validating configuration information entered by the user.");
  if (const std::wstring broken = FirstBrokenEntryRule(*this); !broken.empty()) {
    log_.Info(broken);
    view_.ShowMessage(broken, L"");
    return status::InvalidData;
  }

  struct Target {
    cNode& node;
    const std::wstring& hostName;
  };
  for (const Target& target : {Target{Node1Info, Node1HostName}, Target{Node2Info, Node2HostName}}) {
    target.node.HostName = target.hostName;
    target.node.AutoStartDomain = AutoStartDomain;
    if (target.node.GetNodeInfo() != status::Success) {
      // The list keeps what the last complete collection showed.
      const std::wstring message = FormatText(kGatheringFailed, {target.hostName});
      log_.Error(message);
      view_.ShowMessage(message, L"");
      return status::InvalidData;
    }
  }

  FillNodeInfoList(view_, Node1Info, Node2Info, WizardStage == 1);
  UpdateData(false);
  return status::Success;
}
