// The check at opening that the high-availability feature is installed and enabled on this server.
#include <cstdint>

#include "app/install_log.h"
#include "common/text_format.h"
#include "nodes/registry_number.h"
#include "nodes/registry_paths.h"
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
  Registry& registry = platform_.registry;
  RegKey key(registry);
  Status rc = registry.OpenKey(registry.LocalMachine(), kProductKey, key.Receive());
  if (rc != status::Success) {
    log_.Error(FormatText(L"RegOpenKeyEx(%s) failed. rc = %ld", {kProductKey, rc}));
    return;
  }
  std::uint32_t mode = 0;
  rc = QueryRegistryNumber(registry, key.get(), kHighAvailModeValue, &mode);
  key.Close();
  if (rc == status::FileNotFound) {
    view_.ShowMessage(kNotInstalledBox, L"");
    log_.Info(L"The high availability feature is not currently installed on the server");
    view_.EndModal(kDialogResultOk);
    return;
  }
  if (rc != status::Success) {
    log_.Error(FormatText(L"RegQueryValueEx(%s) failed. rc = %ld", {kHighAvailModeValue, rc}));
    return;
  }
  if (mode == 0) {
    view_.ShowMessage(kNotEnabledBox, L"");
    log_.Info(L"High availability feature installed but not enabled.");
    view_.EndModal(kDialogResultOk);
  } else if (mode == 1) {
    log_.Info(L"High availability feature installed and enabled.");
  }
}
