// The check at opening that the high-availability feature is installed and enabled on this server.
#include "log/install_log.h"
#include "nodes/high_availability_feature.h"
#include "platform/platform.h"
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_view.h"

namespace {
constexpr wchar_t kNotInstalledBox[] =
    L"The high availability feature is not currently installed on the server. This tool should only be run on "
    L"servers that have the feature installed and enabled.\r\n\r\nPlease click on OK to exit the tool.";
constexpr wchar_t kNotEnabledBox[] =
    L"The high availability feature is installed on the server, but it is not enabled. This tool should only be "
    L"run on servers that have the feature installed and enabled. In order to enable the high availability feature "
    L"you need to run the Configuration Wizard and select the \"High Availability Mode\" option on the Network "
    L"Interface Card page.\r\n\r\nPlease click on OK to exit the tool.";
}  // namespace

void WizardDialog::CheckLocalFeature() {
  HaFeature feature = HaFeature::Unknown;
  if (ReadHaFeature(platform_.registry, platform_.registry.LocalMachine(), log_, &feature) != status::Success) return;
  switch (feature) {
    case HaFeature::NotInstalled:
      view_.ShowMessage(kNotInstalledBox, L"");
      log_.Info(L"The high availability feature is not currently installed on the server");
      view_.EndModal(kDialogResultOk);
      break;
    case HaFeature::NotEnabled:
      view_.ShowMessage(kNotEnabledBox, L"");
      log_.Info(L"High availability feature installed but not enabled.");
      view_.EndModal(kDialogResultOk);
      break;
    case HaFeature::Enabled: log_.Info(L"High availability feature installed and enabled."); break;
    case HaFeature::Unknown: break;
  }
}
