// The wizard's logic on a lab, observed through recording doubles.
#pragma once

#include <memory>

#include "support/recording_view.h"
#include "support/temp_lab.h"
#include "wizard/wizard_dialog.h"

struct WizardOnLab {
  explicit WizardOnLab(const TempLab& tempLab)
      : lab(LoadOrFail(tempLab)), platform(lab->MakePlatform()), dialog(platform, log, view, ownerlessBox) {}

  static std::unique_ptr<Lab> LoadOrFail(const TempLab& tempLab);

  std::unique_ptr<Lab> lab;
  RecordingView view;
  RecordingLog log;
  RecordingOwnerlessBox ownerlessBox;
  Platform platform;
  WizardDialog dialog;
};
