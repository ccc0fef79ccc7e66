// The program's start and end: the banners that bracket every run of the wizard window.
#include "log/wizard_app.h"

#include <string>

#include "log/install_log.h"

bool WizardApp::InitInstance(const std::function<void()>& runWizardModally) {
  const std::wstring separator(70, L'=');
  log_.Info(separator);
  log_.Info(L"Duplex Setup Wizard Launched");
  runWizardModally();
  log_.Info(L"Exiting the Duplex Setup Wizard");
  log_.Info(separator);
  return false;
}
