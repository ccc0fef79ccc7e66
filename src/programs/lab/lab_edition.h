// The lab edition's run: the lab (DUPLEX_SETUP_LAB's, or the per-user copy of the bundled demo) and the install log,
// made once and handed to the window or to the command line.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "log/setuplogkit_log.h"
#include "platform/platform.h"
#include "setuplogkit/setuplogkit_loader.h"

class Lab;
class QtWizardWindow;

class LabEdition {
 public:
  LabEdition();
  ~LabEdition();
  LabEdition(const LabEdition&) = delete;
  LabEdition& operator=(const LabEdition&) = delete;

  // Null when no lab could be prepared or loaded; Problem() then says why.
  Platform* platform() { return platform_ ? &*platform_ : nullptr; }
  const std::string& Problem() const { return problem_; }
  InstallLog& log() { return log_; }

  // Runs the command `words` name (no window, and no window system needed); returns its exit code.
  int RunCommandLine(const std::vector<std::wstring>& words);
  // Runs the wizard window modally between the log's banners (a QApplication must exist); `watch`, when given, sees
  // the window before it opens. Without a lab, says why in a box and returns 1.
  int RunWindow(const std::function<void(QtWizardWindow&)>& watch = nullptr);

 private:
  std::string problem_;
  std::unique_ptr<Lab> lab_;
  std::optional<Platform> platform_;
  SetupLogKitLibrary library_;
  SetupLogKitLog log_;
};
