// The wizard's logic on a lab, observed through recording doubles.
#pragma once

#include <memory>

#include "support/recording_view.h"
#include "platform/lab/lab_machine.h"
#include "support/temp_lab.h"
#include "wizard/wizard_dialog.h"

// The moment every test lab's clock shows.
inline constexpr LocalDateTime kTestLocalTime{2026, 12, 8, 10, 15, 0};
// Where a run on a test lab saves its readiness report (the HTML; the JSON beside it).
inline constexpr wchar_t kTestReportPath[] = L"C:\\ProgramData\\Zandor\\Reports\\readiness-20261208-101500.html";

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
