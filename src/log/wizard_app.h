// The program's start and end: the banners that bracket every run of the wizard window.
#pragma once

#include <functional>

class InstallLog;

class WizardApp {
 public:
  explicit WizardApp(InstallLog& log) : log_(log) {}

  // Writes the opening banners, runs the window modally (its result is not examined),
  // writes the closing banners. Returns false, so that no message loop follows.
  bool InitInstance(const std::function<void()>& runWizardModally);

 private:
  InstallLog& log_;
};
