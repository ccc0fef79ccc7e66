// What both Step 2 and Step 3 report about the servers' services, and how a report is shown.
#include "app/install_log.h"
#include "common/text_format.h"
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_view.h"

namespace {
bool AllServicesRunning(const cNode& node) {
  for (const std::wstring* state : {&node.AgentServiceStatus, &node.BackboneServiceStatus, &node.MirrorServiceStatus,
                                    &node.TransportServiceStatus}) {
    if (*state != L"Running") return false;
  }
  return true;
}
}  // namespace

std::wstring WizardDialog::ServicesNotRunningReport() const {
  // The servers are named by their entries, as the user typed them.
  constexpr wchar_t kNotRunning[] = L"At least one of the EMC services on server %s is not running.\r\n";
  std::wstring report;
  if (!AllServicesRunning(Node1Info)) report += FormatText(kNotRunning, {Node1HostName});
  if (!AllServicesRunning(Node2Info)) report += FormatText(kNotRunning, {Node2HostName});
  return report;
}

void WizardDialog::ShowValidationReport(const std::wstring& report) {
  constexpr wchar_t kReportCaption[] = L"Validation Errors Detected.";
  view_.ShowMessage(report, kReportCaption);
  log_.Error(kReportCaption);
  log_.Error(report);
}

void WizardDialog::ReportFailure(const std::wstring& message) {
  log_.Error(message);
  view_.ShowMessage(message, L"");
}
