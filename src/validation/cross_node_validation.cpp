// Step 2's work: the two gathered servers compared, every finding reported in one box.
#include "app/install_log.h"
#include "common/text_format.h"
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_view.h"

namespace {
constexpr wchar_t kRunning[] = L"Running";
constexpr wchar_t kReportCaption[] = L"Validation Errors Detected.";

bool AllServicesRunning(const cNode& node) {
  for (const std::wstring* state : {&node.AgentServiceStatus, &node.BackboneServiceStatus, &node.MirrorServiceStatus,
                                    &node.TransportServiceStatus}) {
    if (*state != kRunning) return false;
  }
  return true;
}
}  // namespace

Status WizardDialog::ValidateNodeInformation() {
  std::wstring report;
  // Whatever the read reports, the comparison goes on: it works on the records, not the entries.
  UpdateData(true);

  // The servers are named as their records were gathered; the service lines use the entries.
  if (Node1Info.SwitchIpAddress != Node2Info.SwitchIpAddress) {
    report += FormatText(L"The switch IP addresses do not match. %s = %s, %s = %s\r\n",
                         {Node1Info.HostName, Node1Info.SwitchIpAddress, Node2Info.HostName, Node2Info.SwitchIpAddress});
  }
  if (Node1Info.Clan.Domain != Node2Info.Clan.Domain) {
    report += FormatText(L"The CLAN domains do not match. %s = %s, %s = %s\r\n",
                         {Node1Info.HostName, Node1Info.Clan.Domain, Node2Info.HostName, Node2Info.Clan.Domain});
  }
  if (WizardStage == 1) {
    constexpr wchar_t kNotRunning[] = L"At least one of the EMC services on server %s is not running.\r\n";
    if (!AllServicesRunning(Node1Info)) report += FormatText(kNotRunning, {Node1HostName});
    if (!AllServicesRunning(Node2Info)) report += FormatText(kNotRunning, {Node2HostName});
  }

  if (report.empty()) {
    log_.Info(L"No validation errors detected.");
    return status::Success;
  }
  view_.ShowMessage(report, kReportCaption);
  log_.Error(kReportCaption);
  log_.Error(report);
  return status::InvalidData;
}
