// Step 2's work: the two gathered servers compared, every finding reported in one box.
#include "app/install_log.h"
#include "common/text_format.h"
#include "wizard/wizard_dialog.h"

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
  if (WizardStage == 1) report += ServicesNotRunningReport();

  if (report.empty()) {
    log_.Info(L"No validation errors detected.");
    return status::Success;
  }
  ShowValidationReport(report);
  return status::InvalidData;
}
