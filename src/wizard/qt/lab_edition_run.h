// One run of the lab edition on a loaded lab: its install log, its platform and its window, wired as the program runs
// them.
#pragma once

#include <iostream>

#include "app/setuplogkit_log.h"
#include "app/wizard_app.h"
#include "platform/lab/lab.h"
#include "setuplogkit/setuplogkit_loader.h"
#include "wizard/qt/qt_wizard_window.h"

// Shared by the program and its start-up benchmark, so that the benchmark measures exactly what the program does.
struct LabEditionRun {
  explicit LabEditionRun(Lab& lab)
      : library(lab.InstallLogFile().string()),
        log(library.WriteFunction(), library.Problem(), DefaultFallbackLogFile(), std::cerr),
        platform(lab.MakePlatform()),
        window(platform, log) {}

  // The banners around the window's modal run.
  void Run() {
    WizardApp(log).InitInstance([this] { window.RunModal(); });
  }

  SetupLogKitLibrary library;
  SetupLogKitLog log;
  Platform platform;
  QtWizardWindow window;
};
